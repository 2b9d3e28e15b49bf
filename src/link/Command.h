#pragma once

// The link machinery of the editor: the send queue, the link slots, the
// communication worker and the three transports, and the editor operations
// that turn a request of the user into queued frames. The main window owns
// the one Command.

#include <functional>
#include <string>

#include "link/CommandBuilders.h"
#include "link/CommunicationWorker.h"
#include "link/EditorLinkHooks.h"
#include "protocol/ReplyDispatcher.h"
#include "transport/LinkContext.h"

namespace orvane {

class Command {
 public:
  Command(ParameterImage& image, Notifier& notifier, Timings timings = {});
  ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // --- link machinery -------------------------------------------------------
  ProtocolLock& protocolLock() { return lock_; }
  NonceSource& nonces() { return nonces_; }
  CommandBuilders& builders() { return builders_; }
  SendDataQueue& queue() { return queue_; }
  LinkSlot& slot(LinkType link) { return slots_[linkIndex(link)]; }
  const Timings& timings() const { return timings_; }
  // What a transport of `link` shares with the machinery.
  LinkContext linkContext(LinkType link);
  void attachTransport(LinkType link, std::unique_ptr<Transport> transport);
  // The search that a failing serial port ends; see EditorLinkHooks.
  void attachIdSearch(IdSearch* search) { hooks_.attachIdSearch(search); }
  // The meters' request for levels: front-ends renew it once they have
  // shown the levels they hold.
  LevelRequest& levelRequest() { return levelRequest_; }
  const ConnectionCheck& connectionCheck() const { return connectionCheck_; }

  // Opens the transport of `link` (address: port or host, by link). On
  // success the device copy is taken from the edited image and the worker
  // runs. The caller holds the protocol lock and sets the link type.
  bool OpenLink(LinkType link, const std::string& address);
  // Why the last OpenLink() of `link` failed, as its transport tells it.
  LinkFault openFailure(LinkType link) const;
  // Whether the device closed the link of `link` given up last.
  bool closedByPeer(LinkType link) const;
  // Parks the worker, empties the queue, closes the transport, retires the
  // frame in flight and drops the level request and a pending connection
  // check. The caller must not hold the protocol lock.
  void CloseLink(LinkType link);
  // For good: the worker first, so that no frame is handed to a transport
  // whose thread has ended, then the transports.
  void Shutdown();
  // Sets the queue-not-empty event.
  void WakeWorker();
  // See CommunicationWorker::levelPolls().
  std::uint64_t levelPolls() const { return worker_.levelPolls(); }
  // While a set-up dialog is open its frames are served by the idle pass.
  void setIdleQueueService(bool on) { idleQueueService_ = on; }
  // Packs the set-up dialog's working copy into the set-up block before the
  // block is sent.
  void setSetupBlockPacker(std::function<void()> packer) { setupPacker_ = std::move(packer); }

  // --- editor operations ----------------------------------------------------
  // Those returning bool do nothing and return false without an open link.
  void ReadDeviceSettings();
  bool SendSystemItem(int value, int item);
  bool SendSystemItem52();
  bool SendSystemItem53();
  bool SendPresetData(int kind);
  bool SendProgramName(int program);
  bool SendProgramCommand(ProgramOp op, int program, bool withData);
  // op CmdWrite: the device gets `id` as its new ID.
  bool SendDeviceIdCommand(FrameCode op, int id);
  // Queues the 250 probes of an ID search on the open serial link.
  bool StartIdSearch();
  bool StoreProgram(int program);
  // Sends the program store, already filled from a program-set file.
  bool StoreAllPrograms();
  bool RecallProgram(int program);
  bool ReadAllPrograms();
  // Reads stored program `program` (1..30) into its record of the program
  // store, without the transfer popup: no frame of it ends a transfer.
  bool ReadProgram(int program);
  bool SendWholeInput(int channel);
  bool SendWholeOutput(int channel);

 private:
  LinkType linkType() const;
  template <class Build>
  bool withOpenLink(Build&& build, bool wake);
  template <class Build>
  bool transfer(Build&& build);
  void beginTransfer(int counter);
  void storeWorkingState(LinkType link, int& counter);
  void sendMuteRows(LinkType link);

  ParameterImage& image_;
  Notifier& notifier_;
  Timings timings_;
  ProtocolLock lock_;
  NonceSource nonces_;
  FrameBuilder frames_{nonces_};
  SendDataQueue queue_;
  LinkSlots slots_;
  WorkerEvents events_;
  Event replyEvent_;
  LevelRequest levelRequest_;
  ConnectionCheck connectionCheck_;
  ReplyDispatcher dispatcher_;
  CommandBuilders builders_;
  Transports transports_;
  std::atomic<bool> idleQueueService_{false};
  std::function<void()> setupPacker_;
  CommunicationWorker worker_;
  EditorLinkHooks hooks_{connectionCheck_, worker_};
};

}  // namespace orvane
