#pragma once

// Keeps one session's link open for a program that serves others (the
// server): opens it, and after a failed open or a loss closes what is left
// of it and opens it again after a pause, until stopped, by the rule of
// LinkRetry. Each change of the link is reported once, with the LinkEvent
// that ended it or failed its open, for the program to turn into its own
// words (a log line, a status).
//
// The session is shared with the program's commands through `sessionMutex`:
// an open holds it throughout, so no command runs on a half-open link.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "editor/EditorSession.h"
#include "link/LinkRetry.h"
#include "platform/Event.h"

namespace orvane::editor {

class LinkSupervisor {
 public:
  using State = LinkRetry::State;

  struct Change {
    State state;
    std::string error;  // why the open failed; empty when the link opened or was lost
    // How the link was lost or its open failed; nothing when it opened.
    std::optional<LinkEvent> event;
  };
  // Called on the supervisor's thread.
  using Report = std::function<void(const Change& change)>;

  static constexpr std::chrono::seconds kRetry{2};
  static constexpr std::chrono::seconds kOpenLimit{30};

  LinkSupervisor(EditorSession& session, std::mutex& sessionMutex, ConnectTarget target, Report report = {});
  ~LinkSupervisor();
  LinkSupervisor(const LinkSupervisor&) = delete;
  LinkSupervisor& operator=(const LinkSupervisor&) = delete;

  void start();
  // Ends the supervision and every wait on the device at once, an open in
  // progress included; from any thread.
  void stop();
  // Stops and waits until the supervisor's thread ended.
  void finish();

  // Open only while the session's link is: a loss shows at once, before the
  // link is opened again.
  State state() const;

 private:
  void run();
  void report(const Change& change);

  EditorSession& session_;
  std::mutex& sessionMutex_;
  ConnectTarget target_;
  Report report_;
  std::atomic<State> state_{State::Connecting};
  LinkRetry retry_{kRetry};  // on the supervisor's thread
  Event stop_;
  std::thread thread_;
};

}  // namespace orvane::editor
