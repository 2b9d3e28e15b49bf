#include "server/HttpServer.h"

namespace orvane::server {

namespace {

// How long accepting rests when the system has no descriptor left.
constexpr auto kOutOfDescriptors = std::chrono::milliseconds(100);

}  // namespace

HttpServer::HttpServer(HttpHandler& handler, const HttpLimits& limits)
    : limits_(limits),
      connections_(limits.connections, limits.connectionsPerAddress),
      streams_(limits.streams, limits.streamsPerAddress),
      work_(limits.waitingWork),
      shared_{handler, work_, streams_, limits_} {}

HttpServer::~HttpServer() {
  stop();
  // What still waits for the device holds connections; they go before the
  // context they belong to.
  work_.stop();
}

std::string HttpServer::bind(const NetEndpoint& endpoint) {
  boost::beast::error_code error;
  const auto address = boost::asio::ip::make_address_v4(endpoint.host, error);
  const tcp::endpoint where(address, static_cast<unsigned short>(endpoint.port));
  if (!error) acceptor_.open(where.protocol(), error);
  // Lets a restarted server take its port back while connections of the
  // one before still linger; a port another server listens on stays
  // refused (only SO_REUSEPORT, never set here, would share it).
  if (!error) acceptor_.set_option(tcp::acceptor::reuse_address(true), error);
  if (!error) acceptor_.bind(where, error);
  if (!error) acceptor_.listen(boost::asio::socket_base::max_listen_connections, error);
  if (error) {
    const std::string where = endpoint.host + ":" + std::to_string(endpoint.port);
    const std::string why = error == boost::asio::error::address_in_use
                                ? where + " is already in use by another program"
                                : "cannot listen on " + where + ": " + error.message();
    acceptor_.close(error);
    return why;
  }
  port_ = acceptor_.local_endpoint().port();
  return {};
}

void HttpServer::run() {
  accept();
  io_.run();
}

void HttpServer::stop() {
  io_.stop();
}

void HttpServer::accept() {
  acceptor_.async_accept(
      [this](boost::beast::error_code error, tcp::socket socket) { onAccept(error, std::move(socket)); });
}

void HttpServer::onAccept(boost::beast::error_code error, tcp::socket socket) {
  if (error == boost::asio::error::operation_aborted || !acceptor_.is_open()) return;
  if (error) {
    // Out of descriptors, or a connection that went before it was taken:
    // rest a moment and go on.
    pause_.expires_after(kOutOfDescriptors);
    pause_.async_wait([this](boost::beast::error_code) { accept(); });
    return;
  }
  boost::beast::error_code ignored;
  Peer peer{socket.remote_endpoint(ignored).address().to_string()};
  if (ConnectionCounter::Slot slot = connections_.admit(peer.address))
    std::make_shared<HttpConnection>(std::move(socket), std::move(slot), std::move(peer), shared_)->start();
  else
    socket.close(ignored);
  accept();
}

}  // namespace orvane::server
