#include "support/HttpClient.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

namespace orvane {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

std::string HttpClient::Response::header(const std::string& name) const {
  const auto found = headers.find(name);
  return found == headers.end() ? std::string() : found->second;
}

HttpClient::HttpClient(int port, std::string from, std::chrono::milliseconds timeout)
    : port_(port), from_(std::move(from)), timeout_(timeout) {}

void HttpClient::setHeader(const std::string& name, const std::string& value) {
  if (value.empty())
    headers_.erase(name);
  else
    headers_[name] = value;
}

bool HttpClient::connect() {
  if (stream_.socket().is_open()) return true;
  beast::error_code error;
  tcp::socket& socket = stream_.socket();
  socket.open(tcp::v4(), error);
  if (!error) socket.bind(tcp::endpoint(asio::ip::make_address(from_), 0), error);
  if (error) return false;
  stream_.expires_after(timeout_);
  stream_.async_connect(
      tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port_)),
      [&error](beast::error_code e) { error = e; });
  if (!runFor(timeout_) || error) {
    stream_.close();
    return false;
  }
  return true;
}

bool HttpClient::runFor(std::chrono::milliseconds timeout) {
  io_.restart();
  io_.run_for(timeout + std::chrono::seconds(1));
  return io_.stopped();
}

HttpClient::Response HttpClient::request(const std::string& method, const std::string& target,
                                         const std::string& body, const Headers& headers) {
  Response response;
  if (!connect()) return response;
  http::request<http::string_body> request(http::string_to_verb(method), target, 11);
  request.set(http::field::host, "127.0.0.1:" + std::to_string(port_));
  for (const auto& [name, value] : headers_) request.set(name, value);
  for (const auto& [name, value] : headers) request.set(name, value);
  request.body() = body;
  if (!body.empty() || method == "POST" || method == "PUT") request.prepare_payload();

  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.body_limit(64 * 1024 * 1024);
  if (method == "HEAD") parser.skip(true);
  beast::error_code error;
  stream_.expires_after(timeout_);
  http::async_write(stream_, request, [&](beast::error_code e, std::size_t) {
    if ((error = e)) return;
    http::async_read(stream_, buffer, parser, [&](beast::error_code e2, std::size_t) { error = e2; });
  });
  if (!runFor(timeout_) || error) {
    stream_.close();
    return response;
  }
  const auto& message = parser.get();
  response.status = static_cast<int>(message.result_int());
  for (const auto& field : message) {
    std::string name(field.name_string());
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    response.headers[name] = std::string(field.value());
  }
  response.body = message.body();
  if (!message.keep_alive()) stream_.close();
  return response;
}

std::string HttpClient::follow(const std::string& target,
                               const std::function<bool(const std::string&)>& enough,
                               std::chrono::milliseconds timeout) {
  std::string text;
  if (!connect()) return text;
  http::request<http::empty_body> request(http::verb::get, target, 11);
  request.set(http::field::host, "127.0.0.1:" + std::to_string(port_));
  for (const auto& [name, value] : headers_) request.set(name, value);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::array<char, 4096> chunk{};
  std::function<void(beast::error_code, std::size_t)> onRead = [&](beast::error_code error,
                                                                   std::size_t size) {
    text.append(chunk.data(), size);
    if (!error && !enough(text)) stream_.async_read_some(asio::buffer(chunk), onRead);
  };
  stream_.expires_at(deadline);
  http::async_write(stream_, request, [&](beast::error_code error, std::size_t) {
    if (!error) stream_.async_read_some(asio::buffer(chunk), onRead);
  });
  runFor(timeout);
  stream_.close();
  return text;
}

}  // namespace orvane
