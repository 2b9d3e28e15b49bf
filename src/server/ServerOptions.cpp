#include "server/ServerOptions.h"

#include <algorithm>

namespace orvane::server {

namespace {

using Error = ServerOptions::Error;

constexpr std::size_t kShortestCode = 6;

bool printable(const std::string& code) {
  return std::ranges::all_of(code, [](char c) { return c > ' ' && c < 0x7F && c != ';' && c != ','; });
}

}  // namespace

std::string ServerOptions::usage() {
  return "usage: orvane-server [--connect LINK] [--listen ADDR[:PORT]] [--code CODE] [--panel FILE]\n"
         "Serves a control page and an HTTP API for the people who run the room: master level\n"
         "and mutes, channel gains and mutes, program recall and live meters, on top of one\n"
         "link to the device that it keeps open.\n"
         "\n"
         "  --connect LINK       usb, net:ADDR[:PORT] or serial:PORT:ID (default: ORVANE_CONNECT)\n"
         "  --listen ADDR[:PORT] the address to serve on (default 127.0.0.1:8080, this computer\n"
         "                       only); PORT 0 takes a free port, named at start\n"
         "  --code CODE          the access code (at least 6 characters); without it the code\n"
         "                       kept in ~/.config/orvane/server-code is used, made and printed\n"
         "                       once at the first start\n"
         "  --panel FILE         a JSON file choosing the channels and controls the page shows\n"
         "  --help               this text\n";
}

ServerOptions::Parsed ServerOptions::parse(const std::vector<std::string>& args,
                                           const char* environmentConnect) {
  ServerOptions options;
  if (environmentConnect) options.connectText = environmentConnect;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Help{};
    if (arg != "--connect" && arg != "--listen" && arg != "--code" && arg != "--panel")
      return Error{"unknown option '" + arg + "'"};
    if (i + 1 == args.size()) return Error{"'" + arg + "' needs a value"};
    const std::string& value = args[++i];
    if (arg == "--connect") {
      options.connectText = value;
    } else if (arg == "--listen") {
      const auto endpoint = parseListenEndpoint(value, ServerOptions::kDefaultPort);
      if (!endpoint) return Error{"'" + value + "' is not an IPv4 address with an optional :PORT"};
      options.listen = *endpoint;
    } else if (arg == "--code") {
      if (value.size() < kShortestCode || !printable(value))
        return Error{"the access code needs at least 6 characters without blanks, ';' or ','"};
      options.code = value;
    } else {
      options.panelFile = value;
    }
  }
  if (options.connectText.empty()) return Error{"no link given: use --connect or set ORVANE_CONNECT"};
  const auto target = ConnectTarget::parse(options.connectText);
  if (!target)
    return Error{"'" + options.connectText + "' is no link: usb, net:ADDR[:PORT] or serial:PORT:ID"};
  options.device = *target;
  return options;
}

}  // namespace orvane::server
