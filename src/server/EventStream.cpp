#include "server/EventStream.h"

#include <boost/asio/write.hpp>

namespace orvane::server {

namespace {

constexpr const char* kHead =
    "HTTP/1.1 200 OK\r\n"
    "Content-Type: text/event-stream\r\n"
    "Cache-Control: no-store\r\n"
    "X-Content-Type-Options: nosniff\r\n"
    "Connection: close\r\n"
    "\r\n";

// Pages listen for it to tell a silent connection from a quiet room.
constexpr const char* kAlive = "event: alive\ndata: {}\n\n";

}  // namespace

EventStream::EventStream(boost::beast::tcp_stream stream, ConnectionCounter::Slot connection,
                         ConnectionCounter::Slot place, EventSource source, const HttpLimits& limits)
    : stream_(std::move(stream)),
      connection_(std::move(connection)),
      place_(std::move(place)),
      source_(std::move(source)),
      limits_(limits),
      timer_(stream_.get_executor()) {}

void EventStream::start() {
  boost::beast::error_code ignored;
  stream_.socket().set_option(boost::asio::socket_base::send_buffer_size(limits_.streamSendBuffer), ignored);
  send(kHead);
}

void EventStream::send(std::string text) {
  sending_ = std::move(text);
  lastSent_ = Clock::now();
  stream_.expires_after(limits_.writeTime);
  boost::asio::async_write(stream_, boost::asio::buffer(sending_),
                           [self = shared_from_this()](boost::beast::error_code error, std::size_t) {
                             if (error) return self->stream_.close();
                             self->look();
                           });
}

void EventStream::look() {
  if (std::optional<std::string> event = source_.next(seen_)) return send(std::move(*event));
  if (Clock::now() - lastSent_ >= limits_.streamQuiet) return send(kAlive);
  timer_.expires_after(kLook);
  timer_.async_wait([self = shared_from_this()](boost::beast::error_code error) {
    if (!error) self->look();
  });
}

}  // namespace orvane::server
