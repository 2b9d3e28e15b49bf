#pragma once

// orvanectl from the command line to the exit status: reads the options,
// checks the command before opening any link, connects, runs the command
// (or a batch from standard input) and writes the outcome — text, or JSON
// with --json — with errors as one line on standard error.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli::Application {

// `args` without the program name; `environmentConnect` may be null.
int run(const std::vector<std::string>& args, const char* environmentConnect, std::istream& in,
        std::ostream& out, std::ostream& err);

}  // namespace orvane::cli::Application
