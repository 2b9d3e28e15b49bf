#pragma once

// The editor's core as every front-end composes it: the image, the link
// machinery (Command with its transports and the connection), the link
// groups, the master section and the filter models. The editor's window
// brings its own image, transports and notifier; a program without a
// window (orvanectl, orvane-server) lets the session own the image and use
// the machine's real links. A session serves one product model, given by
// the program that makes it (its --model, else the build's default): the
// firmware it accepts and the program files it reads and writes are that
// model's.
//
// Whatever the core reports is counted, so a program without a window can
// wait for it: opening does the full read the editor does; settle()
// returns once everything edited or queued has reached the device. Every
// wait ends early when the link is lost or the session is cancelled. The
// window never waits: it hears the reports through its own notifier.
//
// Errors come back as one line of text for the user; empty means success.

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dsp/ChannelFilters.h"
#include "editor/CountingNotifier.h"
#include "editor/EditHistory.h"
#include "editor/LinkEvent.h"
#include "editor/LinkWatch.h"
#include "link/ConnectTarget.h"
#include "link/ConnectionManager.h"
#include "link/LinkGroups.h"
#include "link/MasterSection.h"
#include "link/MasterSectionMemory.h"
#include "model/ProductVariant.h"

namespace orvane::editor {

class EditorSession {
 public:
  using Seconds = std::chrono::seconds;

  // The device's own timing, except the local pauses a short command
  // would spend most of its time in.
  static Timings defaultTimings();

  // Gives `command` its transports.
  using TransportFactory = std::function<void(Command& command, ParameterImage& image)>;

  struct Setup {
    Timings timings = defaultTimings();
    // The machine's real links unless set.
    TransportFactory transports;
    // Also hears everything the core reports, after the session counted
    // it; it must outlive the session. A CountingNotifier given to several
    // sessions waits for what any of them reports.
    Notifier* notifier = nullptr;
    // The model served: the firmware it accepts and its program files.
    ProductVariant variant = ProductVariant::builtDefault();
  };

  // A session with an image of its own and the machine's real links.
  explicit EditorSession(const Timings& timings = defaultTimings(),
                         const ProductVariant& variant = ProductVariant::builtDefault());
  // A session with an image of its own, set up as given.
  explicit EditorSession(Setup setup);
  // A session on `image`, which must outlive it.
  EditorSession(ParameterImage& image, Setup setup);
  ~EditorSession();
  EditorSession(const EditorSession&) = delete;
  EditorSession& operator=(const EditorSession&) = delete;

  // Opens the link and waits for the full read and the firmware check. A
  // session closed (or whose link was lost) may be opened again. An open
  // that fails closes the link it opened, so the next one starts afresh.
  std::string open(const ConnectTarget& target, Seconds timeout = Seconds(60));
  // The same, with how the open failed as an event; nothing when it
  // succeeded.
  std::optional<LinkEvent> openLink(const ConnectTarget& target, Seconds timeout = Seconds(60));
  // Waits until every changed row and queued frame reached the device; at
  // most the wait limit unless a time-out is given.
  std::string settle() { return settle(waitLimit_); }
  std::string settle(Seconds timeout);
  // Waits until `message` arrived `count` times in all.
  std::string waitFor(Message message, int count) { return waitFor(message, count, waitLimit_); }
  std::string waitFor(Message message, int count, Seconds timeout);
  void close();

  // The longest settle() and waitFor() wait when given no time-out: 300 s,
  // enough for a restore over the RS-485 bus, unless set (before the
  // session is shared between threads).
  void setWaitLimit(Seconds limit) { waitLimit_ = limit; }
  // Ends the wait in progress, an open's included, and every later one at
  // once with an error: the session is being given up. Any thread may call
  // it.
  void cancel() { cancelled_ = true; }

  // The model this session serves.
  const ProductVariant& variant() const { return variant_; }
  ParameterImage& image() { return image_; }
  Command& command() { return command_; }
  ConnectionManager& connection() { return connection_; }
  LinkGroups& links() { return links_; }
  MasterSection& master() { return master_; }
  // The master levels to restore that outlive each link: the parameter
  // operations keep them, for programs without a window.
  MasterSectionMemory& masterMemory() { return masterMemory_; }
  CountingNotifier& notifier() { return notifier_; }
  // The user's gestures for undo and redo; forgotten when a link opens,
  // closes or is lost.
  EditHistory& history() { return history_; }
  ChannelFilters& filters();
  // Makes events of what the core reports about the link.
  const LinkWatch& linkWatch() const { return watch_; }
  // Whether the link opened last was reported lost. Any thread may ask.
  bool linkLost() const { return sinceOpen(Message::LinkLost) > 0; }
  // How the link opened last was lost (when linkLost()).
  LinkEvent loss() const;
  // How often `message` arrived since the link was opened last. Any thread
  // may ask, also while another opens the link.
  int sinceOpen(Message message) const;
  // The device's version text, e.g. "J-DV1.20".
  std::string firmware() const;

 private:
  // On `image`, or on an image of its own when none is given.
  EditorSession(ParameterImage* image, Setup setup);

  // Polls `done` until it holds; why not when the link is lost, the time
  // is up or the session is cancelled.
  template <class Done>
  std::optional<LinkEvent> waitUntil(Done&& done, Seconds timeout, const char* what);
  // The wait for `what` ran out of time.
  LinkEvent unfinished(const char* what) const;
  // What the device said since the link was opened last.
  LinkWatch::Heard heard() const;

  // The messages whose counts at the last open are kept.
  static constexpr std::array kCountedFromOpen{Message::LinkLost, Message::FirmwareVersionRead,
                                               Message::ChannelDataRead};

  const ProductVariant variant_;
  std::unique_ptr<ParameterImage> ownImage_;  // unless the user brought one
  ParameterImage& image_;
  CountingNotifier notifier_;
  // The counts of kCountedFromOpen when the link was opened last.
  std::array<std::atomic<int>, kCountedFromOpen.size()> atOpen_{};
  Seconds waitLimit_{300};
  std::atomic<bool> cancelled_{false};
  Command command_;
  ConnectionManager connection_;
  LinkGroups links_;
  MasterSection master_;
  MasterSectionMemory masterMemory_;
  LinkWatch watch_;
  // Links this session opened or closed; with the lost ones, when the
  // history was last valid.
  std::atomic<int> relinks_{0};
  EditHistory history_;
  std::unique_ptr<ChannelFilters> filters_;
};

}  // namespace orvane::editor
