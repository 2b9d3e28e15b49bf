#pragma once

// The command line of orvane-server: the device to keep connected and its
// model, where to listen, the installer's and the room's access codes and
// the panel layout.

#include <string>
#include <variant>
#include <vector>

#include "link/ConnectTarget.h"
#include "model/ProductVariant.h"
#include "transport/NetEndpoint.h"

namespace orvane::server {

struct ServerOptions {
  static constexpr int kDefaultPort = 8080;

  std::string connectText;  // as given: "net:192.0.2.20", "usb", ...
  ConnectTarget device;
  ProductVariant model = ProductVariant::builtDefault();
  NetEndpoint listen{"127.0.0.1", kDefaultPort};
  std::string code;                // from --code or ORVANE_SERVER_CODE; empty: codeFile or the stored one
  std::string codeFile;            // empty: the stored one, made at first start
  std::string roomCode;            // from --room-code or ORVANE_ROOM_CODE; empty: roomCodeFile
  std::string roomCodeFile;        // empty with roomCode: no room code, the one code is full control
  std::string panelFile;           // empty: every channel and control
  std::vector<std::string> hosts;  // further names the server answers for
  bool behindProxy = false;        // trust X-Forwarded-Proto from a reverse proxy

  struct Help {};
  struct Error {
    std::string message;  // one line naming the bad part
  };
  using Parsed = std::variant<ServerOptions, Help, Error>;

  // `environmentConnect` (ORVANE_CONNECT), `environmentCode`
  // (ORVANE_SERVER_CODE) and `environmentRoomCode` (ORVANE_ROOM_CODE) may
  // be null.
  static Parsed parse(const std::vector<std::string>& args, const char* environmentConnect,
                      const char* environmentCode = nullptr, const char* environmentRoomCode = nullptr);
  static std::string usage();
};

}  // namespace orvane::server
