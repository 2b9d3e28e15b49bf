#pragma once

// orvanectl diff A [B]: the parameters whose values differ between two
// programs, each side a one-program file, "device" (the working state) or
// "program:N" (stored program N, read from the device). B is the device's
// working state unless given. Like diff(1) it exits with 0 when the sides
// are equal and 1 when they differ; two files need no link.

#include <string>

#include "cli/CommandContext.h"
#include "cli/Outcome.h"
#include "model/ProductVariant.h"

namespace orvane::cli::DiffCommand {

// Whether every side `args` names is a file: the comparison needs no link.
bool offline(const Words& args);
// The usage error of a side that is no program: "program:31".
std::string check(const Words& args);
// Compares two program files of `variant`'s model.
Outcome files(const Words& args, const ProductVariant& variant);
// Compares on an open session; a side may be the device.
Outcome run(CommandContext& context, const Words& args);

}  // namespace orvane::cli::DiffCommand
