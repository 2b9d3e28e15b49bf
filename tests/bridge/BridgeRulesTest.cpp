// The bridge's own rules: its command line, whom it lets in, which of the
// device's replies it passes on, and how it logs the clients it refuses.

#include <gtest/gtest.h>

#include "bridge/BridgeOptions.h"
#include "bridge/LogLines.h"
#include "bridge/RefusalLog.h"
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
      {{"--usb", "--serial", "ttyUSB0:1"}, "name one device: --usb or one --serial PORT:ID"},
      {{"--serial", "ttyUSB0:1", "--usb"}, "not '--usb' as well"},
      {{"--serial", "ttyUSB0:1", "--serial", "ttyUSB1:2"}, "not '--serial' as well"},
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
  // A port named without its folder is the one in /dev.
  for (const char* port : {"ttyUSB0:7", "/dev/ttyUSB0:7"}) {
    const auto named = std::get<BridgeOptions>(BridgeOptions::parse({"--serial", port}));
    EXPECT_EQ(named.device.address, "/dev/ttyUSB0") << port;
    EXPECT_EQ(named.device.deviceId, 7);
  }
  const auto options = std::get<BridgeOptions>(BridgeOptions::parse({"--serial", "ttyUSB0:7"}));
  EXPECT_EQ(options.listen.host, "127.0.0.1");  // loopback unless told otherwise
  EXPECT_EQ(options.listen.port, 8899);
  EXPECT_TRUE(std::holds_alternative<BridgeOptions::Help>(BridgeOptions::parse({"--usb", "--help"})));
  EXPECT_NE(BridgeOptions::usage().find("A device serves one link at a time"), std::string::npos);
}

TEST(BridgeOptions, AllowListMatchesAddressesAndNetworks) {
  AllowList list;
  for (const char* rule : {"127.0.2.7", "127.51.100.0/24", "127.128.0.0/9"})
    list.add(*AllowList::parseRule(rule));
  const auto address = [](const char* text) {
    in_addr parsed{};
    sockets::parseIpv4(text, parsed);
    return parsed;
  };
  const auto permits = [&](const char* text) { return list.permits(address(text)); };
  EXPECT_TRUE(permits("127.0.2.7"));
  EXPECT_FALSE(permits("127.0.2.8"));
  EXPECT_TRUE(permits("127.51.100.255"));
  EXPECT_FALSE(permits("127.51.101.1"));
  EXPECT_TRUE(permits("127.200.3.4"));
  EXPECT_FALSE(permits("127.0.0.1"));
  EXPECT_TRUE(AllowList{}.permits(in_addr{}));  // no rules: everyone
  AllowList all;
  all.add(*AllowList::parseRule("127.0.0.1/0"));
  EXPECT_TRUE(all.permits(address("127.0.0.1")));
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

// Refusals from a few addresses over three minutes, with a table of two
// addresses: after each step, the lines the log gained and when the next
// count is due.
TEST(RefusalLog, RefusalsAreCountedPerAddressAndWindowInABoundedTable) {
  using namespace std::chrono_literals;
  struct Step {
    int at;            // ms
    const char* from;  // nullptr: only time passes
    const char* reason;
    std::vector<std::string> lines;  // what each new line contains
    int nextFlush;                   // ms; -1: nothing is counted
  };
  const Step steps[] = {
      {0, "127.0.0.2", "busy", {"client 127.0.0.2:4000 refused: busy"}, 60000},
      {1000, "127.0.0.2", "busy", {}, 60000},
      {2000, "127.0.0.2", "not allowed", {}, 60000},
      {3000, "127.0.0.1", "busy", {"client 127.0.0.1:4000 refused: busy"}, 60000},
      {59999, nullptr, "", {}, 60000},
      {60000,
       nullptr,
       "",
       {"refused 2 connections from 127.0.0.2 in the last 60 s (the last because not allowed)"},
       63000},
      {61000, "127.0.0.2", "busy", {}, 63000},
      // A window without refusals forgets its address: the next is logged.
      {63000, nullptr, "", {}, 120000},
      {63001, "127.0.0.1", "busy", {"client 127.0.0.1:4000 refused: busy"}, 120000},
      // The table is full: the other addresses share one count.
      {64000, "127.0.0.3", "busy", {"client 127.0.0.3:4000 refused: busy"}, 120000},
      {64001, "127.0.0.4", "busy", {}, 120000},
      {64002, "127.0.0.3", "not allowed", {}, 120000},
      {120000,
       nullptr,
       "",
       {"refused 1 connection from 127.0.0.2 in the last 60 s (the last because busy)"},
       123001},
      {123001, nullptr, "", {}, 124000},
      {124000,
       nullptr,
       "",
       {"refused 2 connections from other addresses in the last 60 s (the last because not allowed)"},
       180000},
      {180000, nullptr, "", {}, 184000},
      {184000, nullptr, "", {}, -1},
      {190000, "127.0.0.4", "busy", {"client 127.0.0.4:4000 refused: busy"}, 250000},
  };
  test::LogLines written;
  RefusalLog log(written.log(), 60s, 2);
  const auto start = RefusalLog::Clock::now();
  for (const Step& step : steps) {
    const auto now = start + std::chrono::milliseconds(step.at);
    if (step.from) {
      sockaddr_in peer{};
      peer.sin_family = AF_INET;
      peer.sin_port = htons(4000);
      sockets::parseIpv4(step.from, peer.sin_addr);
      log.refused(peer, step.reason, now);
    }
    log.flush(now);
    const std::vector<std::string> lines = written.lines();
    ASSERT_EQ(lines.size(), step.lines.size()) << "at " << step.at << ":\n" << written.seen();
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_NE(lines[i].find(step.lines[i]), std::string::npos) << lines[i];
    EXPECT_EQ(log.nextFlush(), step.nextFlush < 0 ? RefusalLog::Clock::time_point::max()
                                                  : start + std::chrono::milliseconds(step.nextFlush))
        << "at " << step.at;
  }

  // Counts still open when the bridge stops are written, not lost; an
  // address with nothing counted writes nothing.
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  for (int i = 0; i < 3; ++i) log.refused(peer, "busy", start + 200s);
  log.flushAll();
  const std::vector<std::string> last = written.lines();
  ASSERT_EQ(last.size(), 2u) << written.seen();
  EXPECT_NE(last[1].find("refused 2 connections from 127.0.0.1"), std::string::npos) << last[1];
  EXPECT_EQ(log.nextFlush(), RefusalLog::Clock::time_point::max());
}

}  // namespace
}  // namespace orvane
