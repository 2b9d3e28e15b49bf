#pragma once

// What a set-up dialog edits while it is open: the working copy of the
// set-up block and the start-up program, and the way each change reaches
// the image and the device. The working copy is unpacked from the image
// when the session starts; every change packs it into the image again and
// queues the whole block (item 52) under the protocol lock. Without a link
// the change stays in the image.
//
// A session also has the link's worker serve the queue during its idle
// passes, since the set-up frames are queued without waking it.

#include "model/SetupSettings.h"
#include "model/StartupProgram.h"

namespace orvane {

class Command;
class ParameterImage;

class SetupSession {
 public:
  SetupSession(ParameterImage& image, Command& command);
  ~SetupSession();
  SetupSession(const SetupSession&) = delete;
  SetupSession& operator=(const SetupSession&) = delete;

  const SetupSettings& settings() const { return settings_; }

  // Applies `edit` (a SetupSettings setter returning whether the field
  // changed) and sends the block when it did. Returns what `edit` returned.
  template <class Edit>
  bool change(Edit&& edit) {
    if (!edit(settings_)) return false;
    send();
    return true;
  }

  int startupProgram() const { return startup_.index(); }
  // Sends item 24 only when the index differs from the one held.
  bool selectStartupProgram(int index);

 private:
  void send();
  void storeBlock();

  ParameterImage& image_;
  Command& command_;
  SetupSettings settings_;
  StartupProgram startup_;
};

}  // namespace orvane
