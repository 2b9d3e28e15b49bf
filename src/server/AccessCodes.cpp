#include "server/AccessCodes.h"

namespace orvane::server {

std::optional<AccessLevel> AccessCodes::levelOf(std::string_view given) const {
  const bool installer = installer_.matches(given);
  const bool room = room_ && room_->matches(given);
  if (installer) return AccessLevel::Installer;
  if (room) return AccessLevel::Room;
  return std::nullopt;
}

}  // namespace orvane::server
