// The bridge's server run in this process between a client of the test's
// own on loopback TCP and a device the test plays by hand on a
// pseudo-terminal, with its limits shortened: the exchange, the limits that
// keep one client from holding the device, and the log of refusals.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <thread>

#include "bridge/BridgeServer.h"
#include "bridge/LogLines.h"
#include "protocol/SystemItem.h"
#include "transport/NetTestSockets.h"
#include "transport/SerialTestPeer.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Bytes;

constexpr std::uint8_t kNetwork = static_cast<std::uint8_t>(LinkType::Network);
constexpr std::uint8_t kSerial = static_cast<std::uint8_t>(LinkType::Serial);

Bytes sealed(Bytes frame) {
  std::uint8_t sum = 0;
  for (std::size_t i = FrameOffset::Cmd; i < frame.size() - 2; ++i) sum ^= frame[i];
  frame[frame.size() - 2] = sum;
  return frame;
}

// A read of a system item as an editor with `clientId` sends it over the
// network; `row` tells requests apart.
Bytes request(std::uint8_t row, std::uint8_t clientId = 5, std::uint8_t item = SystemItem::Levels,
              std::uint8_t length = 8) {
  Bytes frame{kSyncByte, kSyncByte, kSyncByte,         kStartByte, 0xA2, kNetwork, 0,
              clientId,  0,         BlockCode::System, item,       row,  0,        length};
  frame.resize(frame.size() + length + 2, 0);
  frame.back() = kEndByte;
  return sealed(frame);
}

// The device's answer to `heard`: its payload filled with `mark`.
Bytes answer(Bytes heard, std::uint8_t mark, bool goodChecksum = true) {
  heard[FrameOffset::Cmd] = static_cast<std::uint8_t>(FrameCode::ReplyData);
  std::fill(heard.begin() + FrameOffset::Payload, heard.end() - 2, mark);
  heard = sealed(heard);
  heard[heard.size() - 2] ^= goodChecksum ? 0 : 0x40;
  return heard;
}

Bytes receiveFrame(const NetSocket& socket, std::chrono::milliseconds within = 5s) {
  Bytes frame = test::receiveExactly(socket, FrameOffset::Payload, within);
  if (frame.size() < FrameOffset::Payload) return frame;
  const Bytes rest = test::receiveExactly(socket, frame[FrameOffset::Length] + 2u, within);
  frame.insert(frame.end(), rest.begin(), rest.end());
  return frame;
}

NetSocket connectFrom(const char* source, int port, bool smallWindow) {
  NetSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (smallWindow) test::shrinkReceiveBuffer(socket);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  ::inet_pton(AF_INET, source, &local.sin_addr);
  const sockaddr_in bridge = test::loopback(port);
  if (::bind(socket.fd(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
      ::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&bridge), sizeof bridge) != 0)
    return NetSocket{};
  return socket;
}

// The bridge serving device 1 on the peer's terminal at a free port of
// 127.0.0.1, on a thread of its own until the test ends.
class ServedBridge {
 public:
  explicit ServedBridge(BridgeServer::Limits limits, const char* allow = nullptr)
      : relay_(ConnectTarget{LinkType::Serial, peer_.path(), 1}, log_.log(), patient()),
        server_(options(allow), relay_, log_.log(), limits) {
    if (server_.listen()) thread_ = std::thread([this] { server_.run(stop_); });
    ready_ = log_.line("device link open").has_value();
  }
  ~ServedBridge() {
    stop_.set();
    if (thread_.joinable()) thread_.join();
  }

  bool ready() const { return ready_; }
  NetSocket connect(const char* from = "127.0.0.1", bool smallWindow = false) {
    return connectFrom(from, server_.port(), smallWindow);
  }
  std::optional<Bytes> heard(std::chrono::milliseconds within = 5s) {
    return peer_.device().readFrame(within);
  }
  void reply(const Bytes& frame) { peer_.device().write(frame); }
  // One exchange of `client`'s: its request reached the device and the
  // answer came back.
  bool serves(const NetSocket& client, std::uint8_t row) {
    const auto got = test::sendAll(client, request(row)) ? heard() : std::nullopt;
    if (!got || (*got)[FrameOffset::Row] != row) return false;
    reply(answer(*got, row));
    const Bytes back = receiveFrame(client);
    return back.size() > FrameOffset::Row && back[FrameOffset::Row] == row;
  }
  test::LogLines& log() { return log_; }

