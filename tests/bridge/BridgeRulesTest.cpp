// The bridge's own rules: its command line, whom it lets in, and which of
// the device's replies it passes on.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "bridge/BridgeOptions.h"
#include "bridge/ReplyRelay.h"
#include "protocol/SystemItem.h"

namespace orvane {
namespace {

TEST(BridgeOptions, CommandLines) {
  struct Case {
    std::vector<std::string> args;
    const char* error;  // nullptr: accepted
  };
  const Case cases[] = {
      {{"--usb"}, nullptr},
      {{"--serial", "ttyUSB0:7", "--listen", "127.0.0.1:9000", "--allow", "127.1.0.0/16"}, nullptr},
      {{"--serial", "/dev/ttyS0:250", "--listen", "127.0.0.1:0"}, nullptr},
      {{}, "name the device"},
      {{"--serial", "ttyUSB0:251"}, "'ttyUSB0:251' is not PORT:ID"},
      {{"--serial", "ttyUSB0"}, "'ttyUSB0' is not PORT:ID"},
      {{"--usb", "--listen", "localhost"}, "'localhost' is not an IPv4 address"},
      {{"--usb", "--listen", "127.0.0.1:70000"}, "'127.0.0.1:70000'"},
      {{"--usb", "--allow", "127.0.0.0/33"}, "'127.0.0.0/33' is not an IPv4 address or ADDR/BITS"},
      {{"--usb", "--allow"}, "'--allow' needs a value"},
      {{"--usb", "--verbose"}, "unknown option '--verbose'"},
  };
  for (const Case& c : cases) {
    const BridgeOptions::Parsed parsed = BridgeOptions::parse(c.args);
    if (!c.error) {
      EXPECT_TRUE(std::holds_alternative<BridgeOptions>(parsed)) << c.args.size();
      continue;
    }
    const auto* error = std::get_if<BridgeOptions::Error>(&parsed);
    ASSERT_NE(error, nullptr) << c.error;
    EXPECT_NE(error->message.find(c.error), std::string::npos) << error->message;
  }
  const auto options = std::get<BridgeOptions>(BridgeOptions::parse({"--serial", "ttyUSB0:7"}));
  EXPECT_EQ(options.device.address, "ttyUSB0");
  EXPECT_EQ(options.device.deviceId, 7);
  EXPECT_EQ(options.listen.host, "127.0.0.1");  // loopback unless told otherwise
  EXPECT_EQ(options.listen.port, 8899);
  EXPECT_TRUE(std::holds_alternative<BridgeOptions::Help>(BridgeOptions::parse({"--usb", "--help"})));
}

TEST(BridgeOptions, AllowListMatchesAddressesAndNetworks) {
  AllowList list;
  for (const char* rule : {"127.0.2.7", "127.51.100.0/24", "127.128.0.0/9"})
    list.add(*AllowList::parseRule(rule));
  const auto permits = [&](const char* text) {
    in_addr address{};
    ::inet_pton(AF_INET, text, &address);
    return list.permits(address);
  };
  EXPECT_TRUE(permits("127.0.2.7"));
  EXPECT_FALSE(permits("127.0.2.8"));
  EXPECT_TRUE(permits("127.51.100.255"));
  EXPECT_FALSE(permits("127.51.101.1"));
  EXPECT_TRUE(permits("127.200.3.4"));
  EXPECT_FALSE(permits("127.0.0.1"));
  EXPECT_TRUE(AllowList{}.permits(in_addr{}));  // no rules: everyone
  AllowList all;
  all.add(*AllowList::parseRule("127.0.0.1/0"));
  EXPECT_TRUE(all.permits(in_addr{htonl(0x7F000001)}));
}

SendData replyTo(std::uint8_t item, std::uint8_t payload, bool goodChecksum) {
  SendData reply;
  reply.set(FrameOffset::Cmd, static_cast<std::uint8_t>(FrameCode::ReplyData));
  reply.set(FrameOffset::Block, BlockCode::System);
  reply.set(FrameOffset::Item, item);
  reply.set(FrameOffset::Length, 1);
  reply.payload()[0] = payload;
  reply.checksum = static_cast<std::uint8_t>(reply.computeChecksum() ^ (goodChecksum ? 0 : 0x40));
  return reply;
}

// Only a sound reply is passed on, as it came — except the connection
// check's answer, which the editor takes even with a wrong checksum.
TEST(ReplyRelay, PassesSoundRepliesAndTheCheckAnswerAsTheyCame) {
  struct Case {
    std::uint8_t item;
    bool goodChecksum;
    std::uint8_t endByte;
    bool passed;
  };
  const Case cases[] = {
      {SystemItem::Levels, true, kEndByte, true},       {SystemItem::Levels, false, kEndByte, false},
      {SystemItem::Levels, true, 0x00, false},          {SystemItem::ConnectionCheck, false, kEndByte, true},
      {SystemItem::ConnectionCheck, true, 0x00, false},
  };
  for (const Case& c : cases) {
    SendData request = replyTo(c.item, 0, true);
    request.set(FrameOffset::Cmd, static_cast<std::uint8_t>(FrameCode::CmdRead));
    SendData reply = replyTo(c.item, 0, c.goodChecksum);
    reply.endByte = c.endByte;
    ReplyRelay relay;
    EXPECT_EQ(relay.dispatch(reply, request), c.passed) << int{c.item} << c.goodChecksum;
    const auto passed = relay.take();
    ASSERT_EQ(passed.has_value(), c.passed);
    if (!passed) continue;
    ASSERT_EQ(passed->size(), reply.wireSize());
    EXPECT_TRUE(std::equal(passed->begin(), passed->end() - 2, reply.bytes.begin()));
    EXPECT_EQ((*passed)[passed->size() - 2], reply.checksum);
    EXPECT_EQ(passed->back(), kEndByte);
    EXPECT_FALSE(relay.take());  // taken once
  }
}

}  // namespace
}  // namespace orvane
