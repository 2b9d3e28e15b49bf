#pragma once

// One HTTP/1.1 connection to an orvane-server, kept open from exchange to
// exchange and opened again when needed, optionally from a chosen local
// address. Every exchange ends within its time limit; one that gets no
// answer says why, in words for the user ("connection refused"), and
// closes the connection so that the next one starts afresh. orvanectl's
// server client and the server's tests both talk through it.

#include <boost/asio/io_context.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace orvane::cli {

class HttpSession {
 public:
  using Request = boost::beast::http::request<boost::beast::http::string_body>;
  struct Reply {
    int status = 0;       // the HTTP status; 0 when there was no answer
    std::string failure;  // why there was no answer
    std::string body;
    std::map<std::string, std::string> headers;  // names in lower case
  };
  // What a closed connection answers; a request that was sent on a kept
  // connection and met this may go again on a new one.
  static constexpr const char* kClosed = "the server closed the connection";

  // `from` is the local address to connect from; empty lets the system
  // choose.
  HttpSession(std::string host, std::uint16_t port, std::string from = {});

  // "127.0.0.1:8080", as the Host header names it.
  std::string address() const;
  // Whether a connection is open now.
  bool connected() const { return stream_.socket().is_open(); }

  // Sends `request` and reads the whole answer, whose body may be
  // `bodyLimit` bytes at most.
  Reply exchange(const Request& request, std::chrono::milliseconds timeout, std::uint64_t bodyLimit);
  // Sends `request` and reads the answer as it comes, until `enough` says
  // so with all read so far (headers included), the server ends it or
  // `timeout` passes; what was read. The connection is closed after.
  std::string follow(const Request& request, const std::function<bool(const std::string&)>& enough,
                     std::chrono::milliseconds timeout);

 private:
  bool connect(std::chrono::milliseconds timeout, std::string& failure);
  // Runs what is queued on the connection until it is done; false after
  // `timeout`.
  bool runFor(std::chrono::milliseconds timeout);

  std::string host_;
  std::uint16_t port_;
  std::string from_;
  boost::asio::io_context io_;
  boost::beast::tcp_stream stream_{io_};
};

}  // namespace orvane::cli
