// The device's settings: the set-up blocks, the start-up program, the
// network name and the camera messages are answered as the device answers
// them, and what was written survives a restart from the state file.

#include <cstdio>

#include "ResponderFixture.h"
#include "sim/DeviceStateFile.h"

namespace orvane {
namespace {

// A system item request on USB with nonce 0, ID 0, value 0 and row 0. The
// checksum is the XOR of cmd .. payload; the frame layout itself is tested
// byte for byte elsewhere.
Bytes systemItem(std::uint8_t cmd, std::uint8_t item, const Bytes& payload) {
  Bytes request = frame(cmd, 2, 0, 0, 0, 3, item, 0, payload, 0);
  std::uint8_t sum = 0;
  for (std::size_t i = 4; i + 2 < request.size(); ++i) sum ^= request[i];
  request[request.size() - 2] = sum;
  return request;
}
Bytes writeItem(std::uint8_t item, const Bytes& payload) {
  return systemItem(0xA1, item, payload);
}
Bytes readItem(std::uint8_t item) {
  return systemItem(0xA2, item, Bytes(8, 0));
}

Bytes counting(std::size_t n, std::uint8_t first) {
  Bytes bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

class SimSettingsTest : public ResponderTest {
 protected:
  void TearDown() override { std::remove(path.c_str()); }
  std::string path = ::testing::TempDir() + "orvane-sim-settings.bin";
};

TEST_F(SimSettingsTest, WrittenSettingsAreReadBackAfterARestart) {
  const Bytes setup = counting(54, 0x10), extended = counting(23, 0x80), name = {'H', 'a', 'l', 'l', '7'};
  const struct {
    std::uint8_t item;
    Bytes written;
    std::uint8_t answer;  // reply code
    Bytes readBack;
  } items[] = {
      {52, setup, 0x53, setup},
      {53, extended, 0x53, extended},
      {24, {17, 0, 0, 0, 0, 0, 0, 0}, 0x53, {17}},
      {51, name, 0x51, name},  // ReplyQ: the rename is done
  };
  for (const auto& item : items) {
    const auto reply = respond(writeItem(item.item, item.written));
    ASSERT_TRUE(reply) << int{item.item};
    EXPECT_EQ((*reply)[4], item.answer) << int{item.item};
    EXPECT_EQ(payloadLength(reply), 0u) << int{item.item};
  }
  const Bytes pelcoStop = {0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01};
  EXPECT_EQ(payloadLength(respond(writeItem(54, pelcoStop))), 0u);  // camera message acknowledged
  EXPECT_EQ(state.read([](const DeviceData& d) { return d.lastCameraMessage; }), pelcoStop);

  const DeviceData saved = state.read([](const DeviceData& d) { return d; });
  ASSERT_FALSE(DeviceStateFile::save(path, saved));
  DeviceData loaded;
  ASSERT_FALSE(DeviceStateFile::load(path, loaded));
  DeviceState restarted;
  restarted.modify([&](DeviceData& d) { d = loaded; });
  DeviceResponder device{restarted, [] { return kNonce; }};
  for (const auto& item : items) {
    const auto reply = device.respond(readItem(item.item));
    ASSERT_TRUE(reply) << int{item.item};
    EXPECT_EQ((*reply)[4], 0x53) << int{item.item};
    EXPECT_EQ(payloadOf(reply), item.readBack) << int{item.item};
  }
}

TEST_F(SimSettingsTest, NetworkFactoryResetRestoresTheFactoryName) {
  const Bytes factory = {'K', 'V', 'S', '7', '3', '0', '4'};
  EXPECT_EQ(payloadOf(respond(readItem(51))), factory) << "a new device has the factory name";
  ASSERT_TRUE(respond(writeItem(51, {'L', 'a', 'b'})));
  EXPECT_EQ(payloadOf(respond(readItem(51))), (Bytes{'L', 'a', 'b'}));
  const auto reset = respond(writeItem(49, Bytes(8, 0)));
  ASSERT_TRUE(reset);
  EXPECT_EQ((*reset)[4], 0x51);  // ReplyQ
  EXPECT_EQ(payloadOf(respond(readItem(51))), factory);
}

}  // namespace
}  // namespace orvane
