#include "support/RawClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

RawClient::RawClient(int port, const char* from) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  ::inet_pton(AF_INET, from, &local.sin_addr);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
  connected_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
               ::connect(fd_, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
}

RawClient::~RawClient() {
  if (fd_ >= 0) ::close(fd_);
}

RawClient::RawClient(RawClient&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), connected_(other.connected_) {}

bool RawClient::send(const std::string& bytes) {
  return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) ==
         static_cast<ssize_t>(bytes.size());
}

std::string RawClient::read(std::chrono::milliseconds timeout, bool& closed) {
  std::string text;
  closed = false;
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, 20) <= 0) continue;
    char chunk[4096];
    const ssize_t size = ::recv(fd_, chunk, sizeof chunk, 0);
    if (size <= 0) {
      closed = true;
      break;
    }
    text.append(chunk, static_cast<std::size_t>(size));
  }
  return text;
}

int RawClient::status(std::chrono::milliseconds timeout) {
  bool closed = false;
  std::string text;
  const auto deadline = Clock::now() + timeout;
  while (text.find("\r\n\r\n") == std::string::npos && !closed && Clock::now() < deadline)
    text += read(std::chrono::milliseconds(50), closed);
  return text.starts_with("HTTP/1.1 ") ? std::stoi(text.substr(9, 3)) : -1;
}

bool RawClient::closedWithin(std::chrono::milliseconds timeout) {
  bool closed = false;
  read(timeout, closed);
  return closed;
}

}  // namespace orvane
