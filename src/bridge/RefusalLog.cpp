#include "bridge/RefusalLog.h"

#include <array>
#include <iterator>

#include "bridge/Durations.h"

namespace orvane {

namespace {

std::string addressOf(std::uint32_t hostOrder) {
  in_addr address{};
  address.s_addr = htonl(hostOrder);
  return sockets::ipv4Text(address);
}

}  // namespace

RefusalLog::RefusalLog(BridgeLog& log, std::chrono::milliseconds window, std::size_t maxAddresses)
    : log_(log), window_(window), maxAddresses_(maxAddresses) {}

std::pair<RefusalLog::Tally*, bool> RefusalLog::tallyOf(const sockaddr_in& peer, Clock::time_point now) {
  const std::uint32_t address = ntohl(peer.sin_addr.s_addr);
  if (const auto found = addresses_.find(address); found != addresses_.end()) return {&found->second, true};
  if (addresses_.size() < maxAddresses_) return {&addresses_.emplace(address, now).first->second, false};
  if (others_) return {&*others_, true};
  others_.emplace(now);
  return {&*others_, false};
}

void RefusalLog::refused(const sockaddr_in& peer, const std::string& reason, Clock::time_point now) {
  const auto [tally, known] = tallyOf(peer, now);
  if (!known) {
    log_.write("client " + sockets::ipv4Text(peer.sin_addr) + ":" + std::to_string(ntohs(peer.sin_port)) +
               " refused: " + reason);
    return;
  }
  ++tally->count;
  tally->reason = reason;
}

bool RefusalLog::keep(Tally& tally, const std::string& from, Clock::time_point now) {
  if (tally.count == 0) return false;
  log_.write("refused " + std::to_string(tally.count) + (tally.count == 1 ? " connection" : " connections") +
             " from " + from + " in the last " + describe(window_) + " (the last because " + tally.reason +
             ")");
  tally = Tally{now};
  return true;
}

void RefusalLog::flush(Clock::time_point now) {
  for (auto it = addresses_.begin(); it != addresses_.end();) {
    const bool due = now - it->second.since >= window_;
    it = !due || keep(it->second, addressOf(it->first), now) ? std::next(it) : addresses_.erase(it);
  }
  if (others_ && now - others_->since >= window_ && !keep(*others_, "other addresses", now)) others_.reset();
}

void RefusalLog::flushAll() {
  const Clock::time_point now = Clock::now();
  for (auto& [address, tally] : addresses_) keep(tally, addressOf(address), now);
  if (others_) keep(*others_, "other addresses", now);
  addresses_.clear();
  others_.reset();
}

RefusalLog::Clock::time_point RefusalLog::nextFlush() const {
  Clock::time_point next = others_ ? others_->since + window_ : Clock::time_point::max();
  for (const auto& [address, tally] : addresses_) next = std::min(next, tally.since + window_);
  return next;
}

}  // namespace orvane
