#pragma once

// The server's HTTP side: the control page, the JSON API and the live
// stream, behind the access code, on the HTTP engine.
//
//  - Requests must name this server as their Host (see RequestOrigin).
//  - Every /api request but the login needs a session: the cookie a login
//    with the code sets (a random token, HttpOnly, SameSite=Strict), or
//    the code itself in the X-Orvane-Code header of a room-control system;
//    without one: 401.
//  - Wrong codes from one address are slowed down (429 for a while); a
//    session keeps working meanwhile.
//  - A request that changes something is refused (403) when a browser says
//    it comes from another site's page.
//  - What needs the device runs on the engine's work thread; errors come
//    back as {"error": "..."} with the status that fits.

#include <string>

#include "server/AccessCode.h"
#include "server/ChangeFeed.h"
#include "server/DeviceService.h"
#include "server/HttpServer.h"
#include "server/LoginThrottle.h"
#include "server/RequestOrigin.h"
#include "server/SessionTable.h"

namespace orvane::server {

class HttpApi : public HttpHandler {
 public:
  HttpApi(DeviceService& device, ChangeFeed& feed, AccessCode code, Json panel, RequestOrigin origin);

  // Binds the address; an error text when it cannot be used.
  std::string bind(const NetEndpoint& endpoint) { return server_.bind(endpoint); }
  int port() const { return server_.port(); }
  // Serves until stop().
  void run() { server_.run(); }
  void stop() { server_.stop(); }

  Answer answer(const Request& request, const Peer& peer) override;

 private:
  // A refusal when the request may not reach the API; nothing when it may.
  std::optional<Response> guard(const Request& request, const Peer& peer);
  Response login(const Request& request, const Peer& peer);
  Answer route(const Request& request);
  Answer page(const Request& request) const;
  Deferred onDevice(std::function<Reply()> call) const;

  DeviceService& device_;
  ChangeFeed& feed_;
  AccessCode code_;
  Json panel_;
  RequestOrigin origin_;
  LoginThrottle throttle_;
  SessionTable sessions_;
  HttpServer server_;
};

}  // namespace orvane::server
