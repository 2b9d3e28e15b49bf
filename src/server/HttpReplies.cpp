#include "server/HttpReplies.h"

namespace orvane::server::HttpReplies {

Response json(http::status status, const cli::Json& body) {
  Response response(status, 11);
  response.set(http::field::content_type, "application/json");
  response.set(http::field::cache_control, "no-store");
  response.body() = cli::Outcome::dump(body);
  return response;
}

Response error(http::status status, const std::string& message) {
  return json(status, cli::Json{{"error", message}});
}

}  // namespace orvane::server::HttpReplies
