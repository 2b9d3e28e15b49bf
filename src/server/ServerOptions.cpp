#include "server/ServerOptions.h"

#include <algorithm>
#include <array>

#include "server/AccessCode.h"

namespace orvane::server {

namespace {

using Error = ServerOptions::Error;

constexpr std::array<const char*, 7> kWithValue{"--connect",   "--model", "--listen", "--code",
                                                "--code-file", "--panel", "--host"};

}  // namespace

std::string ServerOptions::usage() {
  return "usage: orvane-server [--connect LINK] [--model 7304|736] [--listen ADDR[:PORT]] [--code-file "
         "FILE]\n"
         "                     [--panel FILE] [--host NAME]... [--behind-proxy]\n"
         "Serves a control page and an HTTP API for the people who run the room: master level\n"
         "and mutes, channel gains and mutes, program recall and live meters, on top of one\n"
         "link to the device that it keeps open.\n"
         "A device serves one link at a time, and a new link takes it from this server: while it\n"
         "runs, let orvanectl go through it with --connect server:ADDR[:PORT].\n"
         "\n"
         "  --connect LINK       usb, net:ADDR[:PORT] or serial:PORT:ID (default: ORVANE_CONNECT)\n"
         "  --model M            the device's model, 7304 or 736 (default " +
         std::to_string(ProductVariant::builtDefault().modelCode) +
         ")\n"
         "  --listen ADDR[:PORT] the address to serve on (default 127.0.0.1:8080, this computer\n"
         "                       only); PORT 0 takes a free port, named at start\n"
         "  --code-file FILE     read the access code (at least 6 characters) from FILE, which\n"
         "                       must be yours with mode 0600; or set ORVANE_SERVER_CODE. Without\n"
         "                       either, the code kept in ~/.config/orvane/server-code is used,\n"
         "                       made and printed once at the first start\n"
         "  --code CODE          the access code on the command line, for tests: every local\n"
         "                       user can read it there\n"
         "  --host NAME          a further host name the server answers for (the room PC's name,\n"
         "                       or the name of a reverse proxy in front of it); requests naming\n"
         "                       any other host are refused. May be given more than once\n"
         "  --behind-proxy       a TLS reverse proxy forwards to this server: trust its\n"
         "                       X-Forwarded-Proto and mark the login cookie Secure\n"
         "  --panel FILE         a JSON file choosing the channels and controls the page shows\n"
         "  --help               this text\n";
}

ServerOptions::Parsed ServerOptions::parse(const std::vector<std::string>& args,
                                           const char* environmentConnect, const char* environmentCode) {
  ServerOptions options;
  if (environmentConnect) options.connectText = environmentConnect;
  // A wrong link is told where it came from: a service's variable is easily
  // overlooked.
  const char* connectOrigin = environmentConnect ? " (from ORVANE_CONNECT)" : "";
  if (environmentCode && *environmentCode) {
    if (const std::string wrong = AccessCode::check(environmentCode); !wrong.empty())
      return Error{"ORVANE_SERVER_CODE: " + wrong};
    options.code = environmentCode;
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Help{};
    if (arg == "--behind-proxy") {
      options.behindProxy = true;
      continue;
    }
    if (std::ranges::find(kWithValue, arg) == kWithValue.end()) return Error{"unknown option '" + arg + "'"};
    if (i + 1 == args.size()) return Error{"'" + arg + "' needs a value"};
    const std::string& value = args[++i];
    if (arg == "--connect") {
      options.connectText = value;
      connectOrigin = "";
    } else if (arg == "--model") {
      const auto model = ProductVariant::named(value);
      if (!model) return Error{ProductVariant::refusal(value)};
      options.model = *model;
    } else if (arg == "--listen") {
      const auto endpoint = parseListenEndpoint(value, ServerOptions::kDefaultPort);
      if (!endpoint) return Error{"'" + value + "' is not an IPv4 address with an optional :PORT"};
      options.listen = *endpoint;
    } else if (arg == "--code") {
      if (const std::string wrong = AccessCode::check(value); !wrong.empty()) return Error{wrong};
      options.code = value;
    } else if (arg == "--code-file") {
      options.codeFile = value;
    } else if (arg == "--host") {
      if (value.empty() || value.find_first_of(" /:") != std::string::npos)
        return Error{"'" + value + "' is no host name"};
      options.hosts.push_back(value);
    } else {
      options.panelFile = value;
    }
  }
  if (!options.code.empty() && !options.codeFile.empty())
    return Error{"give the access code one way only: --code, --code-file or ORVANE_SERVER_CODE"};
  if (options.connectText.empty()) return Error{"no link given: use --connect or set ORVANE_CONNECT"};
  const auto target = ConnectTarget::parse(options.connectText);
  if (!target) return Error{ConnectTarget::refusal(options.connectText) + connectOrigin};
  options.device = *target;
  return options;
}

}  // namespace orvane::server
