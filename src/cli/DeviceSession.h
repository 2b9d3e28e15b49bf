#pragma once

// One connection of a command-line tool to a device, on the editor's core:
// the image, the link machinery with the machine's real links, the link
// groups and, for the report, the filter models. Opening it does the full
// read the editor does; settle() returns once everything edited or queued
// has reached the device. Every wait ends early when the link is lost.
//
// Errors come back as one line of text for the user; empty means success.

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "cli/CliNotifier.h"
#include "dsp/ChannelFilters.h"
#include "link/ConnectTarget.h"
#include "link/ConnectionManager.h"
#include "link/LinkGroups.h"

namespace orvane::cli {

class DeviceSession {
 public:
  using Seconds = std::chrono::seconds;

  // The device's own timing, except the local pauses a short command
  // would spend most of its time in.
  static Timings defaultTimings();

  explicit DeviceSession(const Timings& timings = defaultTimings());
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Opens the link and waits for the full read and the firmware check. A
  // session closed (or whose link was lost) may be opened again.
  std::string open(const ConnectTarget& target, Seconds timeout = Seconds(60));
  // Waits until every changed row and queued frame reached the device.
  std::string settle(Seconds timeout = Seconds(300));
  // Waits until `message` arrived `count` times in all.
  std::string waitFor(Message message, int count, Seconds timeout = Seconds(300));
  void close();

  ParameterImage& image() { return image_; }
  Command& command() { return command_; }
  LinkGroups& links() { return links_; }
  CliNotifier& notifier() { return notifier_; }
  ChannelFilters& filters();
  // Whether the link opened last was reported lost.
  bool linkLost() const { return sinceOpen(Message::LinkLost) > 0; }
  // How often `message` arrived since the link was opened last.
  int sinceOpen(Message message) const;
  // The device's version text, e.g. "J-DV1.20".
  std::string firmware() const;

 private:
  // Polls `done` until it holds; an error when the link is lost or the
  // time is up.
  template <class Done>
  std::string waitUntil(Done&& done, Seconds timeout, const char* what);
  std::string checkFirmware() const;

  ParameterImage image_;
  CliNotifier notifier_;
  // The counts of the messages the waits look at when the link was opened.
  std::map<Message, int> atOpen_;
  Command command_;
  ConnectionManager connection_;
  LinkGroups links_;
  std::unique_ptr<ChannelFilters> filters_;
};

}  // namespace orvane::cli
