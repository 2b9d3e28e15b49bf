#include "cli/ServerClient.h"

namespace orvane::cli {

namespace {

namespace http = boost::beast::http;

// An all-programs file and a little more; the API answers nothing larger.
constexpr std::uint64_t kLargestAnswer = 1 << 20;

}  // namespace

ServerClient::ServerClient(const NetEndpoint& server, std::string code)
    : code_(std::move(code)), session_(server.host, server.port) {}

ServerClient::Answer ServerClient::request(http::verb method, const std::string& target,
                                           const std::string& body, std::chrono::seconds timeout,
                                           const char* contentType) {
  HttpSession::Request request(method, target, 11);
  request.set(http::field::host, address());
  request.set("X-Orvane-Code", code_);
  if (method != http::verb::get) {
    request.set(http::field::content_type, contentType);
    request.body() = body;
    request.prepare_payload();
  }
  const bool reused = session_.connected();
  Answer answer = session_.exchange(request, timeout, kLargestAnswer);
  // The server ends a connection that stood idle; a request that found it
  // ended goes again on a new one.
  if (answer.status == 0 && reused && answer.failure == HttpSession::kClosed)
    answer = session_.exchange(request, timeout, kLargestAnswer);
  return answer;
}

}  // namespace orvane::cli
