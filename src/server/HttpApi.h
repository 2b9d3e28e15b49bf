#pragma once

// The server's HTTP side: the control page, the JSON API and the live
// stream, behind the access code.
//
//  - Every /api request but the login carries the code, in the cookie the
//    login sets (HttpOnly, SameSite=Strict) or in the X-Orvane-Code header
//    of a room-control system; without it: 401.
//  - Wrong codes from one address are slowed down (429 for a while).
//  - A request that changes something is refused (403) when a browser says
//    it comes from another site's page.
//  - Errors come back as {"error": "..."} with the status that fits.

#include <httplib.h>

#include <atomic>
#include <string>

#include "server/AccessCode.h"
#include "server/ChangeFeed.h"
#include "server/DeviceService.h"
#include "server/LoginThrottle.h"
#include "transport/NetEndpoint.h"

namespace orvane::server {

class HttpApi {
 public:
  HttpApi(DeviceService& device, ChangeFeed& feed, AccessCode code, Json panel);

  // Binds the address; an error text when it cannot be used.
  std::string bind(const NetEndpoint& endpoint);
  int port() const { return port_; }
  // Serves until stop().
  void run();
  void stop();

 private:
  using Request = httplib::Request;
  using Response = httplib::Response;

  void routePage();
  void routeApi();
  void routeEvents();
  httplib::Server::HandlerResponse guard(const Request& request, Response& response);
  void login(const Request& request, Response& response);
  static void send(Response& response, const Reply& reply);

  DeviceService& device_;
  ChangeFeed& feed_;
  AccessCode code_;
  Json panel_;
  LoginThrottle throttle_;
  httplib::Server server_;
  std::atomic<int> streams_{0};
  std::atomic<bool> stopping_{false};
  int port_ = 0;
};

}  // namespace orvane::server
