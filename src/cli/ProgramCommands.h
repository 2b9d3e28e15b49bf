#pragma once

// The device's thirty programs and the program files: list, recall, store
// and delete on the device (its system locks honoured as the editor honours
// them), and one program or all thirty to and from the editor's files.

#include "cli/CommandContext.h"

namespace orvane::cli::ProgramCommands {

Outcome list(CommandContext& context, const Words& args);
Outcome recall(CommandContext& context, const Words& args);
Outcome store(CommandContext& context, const Words& args);
Outcome erase(CommandContext& context, const Words& args);
Outcome saveOne(CommandContext& context, const Words& args);
Outcome loadOne(CommandContext& context, const Words& args);
Outcome backup(CommandContext& context, const Words& args);
Outcome restore(CommandContext& context, const Words& args);

}  // namespace orvane::cli::ProgramCommands
