#pragma once

// What one orvanectl command gives back: its text for people, its value for
// --json, and the exit status — 0 done, 1 the device refused, the link
// failed or a file could not be read or written, 2 the command itself was
// wrong (then `error` names the bad part).

#include <string>

#include "control/DeviceJson.h"
#include "platform/AtomicFile.h"

namespace orvane::cli {

using control::Json;

struct Outcome {
  enum Status { Done = 0, Failed = 1, UsageError = 2 };

  int status = Done;
  std::string error;
  std::string text;  // lines, each ending in a newline
  Json json;

  static Outcome done(std::string text, Json json) { return {Done, {}, std::move(text), std::move(json)}; }
  // Status 1 without an error: what was compared differs, as with diff(1).
  static Outcome differ(std::string text, Json json) {
    return {Failed, {}, std::move(text), std::move(json)};
  }
  static Outcome usage(std::string error) { return {UsageError, std::move(error), {}, {}}; }
  static Outcome device(std::string error) { return {Failed, std::move(error), {}, {}}; }
  // A file that could not be read: what it was and why.
  static Outcome unreadable(const std::string& path, const std::string& why = {}) {
    return {Failed, "cannot read the file '" + path + "'" + (why.empty() ? "" : ": " + why), {}, {}};
  }
  // A file (`what`: "the file", "the workbook") that was not written: why,
  // and whether the one that was there is kept.
  static Outcome notWritten(const std::string& what, const std::string& path,
                            const AtomicFile::Result& result) {
    return {Failed, "cannot write " + what + " '" + path + "': " + result.explain(), {}, {}};
  }
  // Done, or the device's failure when `error` is not empty.
  static Outcome unless(const std::string& error, std::string text, Json json) {
    return error.empty() ? done(std::move(text), std::move(json)) : device(error);
  }
  bool ok() const { return status == Done; }
};

}  // namespace orvane::cli
