#pragma once

// What the server's HTTP side passes around: requests and responses, who
// sent a request, and what a handler answers: a response at once, work for
// the device whose response comes when it is done, or an event stream.

#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace orvane::server {

namespace http = boost::beast::http;

using Request = http::request<http::string_body>;
using Response = http::response<http::string_body>;

struct Peer {
  std::string address;  // "127.0.0.1"
};

// Runs on the work thread, away from the connections.
struct Deferred {
  std::function<Response()> work;
};

// The events of a stream: the next one after the one numbered `seen`
// (which is advanced), or nothing while there is none. Never waits.
struct EventSource {
  std::function<std::optional<std::string>(long& seen)> next;
};

using Answer = std::variant<Response, Deferred, EventSource>;

class HttpHandler {
 public:
  virtual ~HttpHandler() = default;
  virtual Answer answer(const Request& request, const Peer& peer) = 0;
};

}  // namespace orvane::server
