#include "server/RequestOrigin.h"

#include <algorithm>
#include <boost/asio/ip/address_v4.hpp>

namespace orvane::server {

namespace {

std::string lowered(std::string_view text) {
  std::string result(text);
  std::ranges::transform(result, result.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

// "name:8080" → "name"; a bracketed IPv6 literal stays as it is.
std::string_view withoutPort(std::string_view host) {
  const std::size_t colon = host.rfind(':');
  if (colon == std::string_view::npos || host.ends_with(']')) return host;
  const std::string_view port = host.substr(colon + 1);
  if (port.empty() || !std::ranges::all_of(port, [](char c) { return c >= '0' && c <= '9'; })) return host;
  return host.substr(0, colon);
}

bool isIpv4(const std::string& host) {
  boost::system::error_code error;
  boost::asio::ip::make_address_v4(host, error);
  return !error;
}

}  // namespace

RequestOrigin::RequestOrigin(NetEndpoint listen, std::vector<std::string> hosts, bool behindProxy)
    : listen_(std::move(listen)), behindProxy_(behindProxy) {
  for (const std::string& host : hosts) hosts_.push_back(lowered(host));
}

bool RequestOrigin::hostAllowed(const Request& request) const {
  const std::string host = lowered(withoutPort(request[http::field::host]));
  if (host.empty()) return false;
  if (std::ranges::find(hosts_, host) != hosts_.end()) return true;
  if (listen_.host == "0.0.0.0") return isIpv4(host);
  if (host == listen_.host) return true;
  return host == "localhost" && listen_.host.starts_with("127.");
}

bool RequestOrigin::secure(const Request& request) const {
  return behindProxy_ && lowered(request["X-Forwarded-Proto"]) == "https";
}

bool RequestOrigin::crossSite(const Request& request) const {
  if (request["Sec-Fetch-Site"] == "cross-site") return true;
  const std::string_view origin = request[http::field::origin];
  if (origin.empty()) return false;
  const std::string own =
      std::string(secure(request) ? "https://" : "http://") + std::string(request[http::field::host]);
  return lowered(origin) != lowered(own);
}

}  // namespace orvane::server
