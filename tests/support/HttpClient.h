#pragma once

// A small HTTP/1.1 client for tests and benchmarks of orvane-server: one
// keep-alive connection to a server on this computer, opened from a chosen
// local address, with headers sent on every request. Every request ends
// within its time limit; a failed one answers status -1 and the next opens
// a new connection.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/HttpSession.h"

namespace orvane {

class HttpClient {
 public:
  using Headers = std::map<std::string, std::string>;

  struct Response {
    int status = -1;
    Headers headers;  // names in lower case
    std::string body;

    nlohmann::json json() const { return nlohmann::json::parse(body, nullptr, false); }
    std::string header(const std::string& name) const;
  };

  explicit HttpClient(int port, std::string from = "127.0.0.1",
                      std::chrono::milliseconds timeout = std::chrono::seconds(10));

  // Sent with every request from now on; an empty value stops sending it.
  void setHeader(const std::string& name, const std::string& value);

  Response request(const std::string& method, const std::string& target, const std::string& body = {},
                   const Headers& headers = {});
  Response get(const std::string& target, const Headers& headers = {}) {
    return request("GET", target, {}, headers);
  }
  Response put(const std::string& target, const std::string& body) { return request("PUT", target, body); }
  Response post(const std::string& target, const std::string& body) { return request("POST", target, body); }

  // Reads the answer to GET `target` as it comes, until `enough` says so
  // with all read so far (headers included), the server ends it or
  // `timeout` passes; what was read.
  std::string follow(const std::string& target, const std::function<bool(const std::string&)>& enough,
                     std::chrono::milliseconds timeout);

 private:
  // Names the server and the headers sent with every request.
  cli::HttpSession::Request prepared(const std::string& method, const std::string& target) const;

  std::chrono::milliseconds timeout_;
  Headers headers_;
  // Apart, so that a client can be moved.
  std::unique_ptr<cli::HttpSession> session_;
};

}  // namespace orvane
