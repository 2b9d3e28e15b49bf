#pragma once

// Reads what the core reports about the editor's link and makes a
// LinkEvent of it: a lost link (stale reports of a link no longer open are
// passed over; the end of an ID search and the network operation in flight
// are told apart), the firmware verdict, and a rename or reset of the
// network module done. It runs where the reports are read (the window's
// thread, or the thread that opens the session), never on a transport's:
// the caller closes the link where the event says so, and closing joins
// the transports' threads.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "editor/LinkEvent.h"
#include "link/ConnectTarget.h"
#include "link/ConnectionManager.h"
#include "model/ProductVariant.h"
#include "platform/Notifier.h"

namespace orvane::editor {

class LinkWatch {
 public:
  // Judges the firmware by `variant`, which must outlive the watch.
  LinkWatch(const ConnectionManager& connection, const ParameterImage& image, const ProductVariant& variant);

  // What `message` means for the link; nothing for a message that does not
  // concern it, a loss report of a link no longer open, an accepted
  // firmware, and a network operation done over the network (the module
  // restarts, and the lost link is then what the user hears of).
  std::optional<LinkEvent> onPosted(Message message, std::intptr_t wParam, std::intptr_t lParam) const;
  // The refusal of the firmware read on the open link; nothing while it is
  // accepted or no link is open.
  std::optional<LinkEvent> firmwareRefusal() const;
  // The loss of `link`, with the network operation (a ReplyKind) whose
  // answer was awaited.
  static LinkEvent loss(LinkType link, int kind);
  // A network link lost this soon after it opened was most likely taken
  // over by another program.
  static constexpr std::chrono::seconds kEarlyLoss{5};
  // The link to `target` is being opened now.
  void opening(const ConnectTarget& target);
  // What the device said since the link opened last.
  struct Heard {
    bool answered = false;  // it passed the connection check
    bool notReady = false;  // it answered the check that it is not ready
    bool closed = false;    // it closed the link itself
  };
  // The loss of the link opened last, as loss() makes it, with its cause
  // where the open tells it: a device that said it is not ready is not
  // ready; an RS-485 device that never answered is one whose ID does not
  // answer; a network link lost unanswered or within kEarlyLoss, or
  // closed by the device, was most likely ended by another program taking
  // the device's one link (or refused by a bridge); a USB device that
  // never answered is not ready.
  LinkEvent lossOfOpened(int kind, Heard heard) const;
  // The connection check of the link opened last was not passed in time.
  LinkEvent unchecked(Heard heard) const;
  // The device's version text, e.g. "J-DV1.20".
  static std::string firmwareText(const ParameterImage& image);

 private:
  std::optional<LinkEvent> onLost(LinkType link, int kind) const;
  std::optional<LinkEvent> onNetworkOperationDone(int kind) const;
  LinkFault fault(LinkFault::Cause cause) const;

  const ConnectionManager& connection_;
  const ParameterImage& image_;
  const ProductVariant& variant_;
  mutable std::mutex openedMutex_;  // the loss may be asked for on any thread
  ConnectTarget opened_;
  std::chrono::steady_clock::time_point openedAt_{};
};

}  // namespace orvane::editor
