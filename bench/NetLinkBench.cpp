// The network link against the simulator program over loopback TCP, the
// device in a process of its own: the bare round trip of a level poll, the
// editor's idle exchange (its time against that round trip, and the CPU time
// the editor spends on it), the full read after connecting, and the read of
// all thirty programs against as many bare round trips.

#include <benchmark/benchmark.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <thread>

#include "link/Command.h"
#include "platform/QuietNotifier.h"
#include "support/SimulatorProcess.h"
#include "transport/NetPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A level poll on the network link as the device receives it.
constexpr std::array<std::uint8_t, 24> kLevelPoll{
    0x5A, 0x5A, 0x5A, 0x88,              // sync, start
    0xA2, 0x03, 0x00, 0x00,              // read, network link, nonce, device ID
    0x00, 0x03, 0x03, 0x00,              // value, system block, item 3 (levels), row
    0x00, 0x08,                          // reserved, length
    0,    0,    0,    0,    0, 0, 0, 0,  // payload
    0xA9, 0xAA,                          // checksum, end
};
// The reply: 16 level bytes.
constexpr std::size_t kLevelReplySize = 32;

double processCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A plain TCP connection to the simulated device, no editor code.
class RawConnection {
 public:
  explicit RawConnection(int port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  ~RawConnection() { ::close(fd_); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return connected_; }

  // One poll out, its whole reply in.
  bool roundTrip() {
    const auto sent = ::send(fd_, kLevelPoll.data(), kLevelPoll.size(), MSG_NOSIGNAL);
    if (sent != static_cast<ssize_t>(kLevelPoll.size())) return false;
    std::array<std::uint8_t, kLevelReplySize> reply{};
    for (std::size_t got = 0; got < reply.size();) {
      const auto n = ::recv(fd_, reply.data() + got, reply.size() - got, 0);
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
  bool connected_ = false;
};

// Microseconds of one bare round trip, the mean of `count` that follow
// `settle` of them unmeasured.
double rawRoundTripMicros(int port, int count, std::chrono::milliseconds settle = 0ms) {
  RawConnection connection(port);
  if (!connection.connected()) return 0;
  for (const auto settled = Clock::now() + settle; Clock::now() < settled;)
    if (!connection.roundTrip()) return 0;
  const auto start = Clock::now();
  for (int n = 0; n < count; ++n)
    if (!connection.roundTrip()) return 0;
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

// Asks for levels again as the main window does once it has shown them, and
// counts the announced ends of reads (full reads, reads of all programs).
class MainWindowStandIn : public QuietNotifier {
 public:
  // The request to renew; set before the link opens.
  void renew(LevelRequest& levels) { levels_ = &levels; }

  void post(Message message, std::intptr_t, std::intptr_t) override {
    if (message == Message::LevelsRead) levels_->request();
    if (message == Message::ChannelDataRead || message == Message::AllProgramsRead) {
      {
        std::lock_guard lock(mutex_);
        ++(message == Message::ChannelDataRead ? fullReads_ : allProgramReads_);
      }
      readDone_.notify_all();
    }
  }

  // Until `count` reads of the kind `message` announces have ended.
  bool waitForReads(Message message, long count) {
    std::unique_lock lock(mutex_);
    const long& reads = message == Message::ChannelDataRead ? fullReads_ : allProgramReads_;
    return readDone_.wait_for(lock, 10s, [&] { return reads >= count; });
  }

 private:
  LevelRequest* levels_ = nullptr;
  std::mutex mutex_;
  std::condition_variable readDone_;
  long fullReads_ = 0;
  long allProgramReads_ = 0;
};

// The editor's socket connected to the device on `port`; -1 if none.
int socketTo(int port) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    const int fd = std::atoi(entry.path().filename().c_str());
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 && peer.sin_family == AF_INET &&
        ntohs(peer.sin_port) == port)
      return fd;
  }
  return -1;
}

// Level replies received on `fd`, from the TCP statistics of the
// connection: an idle device's replies carry no news, so nothing in the
// editor announces each of them.
long long levelRepliesOn(int fd) {
  tcp_info info{};
  socklen_t length = sizeof info;
  if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0) return -1;
  return static_cast<long long>(info.tcpi_bytes_received / kLevelReplySize);
}

// Waits, in coarse steps, until `done` holds; false after ten seconds. The
// waiting thread's CPU time counts in the process's: at 1 ms steps its
// wake-ups cost some 4 % of what an idle exchange does, at 10 ms next to
// nothing.
template <class Done>
bool waitUntil(Done done) {
  const auto deadline = Clock::now() + 10s;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// The editor's link machinery connected to the simulated device over the
// network link, polling.
struct EditorLink {
  explicit EditorLink(const SimulatorProcess& sim) {
    window.renew(command.levelRequest());
    command.attachTransport(LinkType::Network,
                            std::make_unique<NetPort>(command.linkContext(LinkType::Network)));
    std::lock_guard lock(command.protocolLock());
    opened = command.OpenLink(LinkType::Network, sim.address());
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::Network; });
    command.levelRequest().request();
  }
  ~EditorLink() { command.Shutdown(); }

  // Queues the read of the whole device, as connecting does.
  void queueFullRead() {
    std::lock_guard lock(command.protocolLock());
    command.ReadDeviceSettings();
    command.RecallProgram(0);
  }

  ParameterImage image;
  MainWindowStandIn window;
  Command command{image, window};
  bool opened = false;
};

