#pragma once

// The one way the core tells the user interface something. The core never
// touches a window: it posts a message, or reports a progress position or the
// transfer state, and the user interface carries it out on its own thread.
// Implementations must return at once (post, never wait).

#include <cstdint>
#include <string>

namespace orvane {

enum class Message : int {
  GraphChanged = 1124,
  ChannelDataRead = 1134,
  AllProgramsRead = 1135,
  LinkLost = 1136,
  LevelsRead = 1137,
  NetworkOperationDone = 1138,
  SetupLinkLost = 1139,
  FirmwareVersionRead = 1140,
};

class Notifier {
 public:
  virtual ~Notifier() = default;

  virtual void post(Message message, std::intptr_t wParam, std::intptr_t lParam) = 0;
  // The main progress bar.
  virtual void setProgressRange(int lower, int upper) = 0;
  virtual void setProgress(int position) = 0;
  // The progress bar of the connection dialog during an ID search.
  virtual void setIdSearchProgress(int position) = 0;
  // A transfer that drives the progress bar and the transfer popup.
  virtual void setTransferInProgress(bool inProgress) = 0;
  // The serial port failed during an ID search and ended it: the found-ID
  // list of the connection dialog shows what was found so far.
  virtual void idSearchEnded() = 0;
  // A step of setting a port up failed; the port works on regardless. The
  // user interface shows the text with the caption "Application Error".
  virtual void portWarning(const std::string& text) = 0;
};

}  // namespace orvane
