#pragma once

// Where a request says it goes and comes from.
//
//  - The Host it names must be this server: the address it listens on
//    (any IPv4 address when it listens on all), "localhost" when it
//    listens on loopback, or a name the installer gave with --host. A page
//    of another site that had its name point here (DNS rebinding) names
//    its own host and is refused.
//  - A browser names the page a request comes from (Origin, and
//    Sec-Fetch-Site); a page of another site may not change anything. The
//    scheme is the one the request came in on: behind a TLS reverse proxy
//    that says so with X-Forwarded-Proto, https.

#include <string>
#include <string_view>
#include <vector>

#include "server/HttpTypes.h"
#include "transport/NetEndpoint.h"

namespace orvane::server {

class RequestOrigin {
 public:
  RequestOrigin(NetEndpoint listen, std::vector<std::string> hosts, bool behindProxy);

  bool hostAllowed(const Request& request) const;
  bool crossSite(const Request& request) const;
  // Whether the browser reached the page over https (through the proxy).
  bool secure(const Request& request) const;

 private:
  NetEndpoint listen_;
  std::vector<std::string> hosts_;  // in lower case
  bool behindProxy_;
};

}  // namespace orvane::server
