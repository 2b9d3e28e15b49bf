// The HTTP engine under clients that do not play by the rules: every bound
// of HttpLimits, with short times so that the waits stay short, in front of
// a handler that answers at once, after a while on the work thread, or
// with an endless stream.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Event.h"
#include "server/HttpReplies.h"
#include "server/HttpServer.h"
#include "support/RawClient.h"

namespace orvane::server {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class TestHandler : public HttpHandler {
 public:
  // Work for the device that runs until the test lets it end.
  std::atomic<int> slowStarted{0};
  Event slowDone;

  Answer answer(const Request& request, const Peer& peer) override {
    if (request.target() == "/api/slow")
      return Deferred{[this] {
        ++slowStarted;
        slowDone.wait(std::chrono::seconds(10));
        return HttpReplies::json(http::status::ok, control::Json{{"slow", true}});
      }};
    if (request.target() == "/api/quiet")
      return EventSource{[](long&) -> std::optional<std::string> { return std::nullopt; }};
    if (request.target() == "/api/events")
      return EventSource{[](long& seen) -> std::optional<std::string> {
        ++seen;
        return "data: " + std::string(16 * 1024, 'x') + "\n\n";
      }};
    return HttpReplies::json(http::status::ok,
                             control::Json{{"from", peer.address}, {"body", request.body()}});
  }
};

class HttpEngine : public ::testing::Test {
 protected:
  void serve(const HttpLimits& limits) {
    server_ = std::make_unique<HttpServer>(handler_, limits);
    ASSERT_EQ(server_->bind(NetEndpoint{"127.0.0.1", 0}), "");
    thread_ = std::thread([this] { server_->run(); });
  }
  void TearDown() override {
    if (!server_) return;
    handler_.slowDone.set();
    server_->stop();
    thread_.join();
  }
  RawClient client(const char* from = "127.0.0.1") { return RawClient(server_->port(), from); }
  int get(const char* from, const std::string& target) {
    RawClient c = client(from);
    c.send("GET " + target + " HTTP/1.1\r\nHost: h\r\n\r\n");
    return c.status();
  }
  // Polls until `done` holds, for at most `timeout`.
  template <class Done>
  static bool eventually(Done done, std::chrono::milliseconds timeout = 5s) {
    for (const auto end = Clock::now() + timeout; Clock::now() < end; std::this_thread::sleep_for(20ms))
      if (done()) return true;
    return done();
  }

