#pragma once

// The server's two codes: the installer's, which may do everything, and,
// when one is given, the room's, which may do only what the panel file
// shows. Without a room code the one code is full control.

#include <optional>
#include <string_view>

#include "server/AccessCode.h"

namespace orvane::server {

enum class AccessLevel { Room, Installer };

class AccessCodes {
 public:
  explicit AccessCodes(AccessCode installer, std::optional<AccessCode> room = std::nullopt)
      : installer_(std::move(installer)), room_(std::move(room)) {}

  // The level `given` opens; nothing for a wrong code. Both codes are
  // always compared, so the time taken does not tell which one was near.
  std::optional<AccessLevel> levelOf(std::string_view given) const;

 private:
  AccessCode installer_;
  std::optional<AccessCode> room_;
};

}  // namespace orvane::server
