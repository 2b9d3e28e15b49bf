#pragma once

// What a request to /api/ names: one of the API's resources, with the
// program number or parameter name in its path, and the methods that
// resource answers. A known resource asked with another method is refused
// with 405 and the methods it does answer.

#include <optional>
#include <string>
#include <string_view>

#include "server/HttpTypes.h"

namespace orvane::server {

// "/api/programs/5/recall" → "5": what lies between `head` and `tail`.
std::optional<std::string> between(std::string_view path, std::string_view head, std::string_view tail);

struct ApiResource {
  enum class Kind {
    Login,
    Status,
    Panel,
    Programs,
    Meters,
    Events,
    Recall,
    Store,
    Backup,
    Restore,
    Parameter,
    Unknown
  };

  Kind kind = Kind::Unknown;
  std::string path;  // without the query
  std::string part;  // the program number or the parameter name, as sent

  static ApiResource of(std::string_view target);

  // The methods the resource answers, as an Allow header names them; empty
  // for an unknown resource.
  std::string_view methods() const;
  bool answers(http::verb method) const;
};

}  // namespace orvane::server
