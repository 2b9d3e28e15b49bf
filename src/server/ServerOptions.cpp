#include "server/ServerOptions.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "server/AccessCode.h"

namespace orvane::server {

namespace {

using Error = ServerOptions::Error;

constexpr std::array<const char*, 9> kWithValue{"--connect",        "--model",     "--listen",
                                                "--code",           "--code-file", "--room-code",
                                                "--room-code-file", "--panel",     "--host"};

// Takes a code from a variable of the environment; the error names it.
std::string codeFromEnvironment(const char* value, const char* variable, std::string& code) {
  if (!value || !*value) return {};
  if (const std::string wrong = AccessCode::check(value); !wrong.empty()) return variable + (": " + wrong);
  code = value;
  return {};
}

}  // namespace

std::string ServerOptions::usage() {
  return "Usage: orvane-server [options]\n"
         "Serves a control page and an HTTP API for the people who run the room: master level\n"
         "and mutes, channel gains and mutes, program recall and live meters, on top of one\n"
         "link to the device that it keeps open.\n"
         "\n"
         "A device serves one link at a time: a new link replaces the one before. While the\n"
         "server runs, let scripts and cron jobs go through it (orvanectl --connect\n"
         "server:HOST[:PORT]) rather than open their own link to the device.\n"
         "\n"
         "Two codes: give the installer code (--code-file) only to the installer: it may do\n"
         "everything, every parameter and program, store, backup and restore. Give the room code\n"
         "(--room-code-file) to the people in the room and their room-control system: it may\n"
         "only use what the panel file shows. Without a room code the one code is full control.\n"
         "\n"
         "  --connect LINK       usb, net:ADDR[:PORT] or serial:PORT:ID (default: ORVANE_CONNECT)\n"
         "  --model M            the device's model, 7304 or 736 (default " +
         std::to_string(ProductVariant::builtDefault().modelCode) +
         ")\n"
         "  --listen ADDR[:PORT]\n"
         "                       the address to serve on (default 127.0.0.1:8080, this computer\n"
         "                       only); PORT 0 takes a free port, named at start\n"
         "  --code-file FILE     read the installer code (at least 6 characters) from FILE, which\n"
         "                       must be yours with mode 0600; or set ORVANE_SERVER_CODE. Without\n"
         "                       either, the code kept in ~/.config/orvane/server-code is used,\n"
         "                       made and printed once at the first start\n"
         "  --code CODE          the installer code on the command line, for tests: every local\n"
         "                       user can read it there\n"
         "  --room-code-file FILE\n"
         "                       read the room code from FILE, by the same rules; or set\n"
         "                       ORVANE_ROOM_CODE (--room-code CODE for tests). It must differ\n"
         "                       from the installer code\n"
         "  --host NAME          a further host name the server answers for (the room PC's name,\n"
         "                       or the name of a reverse proxy in front of it); requests naming\n"
         "                       any other host are refused. May be given more than once\n"
         "  --behind-proxy       a TLS reverse proxy forwards to this server: trust its\n"
         "                       X-Forwarded-Proto and mark the login cookie Secure\n"
         "  --panel FILE         a JSON file choosing the channels, controls and programs the\n"
         "                       page shows, and so what the room code may use\n"
         "  --help               this text\n";
}

ServerOptions::Parsed ServerOptions::parse(const std::vector<std::string>& args,
                                           const char* environmentConnect, const char* environmentCode,
                                           const char* environmentRoomCode) {
  ServerOptions options;
  if (environmentConnect) options.connectText = environmentConnect;
  // A wrong link is told where it came from: a service's variable is easily
  // overlooked.
  const char* connectOrigin = environmentConnect ? " (from ORVANE_CONNECT)" : "";
  for (const auto& [value, variable, code] :
       {std::tuple{environmentCode, "ORVANE_SERVER_CODE", &options.code},
        std::tuple{environmentRoomCode, "ORVANE_ROOM_CODE", &options.roomCode}})
    if (std::string wrong = codeFromEnvironment(value, variable, *code); !wrong.empty()) return Error{wrong};
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
    } else if (arg == "--code" || arg == "--room-code") {
      if (const std::string wrong = AccessCode::check(value); !wrong.empty())
        return Error{arg + ": " + wrong};
      (arg == "--code" ? options.code : options.roomCode) = value;
    } else if (arg == "--code-file") {
      options.codeFile = value;
    } else if (arg == "--room-code-file") {
      options.roomCodeFile = value;
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
  if (!options.roomCode.empty() && !options.roomCodeFile.empty())
    return Error{"give the room code one way only: --room-code, --room-code-file or ORVANE_ROOM_CODE"};
  if (!options.roomCode.empty() && options.roomCode == options.code)
    return Error{"the room code and the installer code must differ"};
  if (options.connectText.empty()) return Error{"no link given: use --connect or set ORVANE_CONNECT"};
  const auto target = ConnectTarget::parse(options.connectText);
  if (!target) return Error{ConnectTarget::refusal(options.connectText) + connectOrigin};
  options.device = *target;
  return options;
}

}  // namespace orvane::server
