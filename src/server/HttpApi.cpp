#include "server/HttpApi.h"

#include "server/ControlPage.h"

namespace orvane::server {

namespace {

constexpr const char* kCookie = "orvane_code";
constexpr const char* kCodeHeader = "X-Orvane-Code";
constexpr int kThreads = 32;
constexpr int kMostStreams = 24;
constexpr std::size_t kLargestBody = 4096;
constexpr auto kKeepAlive = std::chrono::seconds(1);

std::string cookie(const httplib::Request& request, const std::string& name) {
  const std::string header = request.get_header_value("Cookie");
  for (std::size_t at = 0; at < header.size();) {
    const std::size_t end = std::min(header.find(';', at), header.size());
    std::string_view part(header.data() + at, end - at);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    if (part.starts_with(name + "=")) return std::string(part.substr(name.size() + 1));
    at = end + 1;
  }
  return {};
}

// A browser names the page a request comes from; another site's page may
// not change anything here.
bool crossSite(const httplib::Request& request) {
  if (request.get_header_value("Sec-Fetch-Site") == "cross-site") return true;
  const std::string origin = request.get_header_value("Origin");
  return !origin.empty() && origin != "http://" + request.get_header_value("Host");
}

bool changes(const httplib::Request& request) {
  return request.method != "GET" && request.method != "HEAD";
}

// A value sent as {"value": "-6dB"}, as a JSON string or as plain text.
std::optional<std::string> valueOf(const httplib::Request& request) {
  const Json body = Json::parse(request.body, nullptr, false);
  if (body.is_object()) {
    if (!body.contains("value")) return std::nullopt;
    const Json& value = body["value"];
    return value.is_string() ? value.get<std::string>() : value.dump();
  }
  return body.is_string() ? body.get<std::string>() : request.body;
}

}  // namespace

HttpApi::HttpApi(DeviceService& device, ChangeFeed& feed, AccessCode code, Json panel)
    : device_(device), feed_(feed), code_(std::move(code)), panel_(std::move(panel)) {
  server_.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server_.set_payload_max_length(kLargestBody);
  server_.set_pre_routing_handler(
      [this](const Request& request, Response& response) { return guard(request, response); });
  server_.set_error_handler([](const Request&, Response& response) {
    if (response.body.empty()) send(response, Reply{response.status, Json{{"error", "no such resource"}}});
  });
  routePage();
  routeApi();
  routeEvents();
}

std::string HttpApi::bind(const NetEndpoint& endpoint) {
  if (endpoint.port == 0) {
    port_ = server_.bind_to_any_port(endpoint.host);
    if (port_ > 0) return {};
  } else if (server_.bind_to_port(endpoint.host, endpoint.port)) {
    port_ = endpoint.port;
    return {};
  }
  return "cannot listen on " + endpoint.host + ":" + std::to_string(endpoint.port);
}

void HttpApi::run() {
  server_.listen_after_bind();
}

void HttpApi::stop() {
  stopping_ = true;
  server_.stop();
}

void HttpApi::send(Response& response, const Reply& reply) {
  response.status = reply.status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(cli::Outcome::dump(reply.body), "application/json");
}

httplib::Server::HandlerResponse HttpApi::guard(const Request& request, Response& response) {
  using Handled = httplib::Server::HandlerResponse;
  if (!request.path.starts_with("/api/")) return Handled::Unhandled;
  if (changes(request) && crossSite(request)) {
    send(response, Reply{403, Json{{"error", "a request from another site's page is refused"}}});
    return Handled::Handled;
  }
  if (request.path == "/api/login") return Handled::Unhandled;
  std::string given = request.get_header_value(kCodeHeader);
  if (given.empty()) given = cookie(request, kCookie);
  const auto now = LoginThrottle::Clock::now();
  if (const auto wait = throttle_.wait(request.remote_addr, now); wait.count() > 0 && !given.empty()) {
    response.set_header("Retry-After", std::to_string(wait.count()));
    send(response, Reply{429, Json{{"error", "too many wrong codes; try again later"}}});
    return Handled::Handled;
  }
  if (code_.matches(given)) return Handled::Unhandled;
  if (!given.empty()) throttle_.failed(request.remote_addr, now);
  send(response,
       Reply{401, Json{{"error", given.empty() ? "the access code is needed" : "wrong access code"}}});
  return Handled::Handled;
}

void HttpApi::login(const Request& request, Response& response) {
  const Json body = Json::parse(request.body, nullptr, false);
  const std::string given = body.is_object() && body.contains("code") && body["code"].is_string()
                                ? body["code"].get<std::string>()
                                : std::string();
  const auto now = LoginThrottle::Clock::now();
  if (const auto wait = throttle_.wait(request.remote_addr, now); wait.count() > 0) {
    response.set_header("Retry-After", std::to_string(wait.count()));
    send(response, Reply{429, Json{{"error", "too many wrong codes; try again later"}}});
    return;
  }
  if (!code_.matches(given)) {
    throttle_.failed(request.remote_addr, now);
    send(response, Reply{401, Json{{"error", "wrong access code"}}});
    return;
  }
  throttle_.succeeded(request.remote_addr);
  response.set_header("Set-Cookie",
                      std::string(kCookie) + "=" + given + "; HttpOnly; SameSite=Strict; Path=/");
  send(response, Reply{200, Json{{"ok", true}}});
}

void HttpApi::routePage() {
  for (const ControlPage::File& file : ControlPage::files()) {
    const auto serve = [file](const Request&, Response& response) {
      response.set_header("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
      response.set_header("X-Content-Type-Options", "nosniff");
      response.set_content(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size(),
                           std::string(file.contentType));
    };
    server_.Get(std::string(file.path), serve);
    if (file.path == "/index.html") server_.Get("/", serve);
  }
}

void HttpApi::routeApi() {
  server_.Post("/api/login", [this](const Request& q, Response& r) { login(q, r); });
  server_.Get("/api/status", [this](const Request&, Response& r) { send(r, device_.status()); });
  server_.Get("/api/panel", [this](const Request&, Response& r) { send(r, Reply{200, panel_}); });
  server_.Get("/api/programs", [this](const Request&, Response& r) { send(r, device_.programs()); });
  server_.Get("/api/meters", [this](const Request&, Response& r) { send(r, device_.meters()); });
  server_.Post("/api/programs/([^/]+)/recall",
               [this](const Request& q, Response& r) { send(r, device_.recall(q.matches[1])); });
  server_.Get("/api/params/(.+)",
              [this](const Request& q, Response& r) { send(r, device_.getParameter(q.matches[1])); });
  server_.Put("/api/params/(.+)", [this](const Request& q, Response& r) {
    const std::optional<std::string> value = valueOf(q);
    if (!value)
      return send(r, Reply{400, Json{{"error", "send the value as {\"value\": \"...\"} or as text"}}});
    send(r, device_.setParameter(q.matches[1], *value));
  });
}

void HttpApi::routeEvents() {
  server_.Get("/api/events", [this](const Request&, Response& response) {
    if (streams_.fetch_add(1) >= kMostStreams) {
      --streams_;
      return send(response, Reply{503, Json{{"error", "too many pages are open"}}});
    }
    response.set_header("Cache-Control", "no-store");
    auto seen = std::make_shared<long>(-1);
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, seen](std::size_t, httplib::DataSink& sink) {
          const std::optional<std::string> event = feed_.next(*seen, kKeepAlive);
          // A comment now and then finds pages that were closed.
          const std::string text = event ? *event : ": still here\n\n";
          return sink.write(text.data(), text.size()) && !stopping_;
        },
        [this](bool) { --streams_; });
  });
}

}  // namespace orvane::server