void BM_NetRawRoundTrip(benchmark::State& state) {
  SimulatorProcess sim;
  RawConnection connection(sim.port());
  if (!connection.connected()) return state.SkipWithError("no simulator");
  for (auto _ : state)
    if (!connection.roundTrip()) return state.SkipWithError("the simulator stopped answering");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NetRawRoundTrip)->Unit(benchmark::kMicrosecond);

// One iteration: 1000 idle exchanges. Counters per exchange: its time
// (exchange_us), the bare round trip measured just before (raw_us), their
// ratio (vs_raw) and the CPU time of the editor's process (cpu_us). The
// bare round trips are timed once their connection has run for half a
// second, as the editor's has when its exchanges are timed: on a busy
// machine the first round trips to a newly started simulator took a third
// less time than the same round trips half a second later.
void BM_NetIdleExchange(benchmark::State& state) {
  constexpr long kExchangesPerIteration = 1000;
  SimulatorProcess sim;
  const double raw = rawRoundTripMicros(sim.port(), 20000, 500ms);
  EditorLink link(sim);
  if (raw <= 0 || !link.opened) return state.SkipWithError("no simulator");
  const int fd = socketTo(sim.port());
  const auto exchangesSoFar = [&] { return levelRepliesOn(fd); };
  if (!waitUntil([&] { return exchangesSoFar() > 100; }))
    return state.SkipWithError("the link does not poll");
  const long long first = exchangesSoFar();
  const double cpuStart = processCpuSeconds();
  const auto start = Clock::now();
  long long target = first;
  for (auto _ : state) {
    target += kExchangesPerIteration;
    if (!waitUntil([&] { return exchangesSoFar() >= target; }))
      return state.SkipWithError("the link stopped polling");
  }
  const auto exchanges = static_cast<double>(exchangesSoFar() - first);
  const double exchangeUs =
      std::chrono::duration<double, std::micro>(Clock::now() - start).count() / exchanges;
  state.counters["exchange_us"] = exchangeUs;
  state.counters["raw_us"] = raw;
  state.counters["vs_raw"] = exchangeUs / raw;
  state.counters["cpu_us"] = (processCpuSeconds() - cpuStart) * 1e6 / exchanges;
}
BENCHMARK(BM_NetIdleExchange)->UseRealTime()->Unit(benchmark::kMillisecond);

// One iteration: the whole device read again (settings, names, locks, the
// sixteen channel blocks) until the channel data are announced.
void BM_NetFullRead(benchmark::State& state) {
  SimulatorProcess sim;
  EditorLink link(sim);
  if (!link.opened) return state.SkipWithError("no simulator");
  long reads = 0;
  for (auto _ : state) {
    link.queueFullRead();
    ++reads;
    if (!link.window.waitForReads(Message::ChannelDataRead, reads))
      return state.SkipWithError("the read did not finish");
  }
}
BENCHMARK(BM_NetFullRead)->UseRealTime()->Unit(benchmark::kMillisecond);

// One iteration: the thirty programs of the device read into the program
// store, as saving all programs does: for each its stored lock packet and its
// sixteen blocks, 510 exchanges, timed from queueing until the end of the
// read is announced. Counters: the read (read_ms), 510 bare round trips to
// the same simulator measured first in the same run (raw_ms; level polls,
// whose replies are shorter than a block's), and their ratio (vs_raw).
void BM_NetReadAllPrograms(benchmark::State& state) {
  constexpr int kExchanges = kPrograms * (1 + 2 * kChannels);
  constexpr int kRawSets = 5;
  SimulatorProcess sim;
  // The simulator serves one connection at a time: the bare round trips
  // before the editor connects.
  const double rawMs = rawRoundTripMicros(sim.port(), kExchanges * kRawSets) * kExchanges / 1000;
  EditorLink link(sim);
  if (rawMs <= 0 || !link.opened) return state.SkipWithError("no simulator");
  long reads = 0;
  double readMs = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    if (!link.command.ReadAllPrograms()) return state.SkipWithError("no link");
    if (!link.window.waitForReads(Message::AllProgramsRead, ++reads))
      return state.SkipWithError("the read did not finish");
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    state.SetIterationTime(ms / 1000);
    readMs += ms;
  }
  state.counters["read_ms"] = readMs / static_cast<double>(reads);
  state.counters["raw_ms"] = rawMs;
  state.counters["vs_raw"] = readMs / static_cast<double>(reads) / rawMs;
}
BENCHMARK(BM_NetReadAllPrograms)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane
