#pragma once

// What became of the editor's link, in the core's terms: every way it ends
// (it could not be opened, the transport gave it up, the device's firmware
// was refused, the network module went away during a rename or a factory
// reset, the device did not finish the full read, the wait for it was given
// up) and what a rename or a reset of the network module came to. The
// editor's window tells its user in a message box, a program without a
// window in one line of text().

#include <string>
#include <utility>

#include "link/FirmwareCheck.h"
#include "model/ConnectionState.h"
#include "transport/LinkFault.h"

namespace orvane::editor {

struct LinkEvent {
  enum class Kind {
    OpenFailed,        // the link could not be opened
    Lost,              // the transport gave the open link up
    FirmwareRefused,   // the device's firmware is not one this editor serves
    RenameLost,        // the link ended while the device took a new network name
    FactoryResetLost,  // the link ended while the network module went back to its factory settings
    RenameDone,        // the device took its new network name over USB or RS-485
    FactoryResetDone,  // the network module went back to its factory settings over USB or RS-485
    SearchEnded,       // the ID search on the RS-485 bus is over
    Unfinished,        // the device did not finish the connection check or the full read in time
    Cancelled,         // the wait for the device was given up
  };

  explicit LinkEvent(Kind kind, LinkType link = LinkType::None, std::string detail = {})
      : kind(kind), link(link), detail(std::move(detail)) {}

  Kind kind;
  LinkType link;
  FirmwareVerdict verdict = FirmwareVerdict::Accepted;  // why the firmware was refused
  // The address that did not open, the refused firmware's version text, or
  // what the device did not finish.
  std::string detail;
  // Why the link did not open, was lost or did not finish, where that is
  // known: its text then names the cause and what to do.
  LinkFault fault;

  // Whether the open link is closed after it: an open that failed left none,
  // and a rename or reset done over USB or RS-485 keeps it.
  bool closesLink() const;
  // One line for the user of a program without a window.
  std::string text() const;
};

}  // namespace orvane::editor
