// orvane-server as a program, in front of the simulated device, while
// clients from 127.0.0.2 attack it without the access code (and one with
// it that opens streams and never reads). Throughout, a room-control
// system on 127.0.0.1 asks for the status every 100 ms: each answer must
// come within 2 s and show the device link open, and the server's memory
// may not grow by 100 MiB.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "support/RawClient.h"
#include "support/ServerProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kAttacker = "127.0.0.2";
constexpr long kMostGrowthKiB = 100 * 1024;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;  // their shadow memory says nothing of the server's own
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  return -1;
}

// The legitimate client and the server's memory, watched while an attack
// runs.
class Watch {
 public:
  explicit Watch(ServerProcess& server) : server_(server), baseKiB_(residentKiB(server.pid())) {
    thread_ = std::thread([this] { run(); });
  }
  ~Watch() { finish(); }

  void finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  // Returns once one more request finished (at most a few seconds).
  void awaitNextAnswer() {
    std::unique_lock lock(mutex_);
    const int seen = requests_;
    finished_.wait_for(lock, 5s, [&] { return requests_ != seen; });
  }
  int answered() const { return answered_; }
  int failed() const { return failed_; }
  long growthKiB() const { return peakKiB_ - baseKiB_; }
  std::chrono::milliseconds slowest() const { return slowest_; }

 private:
  void run() {
    HttpClient client(server_.port(), "127.0.0.1", 2s);
    client.setHeader("X-Orvane-Code", ServerProcess::kCode);
    while (!stop_) {
      const auto start = Clock::now();
      const auto reply = client.get("/api/status");
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
      slowest_ = std::max(slowest_, took);
      if (reply.status == 200 && reply.json().value("link", "") == "open" && took <= 2s)
        ++answered_;
      else
        ++failed_;
      peakKiB_ = std::max(peakKiB_, residentKiB(server_.pid()));
      {
        const std::lock_guard lock(mutex_);
        ++requests_;
      }
      finished_.notify_all();
      std::this_thread::sleep_for(100ms);  // the pace of a client polling, not a wait
    }
  }

  ServerProcess& server_;
  long baseKiB_;
  long peakKiB_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> answered_{0};
  std::atomic<int> failed_{0};
  std::chrono::milliseconds slowest_{0};
  std::mutex mutex_;
  std::condition_variable finished_;
  int requests_ = 0;  // under mutex_
  std::thread thread_;
};

// Sends `total` bytes made by `piece` after `head`, as fast as the server
// takes them, until it stops taking them or `limit` passes.
void flood(RawClient& client, const std::string& head, const std::string& piece, std::size_t total,
           std::chrono::milliseconds limit) {
  client.send(head);
  std::size_t sent = 0;
  for (const auto end = Clock::now() + limit; sent < total && Clock::now() < end;) {
    if (client.send(piece))
      sent += piece.size();
    else
      std::this_thread::sleep_for(5ms);
    bool closed = false;
    client.read(1ms, closed);
    if (closed) return;
  }
}

void slowHeaders(int port) {
  std::vector<RawClient> slow;
  for (int i = 0; i < 200; ++i) {
    slow.emplace_back(port, kAttacker);
    slow.back().send("GET / HTTP/1.1\r\n");
  }
  for (int round = 0; round < 3; ++round) {
    std::this_thread::sleep_for(2s);
    for (RawClient& client : slow) client.send("X");
  }
}

void headerFlood(int port) {
  RawClient client(port, kAttacker);
  flood(client, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n", "X-Filler: " + std::string(1000, 'a') + "\r\n",
        64u << 20, 6s);
}

void chunkedBody(int port) {
  RawClient client(port, kAttacker);
  const std::string chunk = "10000\r\n" + std::string(0x10000, 'b') + "\r\n";
  flood(client, "POST /api/login HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\n", chunk,
        256u << 20, 6s);
}

void compressedBodies(int port) {
  // A brotli bomb's size; the server must never look inside.
  const std::string body(841, '\x8b');
  for (int i = 0; i < 200; ++i) {
    RawClient client(port, kAttacker);
    client.send(
        "POST /api/login HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Encoding: br\r\nContent-Length: 841\r\n\r\n" +
        body);
    client.status(200ms);
  }
}

void idleConnections(int port) {
  std::vector<RawClient> idle;
  for (int i = 0; i < 1000; ++i) idle.emplace_back(port, kAttacker);
  std::this_thread::sleep_for(3s);
}

void streamsNeverRead(int port) {
  std::vector<RawClient> readers;
  for (int i = 0; i < 8; ++i) {
    readers.emplace_back(port, kAttacker);
    readers.back().send("GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Orvane-Code: " +
                        std::string(ServerProcess::kCode) + "\r\n\r\n");
  }
  std::this_thread::sleep_for(6s);
}

TEST(HostileClients, NoneTakesTheServerFromTheRoom) {
  // A thousand connections of our own need a thousand descriptors.
  rlimit files{};
  ::getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
  ::setrlimit(RLIMIT_NOFILE, &files);

  SimulatorProcess sim;
  ServerProcess server("net:" + sim.address());
  ASSERT_TRUE(server.linked());
  const std::pair<const char*, std::function<void(int)>> attacks[] = {
      {"slow headers on 200 connections", slowHeaders}, {"64 MiB of header lines", headerFlood},
      {"a 256 MiB chunked body", chunkedBody},          {"compressed bodies", compressedBodies},
      {"1000 idle connections", idleConnections},       {"streams that are never read", streamsNeverRead},
  };
  for (const auto& [name, attack] : attacks) {
    Watch watch(server);
    attack(server.port());
    watch.awaitNextAnswer();  // once more after the attack
    watch.finish();
    std::printf("%-34s answered %3d, slowest %4lld ms, memory +%ld KiB\n", name, watch.answered(),
                static_cast<long long>(watch.slowest().count()), watch.growthKiB());
    EXPECT_GT(watch.answered(), 0) << name;
    EXPECT_EQ(watch.failed(), 0) << name;
    if (!kSanitized) {
      EXPECT_LT(watch.growthKiB(), kMostGrowthKiB) << name;
    }
  }
}

}  // namespace
}  // namespace orvane
