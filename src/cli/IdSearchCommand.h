#pragma once

// orvanectl search-id serial:PORT: probes device IDs 1..250 on an RS-485
// bus with the editor's ID search and lists the IDs that answered. It needs
// no device link of its own: the search opens the port itself.

#include <iosfwd>
#include <string>

#include "cli/Outcome.h"
#include "model/ProductVariant.h"

namespace orvane::cli::IdSearchCommand {

// Usage text of the argument when it names no serial port; empty when it does.
std::string checkPort(const std::string& link);
// Searches the bus; with `showProgress` the ID being probed is shown on
// `progress` as the search goes.
Outcome run(const std::string& link, const ProductVariant& variant, std::ostream& progress,
            bool showProgress);

}  // namespace orvane::cli::IdSearchCommand
