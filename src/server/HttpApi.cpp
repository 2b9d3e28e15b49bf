#include "server/HttpApi.h"

#include "model/ProgramFile.h"
#include "server/ApiResource.h"
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
      HttpReplies::error(http::status::too_many_requests,
                         "too many wrong codes; try again in " + std::to_string(wait.count()) + " s");
  response.set(http::field::retry_after, std::to_string(wait.count()));
  return response;
}

}  // namespace

HttpApi::HttpApi(DeviceService& device, ChangeFeed& feed, AccessCodes codes, Json panel, RequestOrigin origin)
    : device_(device),
      feed_(feed),
      codes_(std::move(codes)),
      panel_(std::move(panel)),
      room_(panel_),
      origin_(std::move(origin)),
      server_(*this) {}

Answer HttpApi::answer(const Request& request, const Peer& peer) {
  if (!origin_.hostAllowed(request))
    return HttpReplies::error(http::status::misdirected_request,
                              "this server does not answer for the host '" +
                                  std::string(request[http::field::host]) + "'; name it with --host");
  if (!request.target().starts_with("/api/")) return page(request);
  AccessLevel level = AccessLevel::Room;
  if (auto refused = guard(request, peer, level)) return std::move(*refused);
  const ApiResource resource = ApiResource::of(request.target());
  if (resource.kind != ApiResource::Kind::Unknown && !resource.answers(request.method()))
    return HttpReplies::wrongMethod(resource.methods(),
                                    resource.path + " answers " + std::string(resource.methods()));
  if (resource.kind == ApiResource::Kind::Login) return login(request, peer);
  if (level == AccessLevel::Room)
    if (const std::string refusal = room_.refusal(request.method(), resource); !refusal.empty())
      return HttpReplies::error(http::status::forbidden, refusal);
  return route(request, resource);
}

std::optional<Response> HttpApi::guard(const Request& request, const Peer& peer, AccessLevel& level) {
  if (changes(request) && origin_.crossSite(request))
    return HttpReplies::error(http::status::forbidden, "a request from another site's page is refused");
  if (request.target() == "/api/login") return std::nullopt;
  const auto now = SessionTable::Clock::now();
  if (const std::string token = cookie(request, kCookie); !token.empty()) {
    if (const auto session = sessions_.use(token, now)) {
      level = *session;
      return std::nullopt;
    }
  }
  const std::string given(request[kCodeHeader]);
  if (given.empty())
    return HttpReplies::error(http::status::unauthorized, request[http::field::cookie].empty()
                                                              ? "the access code is needed"
                                                              : "the session has ended; log in again");
  const auto right = codes_.levelOf(given);
  if (const auto wait = throttle_.attempt(peer.address, right.has_value(), now); wait.count() > 0)
    return tooManyCodes(wait);
  if (!right) return HttpReplies::error(http::status::unauthorized, "wrong access code");
  level = *right;
  return std::nullopt;
}

Response HttpApi::login(const Request& request, const Peer& peer) {
  const Json body = Json::parse(request.body(), nullptr, false);
  const std::string given = body.is_object() && body.contains("code") && body["code"].is_string()
                                ? body["code"].get<std::string>()
                                : std::string();
  const auto right = codes_.levelOf(given);
  const auto now = SessionTable::Clock::now();
  if (const auto wait = throttle_.attempt(peer.address, right.has_value(), now); wait.count() > 0)
    return tooManyCodes(wait);
  if (!right) return HttpReplies::error(http::status::unauthorized, "wrong access code");
  Response response = HttpReplies::json(
      http::status::ok, Json{{"ok", true}, {"access", *right == AccessLevel::Room ? "room" : "installer"}});
  std::string set =
      std::string(kCookie) + "=" + sessions_.open(now, *right) + "; HttpOnly; SameSite=Strict; Path=/";
  if (origin_.secure(request)) set += "; Secure";
  response.set(http::field::set_cookie, set);
  return response;
}

Deferred HttpApi::onDevice(std::function<Reply()> call) const {
  return Deferred{[call = std::move(call)] { return toResponse(call()); }};
}

Answer HttpApi::route(const Request& request, const ApiResource& resource) {
  using Kind = ApiResource::Kind;
  const bool read = !changes(request);
  switch (resource.kind) {
    case Kind::Status:
      return onDevice([this] { return device_.status(); });
    case Kind::Panel:
      return toResponse(Reply{200, panel_});
    case Kind::Programs:
      return onDevice([this] { return device_.programs(); });
    case Kind::Meters:
      return onDevice([this] { return device_.meters(); });
    case Kind::Events:
      return EventSource{[this](long& seen) { return feed_.next(seen, std::chrono::milliseconds(0)); }};
    case Kind::Recall:
      return onDevice([this, number = resource.part] { return device_.recall(number); });
    case Kind::Store: {
      const std::optional<std::string> name = nameOf(request);
      if (!name) return HttpReplies::error(http::status::bad_request, "send the name as {\"name\": \"...\"}");
      return onDevice([this, number = resource.part, name = *name] { return device_.store(number, name); });
    }
    case Kind::Backup:
      return Deferred{[this] { return toResponse(device_.backup()); }};
    case Kind::Restore:
      return onDevice([this, bytes = request.body()] { return device_.restore(bytes); });
    case Kind::Parameter: {
      if (read) return onDevice([this, name = resource.part] { return device_.getParameter(name); });
      const std::optional<std::string> value = valueOf(request);
      if (!value)
        return HttpReplies::error(http::status::bad_request,
                                  "send the value as {\"value\": \"...\"} or as text");
      return onDevice(
          [this, name = resource.part, value = *value] { return device_.setParameter(name, value); });
    }
    default:
      return HttpReplies::error(http::status::not_found, "no such resource");
  }
}

Answer HttpApi::page(const Request& request) const {
  const ControlPage::File* file = ControlPage::find(request.target());
  if (!file) return HttpReplies::error(http::status::not_found, "no such resource");
  Response response(http::status::ok, 11);
  response.set(http::field::content_type, file->contentType);
  response.set("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
  response.set("X-Content-Type-Options", "nosniff");
  response.body().assign(reinterpret_cast<const char*>(file->bytes.data()), file->bytes.size());
  return response;
}

}  // namespace orvane::server
