#include "cli/HttpSession.h"

#include <array>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <cctype>

namespace orvane::cli {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

std::string why(const beast::error_code& error) {
  if (error == asio::error::connection_refused) return "connection refused";
  if (error == beast::error::timeout) return "no answer in time";
  if (error == http::error::end_of_stream || error == asio::error::eof ||
      error == asio::error::connection_reset)
    return HttpSession::kClosed;
  return error.message();
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

HttpSession::HttpSession(std::string host, std::uint16_t port, std::string from)
    : host_(std::move(host)), port_(port), from_(std::move(from)) {}

std::string HttpSession::address() const {
  return host_ + ":" + std::to_string(port_);
}

HttpSession::Reply HttpSession::exchange(const Request& request, std::chrono::milliseconds timeout,
                                         std::uint64_t bodyLimit) {
  Reply reply;
  if (!connect(timeout, reply.failure)) return reply;
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.body_limit(bodyLimit);
  // The answer to HEAD says how long a body would be, and has none.
  parser.skip(request.method() == http::verb::head);
  beast::error_code error;
  stream_.expires_after(timeout);
  http::async_write(stream_, request, [&](beast::error_code written, std::size_t) {
    if ((error = written)) return;
    http::async_read(stream_, buffer, parser, [&](beast::error_code read, std::size_t) { error = read; });
  });
  if (!runFor(timeout) || error) {
    reply.failure = why(error ? error : beast::error::timeout);
    stream_.close();
    return reply;
  }
  const auto& message = parser.get();
  reply.status = static_cast<int>(message.result_int());
  for (const auto& field : message)
    reply.headers[lowerCase(std::string(field.name_string()))] = field.value();
  reply.body = message.body();
  if (!message.keep_alive()) stream_.close();
  return reply;
}

std::string HttpSession::follow(const Request& request, const std::function<bool(const std::string&)>& enough,
                                std::chrono::milliseconds timeout) {
  std::string text;
  std::string failure;
  if (!connect(timeout, failure)) return text;
  std::array<char, 4096> chunk{};
  std::function<void(beast::error_code, std::size_t)> onRead = [&](beast::error_code error,
                                                                   std::size_t size) {
    text.append(chunk.data(), size);
    if (!error && !enough(text)) stream_.async_read_some(asio::buffer(chunk), onRead);
  };
  stream_.expires_after(timeout);
  http::async_write(stream_, request, [&](beast::error_code error, std::size_t) {
    if (!error) stream_.async_read_some(asio::buffer(chunk), onRead);
  });
  runFor(timeout);
  stream_.close();
  return text;
}

bool HttpSession::connect(std::chrono::milliseconds timeout, std::string& failure) {
  if (connected()) return true;
  beast::error_code error;
  const tcp::endpoint server(asio::ip::make_address_v4(host_, error), port_);
  if (!error && !from_.empty()) {
    tcp::socket& socket = stream_.socket();
    socket.open(tcp::v4(), error);
    if (!error) socket.bind(tcp::endpoint(asio::ip::make_address_v4(from_, error), 0), error);
  }
  if (error) {
    failure = why(error);
    stream_.close();
    return false;
  }
  stream_.expires_after(timeout);
  stream_.async_connect(server, [&error](beast::error_code e) { error = e; });
  if (!runFor(timeout) || error) {
    failure = why(error ? error : beast::error::timeout);
    stream_.close();
    return false;
  }
  return true;
}

bool HttpSession::runFor(std::chrono::milliseconds timeout) {
  io_.restart();
  // The stream's own deadline ends the operation; this is the backstop.
  io_.run_for(timeout + std::chrono::seconds(1));
  return io_.stopped();
}

}  // namespace orvane::cli
