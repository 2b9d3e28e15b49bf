#pragma once

// What the device reports: the connection and program status, the level
// meters (once, or watched until interrupted) and the parameter report in
// text, CSV, JSON or a workbook.

#include "cli/CommandContext.h"

namespace orvane::cli::StatusCommands {

// `link`: how the session was connected, as the user named it.
Outcome status(CommandContext& context, const std::string& link);
Outcome meters(CommandContext& context, const Words& args);
Outcome report(CommandContext& context, const Words& args);
// Why the report's options cannot be served, before any link is opened;
// empty when they can.
std::string checkReport(const Words& args);

}  // namespace orvane::cli::StatusCommands
