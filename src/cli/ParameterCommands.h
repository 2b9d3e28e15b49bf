#pragma once

// Reading and writing parameters by their paths, and taking a room
// measurement's filters (a REW filter-settings file) into a channel's
// equaliser. Writes follow the channel's link group unless the run said
// --no-link, and return once the device has them.

#include "cli/CommandContext.h"

namespace orvane::cli::ParameterCommands {

// Whether `word` names a parameter; an error text otherwise.
std::string checkPath(const std::string& word);
// Whether `word` names a channel ("in.A" .. "in.H", "out.1" .. "out.8").
std::string checkChannel(const std::string& word);

Outcome get(CommandContext& context, const Words& args);
Outcome set(CommandContext& context, const Words& args);
Outcome importRew(CommandContext& context, const Words& args);

}  // namespace orvane::cli::ParameterCommands
