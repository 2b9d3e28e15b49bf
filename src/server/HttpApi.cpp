#include "server/HttpApi.h"

#include "model/ProgramFile.h"
#include "server/ControlPage.h"
#include "server/HttpLimits.h"
#include "server/HttpReplies.h"

namespace orvane::server {

namespace {

static_assert(HttpLimits::kFileBodyBytes >= ProgramFile::kLargestFile,
              "a restore takes an all-programs file");

constexpr std::string_view kCookie = "orvane_session";
constexpr const char* kCodeHeader = "X-Orvane-Code";

std::string cookie(const Request& request, std::string_view name) {
  const std::string_view header = request[http::field::cookie];
  for (std::size_t at = 0; at < header.size();) {
    const std::size_t end = std::min(header.find(';', at), header.size());
    std::string_view part = header.substr(at, end - at);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    if (part.size() > name.size() && part.starts_with(name) && part[name.size()] == '=')
      return std::string(part.substr(name.size() + 1));
    at = end + 1;
  }
  return {};
}

bool changes(const Request& request) {
  return request.method() != http::verb::get && request.method() != http::verb::head;
}

// A value sent as {"value": "-6dB"}, as a JSON string or as plain text.
std::optional<std::string> valueOf(const Request& request) {
  const Json body = Json::parse(request.body(), nullptr, false);
  if (body.is_object()) {
    if (!body.contains("value")) return std::nullopt;
    const Json& value = body["value"];
    return value.is_string() ? value.get<std::string>() : value.dump();
  }
  return body.is_string() ? body.get<std::string>() : request.body();
}

Response toResponse(const Reply& reply) {
  return HttpReplies::json(static_cast<http::status>(reply.status), reply.body);
}

// The bytes of a file as they are, or the refusal.
Response toResponse(const std::variant<std::string, Reply>& file) {
  if (const auto* refused = std::get_if<Reply>(&file)) return toResponse(*refused);
  Response response(http::status::ok, 11);
  response.set(http::field::content_type, "application/octet-stream");
  response.body() = std::get<std::string>(file);
  return response;
}

// A program's name sent as {"name": "..."}.
std::optional<std::string> nameOf(const Request& request) {
  const Json body = Json::parse(request.body(), nullptr, false);
  if (!body.is_object() || !body.contains("name") || !body["name"].is_string()) return std::nullopt;
  return body["name"].get<std::string>();
}

Response tooManyCodes(std::chrono::seconds wait) {
  Response response =
      HttpReplies::error(http::status::too_many_requests, "too many wrong codes; try again later");
  response.set(http::field::retry_after, std::to_string(wait.count()));
  return response;
}

// "/api/programs/5/recall" → "5"; what lies between `head` and `tail`.
std::optional<std::string> between(std::string_view path, std::string_view head, std::string_view tail) {
  if (!path.starts_with(head) || !path.ends_with(tail) || path.size() <= head.size() + tail.size())
    return std::nullopt;
  return std::string(path.substr(head.size(), path.size() - head.size() - tail.size()));
}

}  // namespace

HttpApi::HttpApi(DeviceService& device, ChangeFeed& feed, AccessCode code, Json panel, RequestOrigin origin)
    : device_(device),
      feed_(feed),
      code_(std::move(code)),
      panel_(std::move(panel)),
      origin_(std::move(origin)),
      server_(*this) {}

Answer HttpApi::answer(const Request& request, const Peer& peer) {
  if (!origin_.hostAllowed(request))
    return HttpReplies::error(http::status::misdirected_request,
                              "this server does not answer for the host '" +
                                  std::string(request[http::field::host]) + "'; name it with --host");
  if (!request.target().starts_with("/api/")) return page(request);
  if (auto refused = guard(request, peer)) return std::move(*refused);
  if (request.target() == "/api/login") {
    if (request.method() != http::verb::post)
      return HttpReplies::error(http::status::method_not_allowed, "log in with POST");
    return login(request, peer);
  }
  return route(request);
}

std::optional<Response> HttpApi::guard(const Request& request, const Peer& peer) {
  if (changes(request) && origin_.crossSite(request))
    return HttpReplies::error(http::status::forbidden, "a request from another site's page is refused");
  if (request.target() == "/api/login") return std::nullopt;
  const auto now = SessionTable::Clock::now();
  if (const std::string token = cookie(request, kCookie); !token.empty() && sessions_.use(token, now))
    return std::nullopt;
  const std::string given(request[kCodeHeader]);
  if (given.empty())
    return HttpReplies::error(http::status::unauthorized, request[http::field::cookie].empty()
                                                              ? "the access code is needed"
                                                              : "the session has ended; log in again");
  const bool right = code_.matches(given);
  if (const auto wait = throttle_.attempt(peer.address, right, now); wait.count() > 0)
    return tooManyCodes(wait);
  if (!right) return HttpReplies::error(http::status::unauthorized, "wrong access code");
  return std::nullopt;
}

Response HttpApi::login(const Request& request, const Peer& peer) {
  const Json body = Json::parse(request.body(), nullptr, false);
  const std::string given = body.is_object() && body.contains("code") && body["code"].is_string()
                                ? body["code"].get<std::string>()
                                : std::string();
  const bool right = code_.matches(given);
  const auto now = SessionTable::Clock::now();
  if (const auto wait = throttle_.attempt(peer.address, right, now); wait.count() > 0)
    return tooManyCodes(wait);
  if (!right) return HttpReplies::error(http::status::unauthorized, "wrong access code");
  Response response = HttpReplies::json(http::status::ok, Json{{"ok", true}});
  std::string set = std::string(kCookie) + "=" + sessions_.open(now) + "; HttpOnly; SameSite=Strict; Path=/";
  if (origin_.secure(request)) set += "; Secure";
  response.set(http::field::set_cookie, set);
  return response;
}

Deferred HttpApi::onDevice(std::function<Reply()> call) const {
  return Deferred{[call = std::move(call)] { return toResponse(call()); }};
}

Answer HttpApi::route(const Request& request) {
  const std::string path(request.target().substr(0, request.target().find('?')));
  const bool read = !changes(request);
  const auto post = request.method() == http::verb::post;
  if (read && path == "/api/status") return onDevice([this] { return device_.status(); });
  if (read && path == "/api/panel") return toResponse(Reply{200, panel_});
  if (read && path == "/api/programs") return onDevice([this] { return device_.programs(); });
  if (read && path == "/api/meters") return onDevice([this] { return device_.meters(); });
  if (request.method() == http::verb::get && path == "/api/events")
    return EventSource{[this](long& seen) { return feed_.next(seen, std::chrono::milliseconds(0)); }};
  if (const auto number = between(path, "/api/programs/", "/recall"); number && post)
    return onDevice([this, number = *number] { return device_.recall(number); });
  if (const auto number = between(path, "/api/programs/", "/store"); number && post) {
    const std::optional<std::string> name = nameOf(request);
    if (!name) return HttpReplies::error(http::status::bad_request, "send the name as {\"name\": \"...\"}");
    return onDevice([this, number = *number, name = *name] { return device_.store(number, name); });
  }
  if (read && path == "/api/backup") return Deferred{[this] { return toResponse(device_.backup()); }};
  if (post && path == HttpLimits::kFileTarget)
    return onDevice([this, bytes = request.body()] { return device_.restore(bytes); });
  const auto name = between(path, "/api/params/", "");
  if (name && read) return onDevice([this, name = *name] { return device_.getParameter(name); });
  if (name && request.method() == http::verb::put) {
    const std::optional<std::string> value = valueOf(request);
    if (!value)
      return HttpReplies::error(http::status::bad_request,
                                "send the value as {\"value\": \"...\"} or as text");
    return onDevice([this, name = *name, value = *value] { return device_.setParameter(name, value); });
  }
  return HttpReplies::error(http::status::not_found, "no such resource");
}

Answer HttpApi::page(const Request& request) const {
  std::string_view path = request.target().substr(0, request.target().find('?'));
  if (path == "/") path = "/index.html";
  for (const ControlPage::File& file : ControlPage::files()) {
    if (file.path != path) continue;
    Response response(http::status::ok, 11);
    response.set(http::field::content_type, file.contentType);
    response.set("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
    response.set("X-Content-Type-Options", "nosniff");
    response.body().assign(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    return response;
  }
  return HttpReplies::error(http::status::not_found, "no such resource");
}

}  // namespace orvane::server