  TestHandler handler_;
  std::unique_ptr<HttpServer> server_;
  std::thread thread_;
};

TEST_F(HttpEngine, ConnectionsAreBoundedInAllAndByAddress) {
  HttpLimits limits;
  limits.connections = 6;
  limits.connectionsPerAddress = 3;
  serve(limits);
  std::vector<RawClient> held;
  for (int i = 0; i < 3; ++i) held.push_back(client("127.0.0.2"));
  ASSERT_TRUE(eventually([&] { return server_->connections() == 3; }));
  EXPECT_TRUE(client("127.0.0.2").closedWithin(2s));  // a fourth from there
  EXPECT_EQ(get("127.0.0.1", "/"), 200);              // others are served
  for (int i = 0; i < 3; ++i) held.push_back(client("127.0.0.3"));
  ASSERT_TRUE(eventually([&] { return server_->connections() == 6; }));
  EXPECT_TRUE(client("127.0.0.1").closedWithin(2s));  // six in all
  held.clear();
  EXPECT_TRUE(eventually([&] { return get("127.0.0.1", "/") == 200; }));  // places come back
}

TEST_F(HttpEngine, RequestsThisServerNeverTakesAreRefusedBeforeTheirBody) {
  serve(HttpLimits{});
  std::string lines;
  for (std::size_t i = 0; i < HttpLimits::kHeaderLines + 1; ++i)
    lines += "X-Line-" + std::to_string(i) + ": 1\r\n";
  const struct {
    std::string request;
    int status;
  } cases[] = {
      {"GET / HTTP/1.1\r\nHost: h\r\nX-Big: " + std::string(HttpLimits::kHeaderBytes, 'a') + "\r\n\r\n", 431},
      {"GET / HTTP/1.1\r\nHost: h\r\n" + lines + "\r\n", 431},
      // No body follows: the refusal may not wait for one.
      {"POST /index.html HTTP/1.1\r\nHost: h\r\nContent-Length: 100000000\r\n\r\n", 405},
      {"GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 100000000\r\n\r\n", 413},
      {"PUT /api/x HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n", 411},
      {"POST /api/login HTTP/1.1\r\nHost: h\r\nContent-Encoding: br\r\nContent-Length: 841\r\n\r\n", 415},
      {"POST /api/x HTTP/1.1\r\nHost: h\r\nContent-Length: 4097\r\n\r\n", 413},
      {"HELLO THERE\r\n\r\n", 400},
  };
  for (const auto& c : cases) {
    RawClient raw = client();
    raw.send(c.request);
    EXPECT_EQ(raw.status(), c.status) << c.request.substr(0, 60);
    EXPECT_TRUE(raw.closedWithin(2s)) << c.request.substr(0, 60);
  }
  RawClient fine = client();
  fine.send("POST /api/x HTTP/1.1\r\nHost: h\r\nContent-Length: 4096\r\n\r\n" + std::string(4096, 'b'));
  EXPECT_EQ(fine.status(), 200);
}

TEST_F(HttpEngine, SlowHeadersAndIdleConnectionsAreClosed) {
  HttpLimits limits;
  limits.headerTime = 300ms;
  limits.idleTime = 600ms;
  serve(limits);
  RawClient trickle = client();
  trickle.send("GET / HTTP/1.1\r\n");
  const auto start = Clock::now();
  EXPECT_TRUE(trickle.closedWithin(3s));
  EXPECT_LT(Clock::now() - start, 550ms);  // the header time, not the idle time

  RawClient kept = client();
  kept.send("GET / HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(kept.status(), 200);
  EXPECT_TRUE(kept.closedWithin(3s));
  EXPECT_TRUE(client().closedWithin(3s));  // nothing ever sent
}

TEST_F(HttpEngine, WorkForTheDeviceWaitsWithoutHoldingOthersAndIsBounded) {
  HttpLimits limits;
  limits.waitingWork = 2;
  serve(limits);
  std::vector<RawClient> slow;
  const auto ask = [&] {
    slow.push_back(client());
    slow.back().send("GET /api/slow HTTP/1.1\r\nHost: h\r\n\r\n");
  };
  ask();
  ASSERT_TRUE(eventually([&] { return handler_.slowStarted == 1; }));  // the first one runs
  for (int i = 0; i < 3; ++i) ask();
  EXPECT_EQ(get("127.0.0.1", "/"), 200);  // served while the device's work runs
  // Two wait for the device; the third is refused at once.
  std::vector<int> statuses(slow.size(), -1);
  const auto answered = [&](int status) { return std::ranges::count(statuses, status); };
  ASSERT_TRUE(eventually([&] {
    for (std::size_t i = 0; i < slow.size(); ++i)
      if (statuses[i] == -1) statuses[i] = slow[i].status(10ms);
    return answered(503) == 1;
  }));
  EXPECT_EQ(answered(200), 0);
  handler_.slowDone.set();
  for (std::size_t i = 0; i < slow.size(); ++i)
    if (statuses[i] == -1) statuses[i] = slow[i].status(5s);
  EXPECT_EQ(answered(200), 3);
}

TEST_F(HttpEngine, StreamsAreBoundedAndAReaderThatDoesNotReadIsDropped) {
  HttpLimits limits;
  limits.streamsPerAddress = 2;
  limits.writeTime = 500ms;
  serve(limits);
  RawClient first = client();
  RawClient second = client();
  for (RawClient* reader : {&first, &second}) reader->send("GET /api/events HTTP/1.1\r\nHost: h\r\n\r\n");
  EXPECT_EQ(first.status(), 200);
  EXPECT_EQ(second.status(), 200);
  EXPECT_EQ(get("127.0.0.1", "/api/events"), 503);  // a third from the same address
  EXPECT_EQ(get("127.0.0.2", "/api/events"), 200);
  // Neither reads on: the small send buffer fills, the write time passes
  // and both are dropped; their places come back.
  EXPECT_TRUE(eventually([&] { return server_->connections() == 0; }, 10s));
  EXPECT_EQ(get("127.0.0.1", "/api/events"), 200);
}

TEST_F(HttpEngine, AQuietStreamSaysItIsAlive) {
  HttpLimits limits;
  limits.streamQuiet = 100ms;
  serve(limits);
  RawClient reader = client();
  reader.send("GET /api/quiet HTTP/1.1\r\nHost: h\r\n\r\n");
  bool closed = false;
  const std::string text = reader.read(1s, closed);
  EXPECT_NE(text.find("text/event-stream"), std::string::npos);
  EXPECT_NE(text.find("event: alive\ndata: {}\n\n"), std::string::npos);
  EXPECT_FALSE(closed);
}

}  // namespace
}  // namespace orvane::server
