#pragma once

// orvanectl from the command line to the exit status: reads the options,
// checks the command before opening any link, connects (or goes through a
// running server), runs the command (or a batch from standard input) and
// writes the outcome — text, or JSON
// with --json — with errors as one line on standard error.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli::Application {

// The environment variables orvanectl reads; each may be null.
struct Environment {
  const char* connect = nullptr;     // ORVANE_CONNECT: the link when --connect is not given
  const char* serverCode = nullptr;  // ORVANE_SERVER_CODE: the access code of a server route
};

// `args` without the program name.
int run(const std::vector<std::string>& args, const Environment& environment, std::istream& in,
        std::ostream& out, std::ostream& err);

}  // namespace orvane::cli::Application
