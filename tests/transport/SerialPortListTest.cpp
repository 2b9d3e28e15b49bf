// The serial ports offered in the connection dialog.

#include <gtest/gtest.h>

#include "transport/SerialPortList.h"

namespace orvane {
namespace {

TEST(SerialPortList, TheFirstUsbAdapterIsPreselected) {
  const SerialPortList list({{"/dev/ttyS0", "ttyS0", false},
                             {"/dev/ttyUSB0", "FT232R USB UART", true},
                             {"/dev/ttyUSB1", "CP2102 USB to UART", true}});
  EXPECT_EQ(list.preselected(), "/dev/ttyUSB0");
  EXPECT_EQ(list.names(), (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1"}));
}

TEST(SerialPortList, WithoutUsbTheFirstPortIsPreselected) {
  const SerialPortList list({{"/dev/ttyS1", "ttyS1", false}, {"/dev/ttyS0", "ttyS0", false}});
  EXPECT_EQ(list.preselected(), "/dev/ttyS1");
}

TEST(SerialPortList, WithoutPortsTheBoxOffersNull) {
  const SerialPortList list;
  EXPECT_EQ(list.preselected(), "NULL");
  EXPECT_EQ(list.names(), std::vector<std::string>{"NULL"});
}

TEST(SerialPortList, NamelessEntriesAreLeftOutAndSilentOnesDescribedByName) {
  const SerialPortList list({{"", "ghost", true}, {"/dev/ttyACM0", "", false}});
  ASSERT_EQ(list.entries().size(), 1u);
  EXPECT_EQ(list.entries()[0], (SerialPortEntry{"/dev/ttyACM0", "/dev/ttyACM0", false}));
  // The nameless USB entry must not win the preselection.
  EXPECT_EQ(list.preselected(), "/dev/ttyACM0");
}

TEST(SerialPortList, TheMachinesPortsHaveNames) {
  const SerialPortList list = SerialPortList::enumerate();
  for (const SerialPortEntry& entry : list.entries()) {
    EXPECT_FALSE(entry.name.empty());
    EXPECT_FALSE(entry.description.empty());
  }
  if (list.entries().empty()) {
    EXPECT_EQ(list.preselected(), "NULL");
  }
}

}  // namespace
}  // namespace orvane
