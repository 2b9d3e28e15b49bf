#pragma once

// The one background thread that carries every frame to the device and keeps
// the device in step with the editor. One exchange at a time: it puts a frame
// into the transmit frame of the current link, tells the link's transport to
// write it and waits until the transport reports the reply taken (or given
// up). Queued frames go first; otherwise the first 8-byte row of the edited
// image that differs from the device copy; otherwise a level poll.
//
// Handing every frame over and every reply back costs two thread hand-offs
// per exchange, more than the exchange itself on a fast link. So once the
// worker has handed a frame over, the transport may ask it, on the
// transport's thread, for the next one as soon as the reply is taken
// (carryPass): the worker's next pass runs there without waiting, as long
// as the protocol lock is free at once and an event of the worker is set,
// and the worker sleeps on until the transport hands the link back. The
// frames and their order are what the worker would have built.

#include <array>
#include <atomic>
#include <memory>

#include "link/CommandBuilders.h"
#include "platform/LinkThread.h"
#include "platform/Notifier.h"
#include "platform/ProtocolLock.h"
#include "platform/Timings.h"
#include "protocol/ConnectionCheck.h"
#include "protocol/LinkSlot.h"
#include "protocol/WorkerEvents.h"
#include "transport/Transport.h"

namespace orvane {

using LinkSlots = std::array<LinkSlot, 3>;
using Transports = std::array<std::unique_ptr<Transport>, 3>;

// Index of a link's slot and transport: serial 0, USB 1, network 2.
inline std::size_t linkIndex(LinkType link) {
  return static_cast<std::size_t>(link) - 1;
}

struct WorkerContext {
  ParameterImage& image;
  Notifier& notifier;
  SendDataQueue& queue;
  LinkSlots& linkSlots;
  Transports& transports;
  WorkerEvents& events;
  Event& replyEvent;
  ProtocolLock& lock;
  CommandBuilders& builders;
  FrameBuilder& frames;
  const Timings& timings;
  ConnectionCheck& connectionCheck;
  // Set while a set-up dialog is open: its frames are served by the idle pass.
  const std::atomic<bool>& idleQueueService;
};

class CommunicationWorker {
 public:
  // The thread starts suspended.
  explicit CommunicationWorker(WorkerContext context);
  ~CommunicationWorker();
  CommunicationWorker(const CommunicationWorker&) = delete;
  CommunicationWorker& operator=(const CommunicationWorker&) = delete;

  void resume();
  // Parks the thread and returns once it is parked, or after a bounded wait
  // when it is held up (it then parks as soon as it can); releases a wait for
  // a reply at once. The caller must not hold the protocol lock.
  void park();
  // Ends the thread for good.
  void stop();
  // How many level polls it has built. A poll is built only when nothing is
  // queued, no row differs from the device copy and the exchange before it
  // has ended: two more polls than at some moment mean that everything
  // edited or queued before that moment is on the device.
  std::uint64_t levelPolls() const { return levelPolls_.load(); }
  // On the transport's thread of `link`, whose reply was just taken: runs
  // the worker's next pass there when the worker handed over the frame
  // answered (or a pass carried before), is not being parked, and the
  // protocol lock is free at once. True when the next frame is in the
  // transmit frame; false leaves the link to the worker.
  bool carryPass(LinkType link);

 private:
  // The thread's body: exchanges until it is parked or stopped.
  void serve();
  // One pass: waits for an event, builds or takes a frame, hands it to the
  // transport and waits for its reply. False when interrupted.
  bool pass();
  // Waits for the reply to the frame handed over, for as long as the
  // transport carries idle passes. False when interrupted.
  bool awaitReply();
  void takeTurn(std::optional<std::size_t> signalled, LinkType link);
  void serveQueue(LinkType link, bool updateProgress);
  void idlePass(LinkType link);
  bool syncNextRow(LinkType link);
  void buildLevelPoll(LinkType link);
  bool transmitReady(LinkType link);
  bool signalTransport(LinkType link);
  LinkType currentLink() const;

  WorkerContext ctx_;
  std::atomic<std::uint64_t> levelPolls_{0};
  // The frame in flight was handed over by a pass: the transport may carry
  // the next one.
  std::atomic<bool> handedOver_{false};
  // Passes the transport has carried; a reply wait that times out while
  // they go on is no missing reply.
  std::atomic<std::uint64_t> carried_{0};
  LinkThread thread_;
};

}  // namespace orvane
