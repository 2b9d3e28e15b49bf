#pragma once

// The server's one link to the device, on the editor's core, and what the
// API does with it. A keeper thread opens the link, and opens it again two
// seconds after a loss or a failed open; the state, and why the link last
// failed to open or was lost, are part of every status.
// Commands run one at a time on the session, through the same parameter
// and program operations as orvanectl's, and their outcome comes back with
// the HTTP status that fits: 400 a bad value, 403 a locked function (neither changed nor shown:
// its answer carries "locked": true and no value), 404 an unknown path, 409
// no link, 502 a device that failed the command or did not take it within
// kDeviceWait, 503 a command that found the session busy for as long.

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "control/DeviceJson.h"
#include "editor/EditorSession.h"
#include "editor/LinkSupervisor.h"

namespace orvane::server {

using control::Json;

struct Reply {
  int status = 200;
  Json body;
};

class DeviceService {
 public:
  using Link = editor::LinkSupervisor::State;

  // The longest a command waits for the device, and for the commands before
  // it: a room-control system must not hang on a device that stopped
  // taking changes.
  static constexpr std::chrono::seconds kDeviceWait{5};
  // The longest a backup or a restore waits for the device: all thirty
  // programs take minutes over the RS-485 bus.
  static constexpr std::chrono::seconds kProgramsWait{300};

  // What the service needs besides the device's link.
  struct Setup {
    Timings timings = editor::EditorSession::defaultTimings();
    ProductVariant variant = ProductVariant::builtDefault();
    // Hears of each change of the link (on the keeper's thread).
    editor::LinkSupervisor::Report report = {};
  };

  DeviceService(const ConnectTarget& target, std::string linkText, Setup setup);
  DeviceService(const ConnectTarget& target, std::string linkText);
  ~DeviceService();
  DeviceService(const DeviceService&) = delete;
  DeviceService& operator=(const DeviceService&) = delete;

  // Starts keeping the link open.
  void start();
  // Ends the keeper's work and every wait on the device at once, an open in
  // progress included: the server is shutting down, and a command that
  // waits for the device fails from now on. The destructor stops as well.
  void stop();

  // Open only while the session's link is: a loss shows at once, before the
  // keeper opens the link again.
  Link link() const;
  static const char* linkName(Link link);

  Reply status();
  Reply getParameter(const std::string& path);
  Reply setParameter(const std::string& path, const std::string& value);
  Reply programs();
  Reply recall(const std::string& number);
  // Stores the working state as program `number` under `name`.
  Reply store(const std::string& number, const std::string& name);
  // Reads all thirty programs from the device: the bytes of an
  // all-programs file, or the refusal.
  std::variant<std::string, Reply> backup();
  // Stores all thirty programs of the all-programs file `bytes` into the
  // device.
  Reply restore(const std::string& bytes);
  Reply meters();

  // The session's image, read by the change feed.
  ParameterImage& image() { return session_.image(); }
  // Asks the device for new levels (the worker polls them while this is set).
  void askForLevels();

 private:
  // 409 unless the link is open.
  std::optional<Reply> withoutLink() const;
  // Takes the session for a command: a refusal instead when the link is not
  // open, or goes while waiting (the keeper then holds the session for the
  // whole open), or the session stays busy longer than kDeviceWait.
  std::optional<Reply> takeSession(std::unique_lock<std::mutex>& lock);
  // Runs `work` on the session once no other command holds it.
  Reply onSession(const std::function<Reply()>& work);
  // Keeps why the link failed, then tells `report` (on the keeper's thread).
  editor::LinkSupervisor::Report noting(editor::LinkSupervisor::Report report);

  std::string linkText_;
  mutable std::mutex errorMutex_;
  std::string lastError_;  // under errorMutex_; empty until the link first failed
  std::mutex sessionMutex_;
  editor::EditorSession session_;
  editor::LinkSupervisor keeper_;
};

}  // namespace orvane::server
