// orvane-server: a control page and an HTTP API for the people who run the
// room, on one link to the device that it keeps open, until it is
// interrupted.

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/LocalTime.h"
#include "platform/StopSignals.h"
#include "server/AccessCodes.h"
#include "server/ChangeFeed.h"
#include "server/DeviceService.h"
#include "server/HttpApi.h"
#include "server/Panel.h"
#include "server/ServerOptions.h"

namespace {

using namespace orvane;
using namespace orvane::server;

constexpr auto kLongestShutdown = std::chrono::milliseconds(1500);

int fail(const std::string& message) {
  std::fprintf(stderr, "orvane-server: %s\n", message.c_str());
  return 1;
}

// The panel file's layout, or everything when none was named.
std::variant<Json, std::string> panelOf(const ServerOptions& options) {
  if (options.panelFile.empty()) return Panel::everything();
  std::ifstream file(options.panelFile);
  if (!file) return "cannot read the panel file " + options.panelFile;
  std::stringstream text;
  text << file.rdbuf();
  auto parsed = Panel::parse(text.str());
  if (auto* error = std::get_if<std::string>(&parsed)) *error = options.panelFile + ": " + *error;
  return parsed;
}

// A line of the log on standard error, with the local time: a service's
// journal, and a person reading it in a terminal, see when the link changed.
[[gnu::format(printf, 1, 2)]] void log(const char* format, ...) {
  const std::tm local = localTime(std::time(nullptr));
  std::array<char, 32> stamp{};
  std::strftime(stamp.data(), stamp.size(), "%Y-%m-%d %H:%M:%S", &local);
  std::fprintf(stderr, "%s orvane-server: ", stamp.data());
  std::va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

// Each change of the device link, once: an open that fails the same way
// again is not told again.
void logLink(const ServerOptions& options, const editor::LinkSupervisor::Change& change) {
  using State = editor::LinkSupervisor::State;
  const char* link = options.connectText.c_str();
  const int retry = static_cast<int>(editor::LinkSupervisor::kRetry.count());
  if (change.state == State::Open)
    log("the link to the device on %s is open", link);
  else if (change.error.empty())
    log("lost the link to the device on %s: %s; opening it again in %d s", link,
        change.event ? change.event->text().c_str() : "no reason given", retry);
  else
    log("no link to the device on %s: %s; trying again every %d s", link, change.error.c_str(), retry);
}

// The installer code given, the one in the code file named, or the one
// kept for this user (made and printed once).
std::variant<AccessCode, std::string> installerCode(const ServerOptions& options) {
  if (!options.code.empty()) return AccessCode(options.code);
  std::string code;
  if (!options.codeFile.empty()) {
    if (std::string error = AccessCode::readFile(options.codeFile, code); !error.empty()) return error;
    return AccessCode(code);
  }
  bool made = false;
  const auto file = AccessCode::defaultFile();
  if (std::string error = AccessCode::loadOrMake(file, code, made); !error.empty()) return error;
  if (made)
    std::printf("orvane-server: the installer code is %s (kept in %s; give --code-file to choose another)\n",
                code.c_str(), file.string().c_str());
  return AccessCode(code);
}

// Both codes; the room code only when one was given, and never the
// installer's own.
std::variant<AccessCodes, std::string> codesOf(const ServerOptions& options) {
  auto installer = installerCode(options);
  if (auto* error = std::get_if<std::string>(&installer)) return std::move(*error);
  std::string room = options.roomCode;
  if (!options.roomCodeFile.empty())
    if (std::string error = AccessCode::readFile(options.roomCodeFile, room); !error.empty()) return error;
  if (room.empty()) return AccessCodes(std::get<AccessCode>(std::move(installer)));
  if (std::get<AccessCode>(installer).matches(room))
    return "the room code and the installer code must differ";
  return AccessCodes(std::get<AccessCode>(std::move(installer)), AccessCode(room));
}

int serve(const ServerOptions& options) {
  const StopSignals stop;
  const auto panel = panelOf(options);
  if (const auto* error = std::get_if<std::string>(&panel)) return fail(*error);
  auto codes = codesOf(options);
  if (const auto* error = std::get_if<std::string>(&codes)) return fail(*error);

  DeviceService device(
      options.device, options.connectText,
      {.variant = options.model,
       .report = [&options](const editor::LinkSupervisor::Change& change) { logLink(options, change); }});
  ChangeFeed feed(device);
  HttpApi api(device, feed, std::get<AccessCodes>(std::move(codes)), std::get<Json>(panel),
              RequestOrigin(options.listen, options.hosts, options.behindProxy));
  if (const std::string error = api.bind(options.listen); !error.empty()) return fail(error);
  std::printf("orvane-server: serving http://%s:%d/ for the device on %s\n", options.listen.host.c_str(),
              api.port(), options.connectText.c_str());
  std::fflush(stdout);
  log("opening the link to the device on %s", options.connectText.c_str());
  device.start();
  feed.start();
  std::thread http([&api] { api.run(); });
  stop.wait();
  // The server keeps nothing that must be saved: should the link layer
  // still be inside a connection attempt it cannot cut short, the process
  // ends anyway after this long.
  std::thread([] {
    std::this_thread::sleep_for(kLongestShutdown);
    std::_Exit(0);
  }).detach();
  // The device first: a command waiting for it would hold up the HTTP side,
  // and an open in progress the end of the keeper.
  device.stop();
  api.stop();
  http.join();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const ServerOptions::Parsed parsed =
      ServerOptions::parse(std::vector<std::string>(argv + 1, argv + argc), std::getenv("ORVANE_CONNECT"),
                           std::getenv("ORVANE_SERVER_CODE"), std::getenv("ORVANE_ROOM_CODE"));
  if (std::holds_alternative<ServerOptions::Help>(parsed)) {
    std::fputs(ServerOptions::usage().c_str(), stdout);
    return 0;
  }
  if (const auto* error = std::get_if<ServerOptions::Error>(&parsed)) {
    std::fprintf(stderr, "orvane-server: %s (see orvane-server --help)\n", error->message.c_str());
    return 2;
  }
  return serve(std::get<ServerOptions>(parsed));
}
