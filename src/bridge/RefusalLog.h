#pragma once

// The log of refused connections, kept short however often a client tries
// again. The first refusal from an address is logged in full; the ones that
// follow within the window are only counted, and the count is logged when
// the window ends ("refused 12 connections from 127.0.0.2 in the last
// 60 s"), which opens the next window. An address refused nothing for a
// whole window is forgotten, so its next refusal is logged in full again.
//
// At most `maxAddresses` addresses are counted one by one; refusals from
// further addresses share one count. So neither the table nor the log grows
// with the number of addresses: a window writes at most one line for each
// counted address and one for the rest.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "bridge/BridgeLog.h"
#include "platform/Socket.h"

namespace orvane {

class RefusalLog {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr std::chrono::milliseconds kWindow{60000};
  static constexpr std::size_t kMaxAddresses = 64;

  explicit RefusalLog(BridgeLog& log, std::chrono::milliseconds window = kWindow,
                      std::size_t maxAddresses = kMaxAddresses);

  // A connection from `peer` was refused for `reason`.
  void refused(const sockaddr_in& peer, const std::string& reason, Clock::time_point now);
  // Writes the counts of the windows that have ended by `now`.
  void flush(Clock::time_point now);
  // Writes every count still open, as when the bridge stops.
  void flushAll();
  // When the next window ends; max() when none is open.
  Clock::time_point nextFlush() const;

 private:
  struct Tally {
    explicit Tally(Clock::time_point start) : since(start) {}

    Clock::time_point since;  // the start of the window
    long count = 0;           // refusals since the last line
    std::string reason;       // of the last of them
  };

  // The tally `peer` counts in, opened at `now` when there was none; false
  // when it was opened by this call.
  std::pair<Tally*, bool> tallyOf(const sockaddr_in& peer, Clock::time_point now);
  // At the end of the tally's window: writes its count and opens the next
  // window, or, when nothing was refused, tells the caller to forget it.
  bool keep(Tally& tally, const std::string& from, Clock::time_point now);

  BridgeLog& log_;
  std::chrono::milliseconds window_;
  std::size_t maxAddresses_;
  std::map<std::uint32_t, Tally> addresses_;  // by address, host byte order
  std::optional<Tally> others_;               // every address past the table's size
};

}  // namespace orvane
