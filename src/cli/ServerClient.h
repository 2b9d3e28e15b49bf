#pragma once

// orvanectl's side of a running orvane-server: HTTP/1.1 requests to its
// API with the access code, on one connection kept open from request to
// request (a batch), each bounded in time. A request that gets no answer
// says why, in words for the user ("connection refused").

#include <boost/asio/io_context.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/verb.hpp>
#include <chrono>
#include <string>

#include "transport/NetEndpoint.h"

namespace orvane::cli {

class ServerClient {
 public:
  struct Answer {
    int status = 0;       // the HTTP status; 0 when there was no answer
    std::string failure;  // why there was no answer
    std::string body;
  };

  ServerClient(NetEndpoint server, std::string code);

  // "127.0.0.1:8080"
  std::string address() const;
  // Sends `body` (JSON, or a file when `contentType` says so) and waits at
  // most `timeout` for the whole answer.
  Answer request(boost::beast::http::verb method, const std::string& target, const std::string& body,
                 std::chrono::seconds timeout, const char* contentType = "application/json");

 private:
  // Sends the request on the open connection, opening one when there is
  // none.
  Answer exchange(boost::beast::http::verb method, const std::string& target, const std::string& body,
                  std::chrono::seconds timeout, const char* contentType);
  bool connect(std::chrono::seconds timeout, std::string& failure);
  // Runs what is queued on the connection until it is done; false after
  // `timeout`.
  bool runFor(std::chrono::seconds timeout);

  NetEndpoint server_;
  std::string code_;
  boost::asio::io_context io_;
  boost::beast::tcp_stream stream_{io_};
};

}  // namespace orvane::cli
