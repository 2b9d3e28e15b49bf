// The simulator's RS-485 bus, spoken to directly over its pseudo-terminal.

#include <gtest/gtest.h>

#include "sim/SerialBusServer.h"
#include "transport/SerialTestPeer.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::kProbe3;
using test::SerialTestLine;

// The same read of device 17.
const Bytes kProbe17{
    0x5A, 0x5A, 0x5A, 0x88,              // sync, start
    0xA2,                                // cmd: read
    0x01,                                // link: serial
    0x00,                                // nonce
    0x11,                                // device ID 17
    0x00,                                // value
    0x03,                                // block: system item
    0x15,                                // item 21: device ID
    0x00, 0x00,                          // row, reserved
    0x08,                                // length 8
    0,    0,    0,    0,    0, 0, 0, 0,  // payload
    0xAC,                                // checksum: A2^01^11^03^15^08
    0xAA,                                // end
};

// The same read of device 4, which is not on the bus.
const Bytes kProbe4{
    0x5A, 0x5A, 0x5A, 0x88,              // sync, start
    0xA2,                                // cmd: read
    0x01,                                // link: serial
    0x00,                                // nonce
    0x04,                                // device ID 4
    0x00,                                // value
    0x03,                                // block: system item
    0x15,                                // item 21: device ID
    0x00, 0x00,                          // row, reserved
    0x08,                                // length 8
    0,    0,    0,    0,    0, 0, 0, 0,  // payload
    0xB9,                                // checksum: A2^01^04^03^15^08
    0xAA,                                // end
};

// The answer of device `id` to a read of its ID: the ID in byte 7 and as
// the one payload byte.
void expectIdAnswer(const std::optional<Bytes>& reply, std::uint8_t id) {
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->size(), 17u);
  EXPECT_EQ((*reply)[4], 0x53);  // data reply
  EXPECT_EQ((*reply)[5], 0x01);  // serial link, echoed
  EXPECT_EQ((*reply)[7], id);
  EXPECT_EQ((*reply)[10], 0x15);  // item 21
  EXPECT_EQ((*reply)[13], 0x01);  // length 1
  EXPECT_EQ((*reply)[14], id);
}

struct Bus {
  Bus() {
    three.setDeviceId(3);
    seventeen.setDeviceId(17);
    server.addDevice(threeResponder);
    server.addDevice(seventeenResponder);
  }
  DeviceState three, seventeen;
  DeviceResponder threeResponder{three}, seventeenResponder{seventeen};
  SerialBusServer server;
};

TEST(SerialBusServer, EachRequestIsAnsweredByTheDeviceItAddresses) {
  Bus bus;
  SerialTestLine line(bus.server.devicePath());
  line.write(kProbe17);
  expectIdAnswer(line.readFrame(), 17);
  line.write(kProbe3);
  expectIdAnswer(line.readFrame(), 3);
}

TEST(SerialBusServer, ARequestForAnAbsentDeviceGoesUnanswered) {
  Bus bus;
  SerialTestLine line(bus.server.devicePath());
  line.write(kProbe4);
  line.write(kProbe3);
  // The first answer on the line is device 3's.
  expectIdAnswer(line.readFrame(), 3);
  EXPECT_FALSE(line.readFrame(200ms));
}

TEST(SerialBusServer, NoiseBetweenFramesIsIgnored) {
  Bus bus;
  SerialTestLine line(bus.server.devicePath());
  const Bytes noise{0x00, 0xFF, 0x5A, 0x11, 0x5A, 0x5A, 0x88, 0x13};
  Bytes heard = noise;
  heard.insert(heard.end(), kProbe3.begin(), kProbe3.end());
  heard.insert(heard.end(), noise.begin(), noise.end());
  heard.insert(heard.end(), kProbe17.begin(), kProbe17.end());
  line.write(heard);
  expectIdAnswer(line.readFrame(), 3);
  expectIdAnswer(line.readFrame(), 17);
}

TEST(SerialBusServer, AFalseStartDoesNotSwallowTheRequestBehindIt) {
  Bus bus;
  SerialTestLine line(bus.server.devicePath());
  // Claims 200 payload bytes that never come.
  const Bytes falseStart{0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x01, 0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0xC8};
  Bytes heard = falseStart;
  heard.insert(heard.end(), kProbe17.begin(), kProbe17.end());
  line.write(heard);
  expectIdAnswer(line.readFrame(), 17);
}

TEST(SerialBusServer, TheBusStaysUpBetweenEditorSessions) {
  Bus bus;
  {
    SerialTestLine first(bus.server.devicePath());
    first.write(kProbe3);
    expectIdAnswer(first.readFrame(), 3);
  }
  SerialTestLine second(bus.server.devicePath());
  second.write(kProbe17);
  expectIdAnswer(second.readFrame(), 17);
}

TEST(SerialBusServer, StoppingTheBusHangsUpTheEditorsEnd) {
  Bus bus;
  SerialTestLine line(bus.server.devicePath());
  EXPECT_FALSE(line.hungUp());
  bus.server.stop();
  bus.server.stop();
  EXPECT_TRUE(line.hungUp());
}

}  // namespace
}  // namespace orvane
