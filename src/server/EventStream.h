#pragma once

// A page's live stream on its connection: the answer's head, then each
// event as the source has it, looked for twenty times a second, and an
// "alive" event when nothing came for a while: the page finds a connection
// that went silent, the server a page that was closed.
//
// A reader is never fed faster than it reads: while one event is on its
// way, nothing else is taken from the source, and the source gives a
// reader that fell behind the current state instead of what it missed.
// The system holds only a small send buffer for it; a reader that takes
// nothing for the write time is dropped.

#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <memory>
#include <string>

#include "server/ConnectionCounter.h"
#include "server/HttpLimits.h"
#include "server/HttpTypes.h"

namespace orvane::server {

class EventStream : public std::enable_shared_from_this<EventStream> {
 public:
  static constexpr std::chrono::milliseconds kLook{50};

  EventStream(boost::beast::tcp_stream stream, ConnectionCounter::Slot connection,
              ConnectionCounter::Slot place, EventSource source, const HttpLimits& limits);

  void start();

 private:
  using Clock = std::chrono::steady_clock;

  void send(std::string text);
  void look();

  boost::beast::tcp_stream stream_;
  ConnectionCounter::Slot connection_;
  ConnectionCounter::Slot place_;
  EventSource source_;
  const HttpLimits& limits_;
  boost::asio::steady_timer timer_;
  long seen_ = -1;
  std::string sending_;
  Clock::time_point lastSent_ = Clock::now();
};

}  // namespace orvane::server