 private:
  static Timings patient() {
    Timings timings;
    timings.serialOther = timings.serialSynced = 1h;  // the test answers when it chooses
    return timings;
  }
  static BridgeOptions options(const char* allow) {
    BridgeOptions options;
    options.listen = {"127.0.0.1", 0};
    if (allow) options.allow.add(*AllowList::parseRule(allow));
    return options;
  }

  test::SerialTestPeer peer_;
  test::LogLines log_;
  DeviceRelay relay_;
  BridgeServer server_;
  Event stop_;
  std::thread thread_;
  bool ready_ = false;
};

BridgeServer::Limits shortLimits() {
  BridgeServer::Limits limits;
  limits.partialFrame = 400ms;
  limits.replySend = 300ms;
  limits.refusalWindow = 1s;
  return limits;
}

// Requests reach the device addressed for its link and the replies come
// back addressed as the client sent its requests, checksum mended alike,
// including the check answer the editor takes with a wrong checksum.
TEST(BridgeServer, ExchangesAreReaddressedBothWays) {
  struct Case {
    std::uint8_t clientId, item, length;
    bool goodChecksum;
  };
  const Case cases[] = {{5, SystemItem::Levels, 8, true},
                        {0, SystemItem::Levels, 255, true},
                        {250, SystemItem::ConnectionCheck, 2, false}};
  ServedBridge bridge(shortLimits());
  ASSERT_TRUE(bridge.ready()) << bridge.log().seen();
  const NetSocket client = bridge.connect();
  for (const Case& c : cases) {
    const Bytes sent = request(3, c.clientId, c.item, c.length);
    Bytes wire = sent;
    wire.push_back(0);  // the editor's zero byte after each frame
    ASSERT_TRUE(test::sendAll(client, wire));
    const auto heard = bridge.heard();
    ASSERT_TRUE(heard) << int{c.clientId};
    Bytes serial = sent;
    serial[FrameOffset::Link] = kSerial;
    serial[FrameOffset::DeviceId] = 1;
    EXPECT_EQ(*heard, sealed(serial));
    bridge.reply(answer(*heard, 0x3C, c.goodChecksum));
    EXPECT_EQ(receiveFrame(client), answer(sent, 0x3C, c.goodChecksum)) << int{c.clientId};
  }
}

// A frame begun and left unfinished is dropped after its limit: its rest,
// sent later, is no frame. Sent in time, the rest completes it.
TEST(BridgeServer, AnUnfinishedFrameIsDroppedAfterItsLimit) {
  ServedBridge bridge(shortLimits());
  ASSERT_TRUE(bridge.ready()) << bridge.log().seen();
  const NetSocket client = bridge.connect();
  for (const auto gap : {20ms, 1200ms, 20ms}) {
    const Bytes sent = request(gap == 20ms ? 1 : 2);
    ASSERT_TRUE(test::sendInPieces(client, sent, {10, sent.size() - 10}, gap));
    const auto heard = bridge.heard(gap == 20ms ? 5000ms : 1000ms);
    EXPECT_EQ(heard.has_value(), gap == 20ms) << gap.count() << " ms";
    if (!heard) continue;
    bridge.reply(answer(*heard, 1));
    EXPECT_EQ(receiveFrame(client).size(), sent.size());
  }
}

// While the device is busy with one request, four more wait and the rest
// are dropped; the ones kept are answered in order.
TEST(BridgeServer, AtMostFourRequestsWaitForTheDevice) {
  ServedBridge bridge(shortLimits());
  ASSERT_TRUE(bridge.ready()) << bridge.log().seen();
  const NetSocket client = bridge.connect();
  ASSERT_TRUE(test::sendAll(client, request(0)));
  auto heard = bridge.heard();
  ASSERT_TRUE(heard);
  Bytes all;
  for (std::uint8_t row = 1; row <= 6; ++row) {
    const Bytes one = request(row);
    all.insert(all.end(), one.begin(), one.end());
  }
  ASSERT_TRUE(test::sendAll(client, all));
  ASSERT_TRUE(bridge.log().line("4 wait for the device already")) << bridge.log().seen();
  ASSERT_TRUE(bridge.log().line("4 wait for the device already")) << bridge.log().seen();
  for (std::uint8_t row = 0; row <= 4; ++row) {
    ASSERT_TRUE(heard) << int{row};
    EXPECT_EQ((*heard)[FrameOffset::Row], row);
    bridge.reply(answer(*heard, row));
    EXPECT_EQ(receiveFrame(client).at(FrameOffset::Row), row);
    heard = bridge.heard(row < 4 ? 5000ms : 1000ms);
  }
  EXPECT_FALSE(heard);
}

