#pragma once

// The server's HTTP side: the control page, the JSON API and the live
// stream, behind the access codes, on the HTTP engine.
//
//  - Requests must name this server as their Host (see RequestOrigin).
//  - Every /api request but the login needs a session: the cookie a login
//    with a code sets (a random token, HttpOnly, SameSite=Strict), or
//    the code itself in the X-Orvane-Code header of a room-control system;
//    without one: 401.
//  - A session has the level of the code it came from: the room code may
//    do what the panel shows (RoomRights), anything else is refused with
//    403; the installer code may do everything.
//  - Wrong codes from one address are slowed down (429 for a while); a
//    session keeps working meanwhile.
//  - A known resource asked with a method it does not answer: 405, with
//    the methods it does answer; an unknown one: 404.
//  - A request that changes something is refused (403) when a browser says
//    it comes from another site's page.
//  - What needs the device runs on the engine's work thread; errors come
//    back as {"error": "..."} with the status that fits.

#include <string>

#include "server/AccessCodes.h"
#include "server/ApiResource.h"
#include "server/ChangeFeed.h"
#include "server/DeviceService.h"
#include "server/HttpServer.h"
#include "server/LoginThrottle.h"
#include "server/RequestOrigin.h"
#include "server/RoomRights.h"
#include "server/SessionTable.h"

namespace orvane::server {

class HttpApi : public HttpHandler {
 public:
  HttpApi(DeviceService& device, ChangeFeed& feed, AccessCodes codes, Json panel, RequestOrigin origin);

  // Binds the address; an error text when it cannot be used.
  std::string bind(const NetEndpoint& endpoint) { return server_.bind(endpoint); }
  int port() const { return server_.port(); }
  // Serves until stop().
  void run() { server_.run(); }
  void stop() { server_.stop(); }

  Answer answer(const Request& request, const Peer& peer) override;

 private:
  // A refusal when the request may not reach the API; nothing when it may,
  // and `level` is then the level of the code or session it came with.
  std::optional<Response> guard(const Request& request, const Peer& peer, AccessLevel& level);
  Response login(const Request& request, const Peer& peer);
  Answer route(const Request& request, const ApiResource& resource);
  Answer page(const Request& request) const;
  Deferred onDevice(std::function<Reply()> call) const;

  DeviceService& device_;
  ChangeFeed& feed_;
  AccessCodes codes_;
  Json panel_;
  RoomRights room_;
  RequestOrigin origin_;
  LoginThrottle throttle_;
  SessionTable sessions_;
  HttpServer server_;
};

}  // namespace orvane::server
