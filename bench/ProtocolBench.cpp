// Throughput of the protocol core: how fast a link's parser takes replies
// apart and carries them into the image, and how many exchanges the worker,
// a transport thread and a simulated device complete per second when the
// wire costs nothing. The second figure is the ceiling the real links'
// timing sits on top of.

#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "link/Command.h"
#include "platform/QuietNotifier.h"
#include "protocol/ReplyDispatcher.h"
#include "sim/DeviceResponder.h"
#include "sim/InProcessTransport.h"

namespace orvane {
namespace {

// Counts what the benchmarks wait for; everything else is dropped.
class CountingNotifier : public QuietNotifier {
 public:
  void post(Message message, std::intptr_t, std::intptr_t) override {
    if (message != Message::AllProgramsRead) return;
    {
      std::lock_guard lock(mutex_);
      ++programSetsRead_;
    }
    changed_.notify_all();
  }

  void waitForProgramSetsRead(long count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return programSetsRead_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  long programSetsRead_ = 0;
};

// --- parsing -----------------------------------------------------------------------

// Data replies as a device sends them, one after another in one buffer.
struct ReplyStream {
  std::vector<std::uint8_t> bytes;
  std::vector<std::span<const std::uint8_t>> frames;
};

ReplyStream replyStream(std::uint8_t block, std::uint8_t item, std::size_t length, int count) {
  std::vector<SendData> replies(static_cast<std::size_t>(count));
  std::size_t total = 0;
  for (int n = 0; n < count; ++n) {
    SendData& reply = replies[static_cast<std::size_t>(n)];
    reply.set(FrameOffset::Cmd, static_cast<std::uint8_t>(FrameCode::ReplyData));
    reply.set(FrameOffset::Link, static_cast<std::uint8_t>(LinkType::Usb));
    reply.set(FrameOffset::Block, block);
    reply.set(FrameOffset::Item,
              block == BlockCode::System ? item : static_cast<std::uint8_t>(n % kChannels));
    reply.set(FrameOffset::Length, static_cast<std::uint8_t>(length));
    for (std::size_t i = 0; i < length; ++i) reply.payload()[i] = static_cast<std::uint8_t>(n + 3 * i);
    reply.finalise(static_cast<std::uint8_t>(n % 101));
    total += reply.wireSize();
  }
  ReplyStream stream;
  stream.bytes.reserve(total);
  for (const SendData& reply : replies)
    stream.bytes.insert(stream.bytes.end(), reply.wire().begin(), reply.wire().end());
  for (std::size_t at = 0; at < stream.bytes.size();) {
    const std::size_t size = stream.bytes[at + FrameOffset::Length] + kFrameOverhead;
    stream.frames.push_back(std::span(stream.bytes).subspan(at, size));
    at += size;
  }
  return stream;
}

// One parse call per frame: a call ends with the frame it completes, and the
// accepted reply empties the receive frame for the next one.
void parseReplies(benchmark::State& state, const ReplyStream& stream) {
  ParameterImage image;
  CountingNotifier notifier;
  WorkerEvents events;
  LevelRequest levels;
  ConnectionCheck check;
  ReplyDispatcher dispatcher(image, notifier, events, levels, check);
  LinkSlot slot;
  for (auto _ : state) {
    for (const auto frame : stream.frames) {
      if (!slot.parse(frame, dispatcher)) {
        state.SkipWithError("a reply was not completed");
        return;
      }
    }
  }
  if (slot.withFrames([](const SendData&, const SendData& receive) { return receive.rxBad; }))
    state.SkipWithError("a reply was refused");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stream.bytes.size()));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(stream.frames.size()));
}

// Channel blocks as a recall reads them: 120-byte input blocks, 136 bytes a frame.
void BM_ParseInputBlockReplies(benchmark::State& state) {
  parseReplies(state, replyStream(BlockCode::Input, 0, kInputBlockSize, 256));
}
BENCHMARK(BM_ParseInputBlockReplies);

// Level replies, the steady traffic of an idle link: 32 bytes a frame.
void BM_ParseLevelReplies(benchmark::State& state) {
  parseReplies(state, replyStream(BlockCode::System, SystemItem::Levels, 16, 256));
}
BENCHMARK(BM_ParseLevelReplies);

// --- exchanges through the in-process link --------------------------------------

// An editor connected to a factory-fresh simulated device over the
// in-process link, counting the requests the device answers.
struct InProcessLink {
  InProcessLink() {
    responder.setRequestObserver([this](const SendData&) {
      {
        std::lock_guard lock(mutex);
        ++requests;
      }
      changed.notify_all();
    });
    command.attachTransport(LinkType::Usb, std::make_unique<InProcessTransport>(
                                               command.linkContext(LinkType::Usb), responder, LinkType::Usb));
    std::lock_guard lock(command.protocolLock());
    command.OpenLink(LinkType::Usb, "");
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::Usb; });
  }
  ~InProcessLink() { command.Shutdown(); }

  long requestCount() {
    std::lock_guard lock(mutex);
    return requests;
  }
  void waitForRequests(long count) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return requests >= count; });
  }

  ParameterImage image;
  CountingNotifier notifier;
  DeviceState device;
  DeviceResponder responder{device};
  std::mutex mutex;
  std::condition_variable changed;
  long requests = 0;
  Command command{image, notifier};
};

// An idle link: the worker polls the levels, one poll per reply.
void BM_LevelPollExchanges(benchmark::State& state) {
  constexpr long kPollsPerIteration = 100;
  InProcessLink link;
  link.waitForRequests(1);
  const long first = link.requestCount();
  long target = first;
  for (auto _ : state) {
    target += kPollsPerIteration;
    link.waitForRequests(target);
  }
  const auto exchanges = static_cast<double>(link.requestCount() - first);
  state.counters["exchanges"] = benchmark::Counter(exchanges, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LevelPollExchanges)->UseRealTime()->Unit(benchmark::kMillisecond);

// The whole program set read into the program store: 30 lock packets and
// 480 channel blocks, queued at once and served back to back.
void BM_ReadAllPrograms(benchmark::State& state) {
  constexpr int kFramesPerRead = kPrograms * 17;
  InProcessLink link;
  long reads = 0;
  for (auto _ : state) {
    link.command.ReadAllPrograms();
    link.notifier.waitForProgramSetsRead(++reads);
  }
  state.counters["frames"] =
      benchmark::Counter(static_cast<double>(reads * kFramesPerRead), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAllPrograms)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane
