#pragma once

// Checks a completed reply and carries its data into the image: channel
// blocks into the device copy or the program store, system items into the
// system areas, lock packets into the locks. Runs on the transport's thread;
// whatever the user interface must do is posted through the Notifier.

#include <chrono>
#include <span>

#include "model/ParameterImage.h"
#include "platform/Notifier.h"
#include "protocol/ConnectionCheck.h"
#include "protocol/LevelRequest.h"
#include "protocol/ReplySink.h"
#include "protocol/SendData.h"
#include "protocol/WorkerEvents.h"

namespace orvane {

class ReplyDispatcher : public ReplySink {
 public:
  // An idle device answers every level poll with the levels the meters show
  // already; those are announced again only after this long, because waking
  // the user interface for each of them would cost more than the poll.
  static constexpr std::chrono::milliseconds kLevelRefresh{100};

  // `levels` tells whether the meters want levels, `check` whether a new
  // link awaits the answer to its check.
  ReplyDispatcher(ParameterImage& image, Notifier& notifier, WorkerEvents& events, LevelRequest& levels,
                  ConnectionCheck& check, std::chrono::milliseconds levelRefresh = kLevelRefresh);

  bool dispatch(const SendData& reply, const SendData& inFlight) override;

 private:
  bool passesConnectionCheck(const SendData& reply, bool& decided);
  bool dispatchData(const SendData& reply, const SendData& inFlight);
  void storeChannelData(const SendData& reply, const SendData& inFlight);
  void storeSystemItem(const SendData& reply);
  bool levelsWorthShowing(const DeviceStatus& status, std::span<const std::uint8_t> levels);
  void storeLockPacket(const SendData& reply);
  void storeStoredLockPacket(const SendData& reply);

  ParameterImage& image_;
  Notifier& notifier_;
  WorkerEvents& events_;
  LevelRequest& levels_;
  ConnectionCheck& check_;
  std::chrono::milliseconds levelRefresh_;
  // Changed under the image's lock only.
  std::chrono::steady_clock::time_point levelsAnnounced_{};
};

}  // namespace orvane
