#include "bridge/BridgeOptions.h"

#include "transport/SerialPort.h"

namespace orvane {

namespace {
using Error = BridgeOptions::Error;
}  // namespace

std::string BridgeOptions::usage() {
  return "Usage: orvane-bridge (--usb | --serial PORT:ID) [--listen ADDR[:PORT]] [--allow ADDR[/BITS]]...\n"
         "Serves a KVS7304 attached to this computer by USB or on an RS-485 bus to editors on\n"
         "other computers: they connect over the network link (orvane --connect net:ADDR:PORT,\n"
         "or orvanectl) as to a device with a network module. One client at a time; one that\n"
         "sends nothing for a minute is let go, so that another can connect.\n"
         "A device serves one link at a time: while the bridge runs it holds the device's link,\n"
         "so editors, orvanectl and orvane-server on other computers all go through the bridge.\n"
         "\n"
         "  --usb                the device on USB\n"
         "  --serial PORT:ID     the device with this ID on the RS-485 bus at PORT (e.g. ttyUSB0:1 or\n"
         "                       /dev/ttyUSB0:1: a name without a folder is looked up in /dev)\n"
         "  --listen ADDR[:PORT]\n"
         "                       the address to listen on (default 127.0.0.1:8899, this computer\n"
         "                       only); PORT 0 takes a free port, named in the log\n"
         "  --allow ADDR[/BITS]  let in only clients from this address or network; may be repeated\n"
         "  --help               this text\n"
         "\n"
         "The device protocol has no authentication of its own: whoever reaches the port can\n"
         "change and erase everything on the device. Listen on another address than 127.0.0.1\n"
         "only on a network you trust, and name the editors' computers with --allow.\n"
         "The log of connections goes to standard error; refused ones are logged once a minute\n"
         "per address, with their count.\n";
}

BridgeOptions::Parsed BridgeOptions::parse(const std::vector<std::string>& args) {
  BridgeOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return Help{};
    if (arg == "--usb" || arg == "--serial") {
      if (options.device.link != LinkType::None)
        return Error{"name one device: --usb or one --serial PORT:ID, not '" + arg + "' as well"};
    }
    if (arg == "--usb") {
      options.device = *ConnectTarget::parse("usb");
      continue;
    }
    if (arg != "--serial" && arg != "--listen" && arg != "--allow")
      return Error{"unknown option '" + arg + "'"};
    if (i + 1 == args.size()) return Error{"'" + arg + "' needs a value"};
    const std::string& value = args[++i];
    if (arg == "--serial") {
      const auto target = ConnectTarget::parse("serial:" + value);
      if (!target) return Error{"'" + value + "' is not PORT:ID with an ID 1..250"};
      options.device = *target;
      options.device.address = SerialPort::devicePath(target->address);
    } else if (arg == "--listen") {
      const auto endpoint = parseListenEndpoint(value, BridgeOptions::kDefaultPort);
      if (!endpoint) return Error{"'" + value + "' is not an IPv4 address with an optional :PORT"};
      options.listen = *endpoint;
    } else {
      const auto rule = AllowList::parseRule(value);
      if (!rule) return Error{"'" + value + "' is not an IPv4 address or ADDR/BITS"};
      options.allow.add(*rule);
    }
  }
  if (options.device.link == LinkType::None) return Error{"name the device: --usb or --serial PORT:ID"};
  return options;
}

}  // namespace orvane
