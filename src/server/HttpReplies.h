#pragma once

// Responses in the server's one format: JSON, never cached.

#include <string>

#include "control/DeviceJson.h"
#include "server/HttpTypes.h"

namespace orvane::server::HttpReplies {

Response json(http::status status, const control::Json& body);
// {"error": message}
Response error(http::status status, const std::string& message);
// 405 with the methods the resource does answer, as the Allow header says
// them ("GET, HEAD").
Response wrongMethod(std::string_view allowed, const std::string& message);

}  // namespace orvane::server::HttpReplies
