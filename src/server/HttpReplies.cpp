#include "server/HttpReplies.h"

namespace orvane::server::HttpReplies {

Response json(http::status status, const control::Json& body) {
  Response response(status, 11);
  response.set(http::field::content_type, "application/json");
  response.set(http::field::cache_control, "no-store");
  response.body() = control::DeviceJson::dump(body);
  return response;
}

Response error(http::status status, const std::string& message) {
  return json(status, control::Json{{"error", message}});
}

Response wrongMethod(std::string_view allowed, const std::string& message) {
  Response response = error(http::status::method_not_allowed, message);
  response.set(http::field::allow, allowed);
  return response;
}

}  // namespace orvane::server::HttpReplies
