#pragma once

// The server's HTTP engine, on Boost.Asio and Boost.Beast: every
// connection is served by one thread without blocking, under the limits
// of HttpLimits; what needs the device runs on the work queue's thread.
// A connection over the bounds (in all, or from one address) is closed as
// soon as it is accepted; when the system has no descriptor left, accepting
// pauses briefly instead of spinning.

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <string>

#include "server/ConnectionCounter.h"
#include "server/HttpConnection.h"
#include "server/HttpLimits.h"
#include "server/HttpTypes.h"
#include "server/WorkQueue.h"
#include "transport/NetEndpoint.h"

namespace orvane::server {

class HttpServer {
 public:
  explicit HttpServer(HttpHandler& handler, const HttpLimits& limits = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds the address; an error text when it cannot be used.
  std::string bind(const NetEndpoint& endpoint);
  int port() const { return port_; }
  // Serves on the calling thread until stop().
  void run();
  // From any thread.
  void stop();

  std::size_t connections() const { return connections_.open(); }

 private:
  using tcp = boost::asio::ip::tcp;

  void accept();
  void onAccept(boost::beast::error_code error, tcp::socket socket);

  HttpLimits limits_;
  // Before the context: the connections its handlers still hold give
  // their places back when it ends.
  ConnectionCounter connections_;
  ConnectionCounter streams_;
  boost::asio::io_context io_{1};
  tcp::acceptor acceptor_{io_};
  boost::asio::steady_timer pause_{io_};
  WorkQueue work_;
  HttpConnection::Shared shared_;
  int port_ = 0;
};

}  // namespace orvane::server
