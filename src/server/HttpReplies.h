#pragma once

// Responses in the server's one format: JSON, never cached.

#include <string>

#include "cli/Outcome.h"
#include "server/HttpTypes.h"

namespace orvane::server::HttpReplies {

Response json(http::status status, const cli::Json& body);
// {"error": message}
Response error(http::status status, const std::string& message);

}  // namespace orvane::server::HttpReplies