// A client that reads none of its replies is dropped once a reply has not
// gone out within its limit, and the next client is served.
TEST(BridgeServer, AClientThatTakesNoRepliesIsDroppedAndTheNextServed) {
  ServedBridge bridge(shortLimits());
  ASSERT_TRUE(bridge.ready()) << bridge.log().seen();
  {
    const NetSocket stuck = bridge.connect("127.0.0.1", true);
    for (int row = 0; row < 2000; ++row) {
      ASSERT_TRUE(test::sendAll(stuck, request(static_cast<std::uint8_t>(row), 5, SystemItem::Levels, 255)));
      const auto heard = bridge.heard(2s);
      if (!heard) break;
      bridge.reply(answer(*heard, 0x55));
    }
    EXPECT_TRUE(bridge.log().line("disconnected: it took no reply within 300 ms")) << bridge.log().seen();
  }
  EXPECT_TRUE(bridge.serves(bridge.connect(), 1));
}

TEST(BridgeServer, AReplyAfterItsClientLeftIsNotHandedToTheNext) {
  ServedBridge bridge(shortLimits());
  ASSERT_TRUE(bridge.ready()) << bridge.log().seen();
  std::optional<Bytes> first;
  {
    const NetSocket gone = bridge.connect();
    ASSERT_TRUE(test::sendAll(gone, request(1)));
    first = bridge.heard();
    ASSERT_TRUE(first);
  }
  ASSERT_TRUE(bridge.log().line(" disconnected")) << bridge.log().seen();
  const NetSocket next = bridge.connect();
  ASSERT_TRUE(test::sendAll(next, request(2)));
  ASSERT_TRUE(bridge.log().line(" connected")) << bridge.log().seen();
  bridge.reply(answer(*first, 0xEE));
  const auto second = bridge.heard();
  ASSERT_TRUE(second);
  bridge.reply(answer(*second, 0x22));
  const Bytes got = receiveFrame(next);
  ASSERT_GT(got.size(), FrameOffset::Payload);
  EXPECT_EQ(got[FrameOffset::Row], 2);
  EXPECT_EQ(got[FrameOffset::Payload], 0x22);
  EXPECT_TRUE(test::receiveExactly(next, 1, 300ms).empty());  // nothing more
}

// While a client holds the bridge, the others are refused, logged once per
// address and window with their count. The client stays while it keeps
// sending or waits for a slow reply; gone quiet, it is dropped and the next
// client is served.
TEST(BridgeServer, AQuietClientIsDroppedAndRefusalsAreLoggedOncePerAddressAndWindow) {
  BridgeServer::Limits limits = shortLimits();
  limits.clientIdle = 1s;
  ServedBridge bridge(limits, "127.0.0.1");
  ASSERT_TRUE(bridge.ready()) << bridge.log().seen();
  const NetSocket holder = bridge.connect();
  for (int i = 0; i < 3; ++i)
    for (const char* from : {"127.0.0.1", "127.0.0.2"}) EXPECT_TRUE(test::closedByPeer(bridge.connect(from)));
  for (std::uint8_t row = 0; row < 8; ++row) {
    ASSERT_TRUE(bridge.serves(holder, row));
    std::this_thread::sleep_for(150ms);
  }
  ASSERT_TRUE(test::sendAll(holder, request(9)));
  const auto slow = bridge.heard();
  ASSERT_TRUE(slow);
  std::this_thread::sleep_for(1500ms);
  bridge.reply(answer(*slow, 9));
  EXPECT_EQ(receiveFrame(holder).size(), slow->size());

  ASSERT_TRUE(bridge.log().line("disconnected: it sent nothing for 1 s")) << bridge.log().seen();
  EXPECT_TRUE(test::closedByPeer(holder));
  EXPECT_TRUE(bridge.serves(bridge.connect(), 10));
  const std::string& seen = bridge.log().seen();
  for (const char* line :
       {"client 127.0.0.1:", "refused 2 connections from 127.0.0.1 in the last 1 s (the last because client",
        "client 127.0.0.2:",
        "refused 2 connections from 127.0.0.2 in the last 1 s (the last because it is not in"}) {
    const auto at = seen.find(line);
    EXPECT_NE(at, std::string::npos) << line << "\n" << seen;
  }
  std::size_t refusedLines = 0;
  for (auto at = seen.find(" refused: "); at != std::string::npos; at = seen.find(" refused: ", at + 1))
    ++refusedLines;
  EXPECT_EQ(refusedLines, 2u) << seen;
}

}  // namespace
}  // namespace orvane
