#include "server/ApiResource.h"

#include <array>
#include <utility>

#include "server/HttpLimits.h"

namespace orvane::server {

namespace {

using Kind = ApiResource::Kind;

constexpr std::array<std::pair<std::string_view, Kind>, 8> kFixed{{
    {"/api/login", Kind::Login},
    {"/api/status", Kind::Status},
    {"/api/panel", Kind::Panel},
    {"/api/programs", Kind::Programs},
    {"/api/meters", Kind::Meters},
    {"/api/events", Kind::Events},
    {"/api/backup", Kind::Backup},
    {HttpLimits::kFileTarget, Kind::Restore},
}};

}  // namespace

std::optional<std::string> between(std::string_view path, std::string_view head, std::string_view tail) {
  if (!path.starts_with(head) || !path.ends_with(tail) || path.size() <= head.size() + tail.size())
    return std::nullopt;
  return std::string(path.substr(head.size(), path.size() - head.size() - tail.size()));
}

ApiResource ApiResource::of(std::string_view target) {
  ApiResource resource;
  resource.path = target.substr(0, target.find('?'));
  for (const auto& [path, kind] : kFixed)
    if (resource.path == path) resource.kind = kind;
  if (auto number = between(resource.path, "/api/programs/", "/recall")) {
    resource.kind = Kind::Recall;
    resource.part = std::move(*number);
  } else if (auto stored = between(resource.path, "/api/programs/", "/store")) {
    resource.kind = Kind::Store;
    resource.part = std::move(*stored);
  } else if (auto name = between(resource.path, "/api/params/", "")) {
    resource.kind = Kind::Parameter;
    resource.part = std::move(*name);
  }
  return resource;
}

std::string_view ApiResource::methods() const {
  switch (kind) {
    case Kind::Login:
    case Kind::Recall:
    case Kind::Store:
    case Kind::Restore:
      return "POST";
    case Kind::Events:
    case Kind::Backup:
      return "GET";
    case Kind::Parameter:
      return "GET, HEAD, PUT";
    case Kind::Unknown:
      return "";
    default:
      return "GET, HEAD";
  }
}

bool ApiResource::answers(http::verb method) const {
  const std::string_view allowed = methods();
  for (std::size_t at = 0; at < allowed.size();) {
    const std::size_t end = std::min(allowed.find(", ", at), allowed.size());
    if (http::string_to_verb(allowed.substr(at, end - at)) == method) return true;
    at = end + 2;
  }
  return false;
}

}  // namespace orvane::server
