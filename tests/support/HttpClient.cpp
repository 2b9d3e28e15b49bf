#include "support/HttpClient.h"

namespace orvane {

namespace http = boost::beast::http;

std::string HttpClient::Response::header(const std::string& name) const {
  const auto found = headers.find(name);
  return found == headers.end() ? std::string() : found->second;
}

HttpClient::HttpClient(int port, std::string from, std::chrono::milliseconds timeout)
    : timeout_(timeout),
      session_(std::make_unique<cli::HttpSession>("127.0.0.1", static_cast<std::uint16_t>(port),
                                                  std::move(from))) {}

void HttpClient::setHeader(const std::string& name, const std::string& value) {
  if (value.empty())
    headers_.erase(name);
  else
    headers_[name] = value;
}

cli::HttpSession::Request HttpClient::prepared(const std::string& method, const std::string& target) const {
  cli::HttpSession::Request request(http::string_to_verb(method), target, 11);
  request.set(http::field::host, session_->address());
  for (const auto& [name, value] : headers_) request.set(name, value);
  return request;
}

HttpClient::Response HttpClient::request(const std::string& method, const std::string& target,
                                         const std::string& body, const Headers& headers) {
  cli::HttpSession::Request request = prepared(method, target);
  for (const auto& [name, value] : headers) request.set(name, value);
  request.body() = body;
  if (!body.empty() || method == "POST" || method == "PUT") request.prepare_payload();
  cli::HttpSession::Reply reply = session_->exchange(request, timeout_, 64 * 1024 * 1024);
  Response response;
  if (reply.status == 0) return response;
  response.status = reply.status;
  response.headers = std::move(reply.headers);
  response.body = std::move(reply.body);
  return response;
}

std::string HttpClient::follow(const std::string& target,
                               const std::function<bool(const std::string&)>& enough,
                               std::chrono::milliseconds timeout) {
  return session_->follow(prepared("GET", target), enough, timeout);
}

}  // namespace orvane
