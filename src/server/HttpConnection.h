#pragma once

// One client's connection, request after request: wait for a request (the
// idle limit), read its headers (size, line and time limits), refuse what
// this server never takes before its body is read, read a small body, ask
// the handler and write the response (time limit). Work for the device
// runs on the work queue; the connection waits without a thread. An event
// stream takes the connection over.

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/parser.hpp>
#include <memory>
#include <optional>

#include "server/ConnectionCounter.h"
#include "server/HttpLimits.h"
#include "server/HttpTypes.h"
#include "server/WorkQueue.h"

namespace orvane::server {

class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
 public:
  // What every connection of one server shares.
  struct Shared {
    HttpHandler& handler;
    WorkQueue& work;
    ConnectionCounter& streams;
    const HttpLimits& limits;
  };

  HttpConnection(boost::asio::ip::tcp::socket socket, ConnectionCounter::Slot slot, Peer peer,
                 const Shared& shared);

  void start() { awaitRequest(); }

 private:
  using Error = boost::beast::error_code;

  void awaitRequest();
  void readHeader();
  void onHeader(Error error);
  // A refusal for what the headers alone show; nothing when the request
  // may go on.
  std::optional<Response> refuseByHeader() const;
  void onBody(Error error);
  void dispatch();
  void deferTo(Deferred deferred);
  void stream(EventSource source);
  // Writes `response`; the connection ends after it when `last`.
  void respond(Response response, bool last);
  void close();

  boost::beast::tcp_stream stream_;
  ConnectionCounter::Slot slot_;
  Peer peer_;
  Shared shared_;
  boost::beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  std::shared_ptr<Response> response_;  // while it is written
};

}  // namespace orvane::server
