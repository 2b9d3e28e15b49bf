#include "cli/ServerClient.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>

namespace orvane::cli {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

// An all-programs file and a little more; the API answers nothing larger.
constexpr std::uint64_t kLargestAnswer = 1 << 20;
constexpr const char* kClosed = "the server closed the connection";

std::string why(const beast::error_code& error) {
  if (error == asio::error::connection_refused) return "connection refused";
  if (error == beast::error::timeout) return "no answer in time";
  if (error == http::error::end_of_stream || error == asio::error::eof ||
      error == asio::error::connection_reset)
    return kClosed;
  return error.message();
}

}  // namespace

ServerClient::ServerClient(NetEndpoint server, std::string code)
    : server_(std::move(server)), code_(std::move(code)) {}

std::string ServerClient::address() const {
  return server_.host + ":" + std::to_string(server_.port);
}

ServerClient::Answer ServerClient::request(http::verb method, const std::string& target,
                                           const std::string& body, std::chrono::seconds timeout,
                                           const char* contentType) {
  const bool reused = stream_.socket().is_open();
  Answer answer = exchange(method, target, body, timeout, contentType);
  // The server ends a connection that stood idle; a request that found it
  // ended goes again on a new one.
  if (answer.status == 0 && reused && answer.failure == kClosed)
    answer = exchange(method, target, body, timeout, contentType);
  return answer;
}

ServerClient::Answer ServerClient::exchange(http::verb method, const std::string& target,
                                            const std::string& body, std::chrono::seconds timeout,
                                            const char* contentType) {
  Answer answer;
  if (!connect(timeout, answer.failure)) return answer;
  http::request<http::string_body> request(method, target, 11);
  request.set(http::field::host, address());
  request.set("X-Orvane-Code", code_);
  if (method != http::verb::get) {
    request.set(http::field::content_type, contentType);
    request.body() = body;
    request.prepare_payload();
  }
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.body_limit(kLargestAnswer);
  beast::error_code error;
  stream_.expires_after(timeout);
  http::async_write(stream_, request, [&](beast::error_code written, std::size_t) {
    if ((error = written)) return;
    http::async_read(stream_, buffer, parser, [&](beast::error_code read, std::size_t) { error = read; });
  });
  if (!runFor(timeout) || error) {
    answer.failure = why(error ? error : beast::error::timeout);
    stream_.close();
    return answer;
  }
  const auto& message = parser.get();
  answer.status = static_cast<int>(message.result_int());
  answer.body = message.body();
  if (!message.keep_alive()) stream_.close();
  return answer;
}

bool ServerClient::connect(std::chrono::seconds timeout, std::string& failure) {
  if (stream_.socket().is_open()) return true;
  beast::error_code error;
  stream_.expires_after(timeout);
  stream_.async_connect(asio::ip::tcp::endpoint(asio::ip::make_address_v4(server_.host, error), server_.port),
                        [&error](beast::error_code e) { error = e; });
  if (!runFor(timeout) || error) {
    failure = why(error ? error : beast::error::timeout);
    stream_.close();
    return false;
  }
  return true;
}

bool ServerClient::runFor(std::chrono::seconds timeout) {
  io_.restart();
  // The stream's own deadline ends the operation; this is the backstop.
  io_.run_for(timeout + std::chrono::seconds(1));
  return io_.stopped();
}

}  // namespace orvane::cli
