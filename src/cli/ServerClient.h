#pragma once

// orvanectl's side of a running orvane-server: HTTP/1.1 requests to its
// API with the access code, on one connection kept open from request to
// request (a batch), each bounded in time. A request that gets no answer
// says why, in words for the user ("connection refused").

#include <boost/beast/http/verb.hpp>
#include <chrono>
#include <string>

#include "cli/HttpSession.h"
#include "transport/NetEndpoint.h"

namespace orvane::cli {

class ServerClient {
 public:
  using Answer = HttpSession::Reply;

  ServerClient(const NetEndpoint& server, std::string code);

  // "127.0.0.1:8080"
  std::string address() const { return session_.address(); }
  // Sends `body` (JSON, or a file when `contentType` says so) and waits at
  // most `timeout` for the whole answer.
  Answer request(boost::beast::http::verb method, const std::string& target, const std::string& body,
                 std::chrono::seconds timeout, const char* contentType = "application/json");

 private:
  std::string code_;
  HttpSession session_;
};

}  // namespace orvane::cli
