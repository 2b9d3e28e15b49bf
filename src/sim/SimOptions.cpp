#include "sim/SimOptions.h"

#include "platform/ParseNumber.h"
#include "sim/DeviceState.h"
#include "sim/SimBus.h"

namespace orvane {

namespace {

constexpr int kMaxDeviceId = 250;

// "ADDRESS:PORT", "ADDRESS", ":PORT" or a bare "PORT" (on this computer
// only, as by default).
bool parseListen(const std::string& text, SimOptions& options) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) {
    if (const auto port = parseNumber(text, 0, 65535)) {
      options.listenPort = *port;
      return true;
    }
    options.listenAddress = text;
    return !text.empty();
  }
  if (colon > 0) options.listenAddress = text.substr(0, colon);
  const auto port = parseNumber(text.substr(colon + 1), 0, 65535);
  if (!port) return false;
  options.listenPort = *port;
  return true;
}

}  // namespace

std::optional<std::string> SimOptions::parse(const std::vector<std::string>& args, SimOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    auto count = [&](int& target, int lowest, int highest) -> std::optional<std::string> {
      const auto text = value();
      const auto n = text ? parseNumber(*text, lowest, highest) : std::nullopt;
      if (!n)
        return arg + " needs a number from " + std::to_string(lowest) + " to " + std::to_string(highest);
      target = *n;
      return std::nullopt;
    };
    std::optional<std::string> error;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--listen") {
      const auto text = value();
      if (!text || !parseListen(*text, options)) error = "--listen needs ADDRESS:PORT, ADDRESS or PORT";
    } else if (arg == "--serial") {
      if (!SimBus::unavailable().empty()) error = std::string(SimBus::unavailable());
      options.serial = true;
    } else if (arg == "--id") {
      int id = 0;
      error = count(id, 1, kMaxDeviceId);
      if (!error) options.deviceIds.push_back(id);
    } else if (arg == "--model") {
      const auto text = value();
      const auto model = text ? ProductVariant::named(*text) : std::nullopt;
      if (model)
        options.model = *model;
      else
        error = ProductVariant::refusal(text.value_or(""));
    } else if (arg == "--firmware") {
      const auto text = value();
      if (!text || text->empty() || text->size() > 8)
        error = "--firmware needs a version text of 1 to 8 characters";
      else
        options.firmware = *text;
    } else if (arg == "--state") {
      const auto text = value();
      if (!text || text->empty())
        error = "--state needs a file name";
      else
        options.stateFile = *text;
    } else if (arg == "--moving-levels") {
      options.movingLevels = true;
    } else if (arg == "--corrupt-every") {
      error = count(options.faults.corruptEvery, 1, 1000000);
    } else if (arg == "--drop-every") {
      error = count(options.faults.dropEvery, 1, 1000000);
    } else if (arg == "--delay-ms") {
      error = count(options.replyDelayMs, 0, 600000);
    } else if (arg == "--close-after") {
      error = count(options.closeAfterFrames, 1, 1000000);
    } else if (arg == "--fail-check") {
      options.faults.failConnectionCheck = true;
    } else {
      error = "unknown option " + arg;
    }
    if (error) return error;
  }
  return std::nullopt;
}

std::string SimOptions::firmwareText() const {
  return firmware.empty() ? DeviceState::factoryFirmware(model) : firmware;
}

std::string SimOptions::usage() {
  const std::string model = std::to_string(ProductVariant::builtDefault().modelCode);
  return "Usage: orvane-sim [options]\n"
         "Simulates a KVS7304 or KVS736 audio matrix processor for the Orvane editor.\n"
         "\n"
         "Links:\n"
         "  --listen ADDRESS:PORT  serve the network link on this TCP address (default 127.0.0.1:8899;\n"
         "                         a bare PORT is 127.0.0.1:PORT; port 0 picks a free port, printed\n"
         "                         at start). Like a device, it serves one network link at a time:\n"
         "                         a new connection replaces the one before\n"
         "  --serial               also serve an RS-485 bus on a pseudo-terminal; its path is printed\n"
         "  --id N                 a device ID on the bus, 1..250; repeat for several devices (default 1)\n"
         "\n"
         "Device:\n"
         "  --model M              the model simulated, 7304 or 736 (default " +
         model +
         "); a new device reports its\n"
         "                         firmware: J-DV1.20 for 7304, S-DV1.20 for 736\n"
         "  --firmware TEXT        the firmware version the device reports instead\n"
         "  --state FILE           load the device state from FILE at start (a new file starts from the\n"
         "                         factory state), save it on change and at exit\n"
         "  --moving-levels        keep the level meters moving\n"
         "\n"
         "Faults:\n"
         "  --corrupt-every N      send every Nth reply with a wrong checksum\n"
         "  --drop-every N         never send every Nth reply\n"
         "  --delay-ms N           wait N milliseconds before each reply\n"
         "  --close-after N        close the TCP connection after N frames\n"
         "  --fail-check           answer the connection check with 1 (device not ready)\n"
         "\n"
         "  --help                 show this text\n"
         "\n"
         "At exit it prints how many replies it made, and how many of them it corrupted and dropped.\n";
}

}  // namespace orvane
