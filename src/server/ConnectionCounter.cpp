#include "server/ConnectionCounter.h"

#include <utility>

namespace orvane::server {

ConnectionCounter::Slot::Slot(Slot&& other) noexcept
    : counter_(std::exchange(other.counter_, nullptr)), address_(std::move(other.address_)) {}

ConnectionCounter::Slot& ConnectionCounter::Slot::operator=(Slot&& other) noexcept {
  if (this != &other) {
    if (counter_) counter_->release(address_);
    counter_ = std::exchange(other.counter_, nullptr);
    address_ = std::move(other.address_);
  }
  return *this;
}

ConnectionCounter::Slot::~Slot() {
  if (counter_) counter_->release(address_);
}

ConnectionCounter::Slot ConnectionCounter::admit(const std::string& address) {
  std::lock_guard lock(mutex_);
  std::size_t& mine = byAddress_[address];
  if (open_ >= total_ || mine >= perAddress_) {
    if (mine == 0) byAddress_.erase(address);
    return Slot();
  }
  ++mine;
  ++open_;
  return Slot(this, address);
}

std::size_t ConnectionCounter::open() const {
  std::lock_guard lock(mutex_);
  return open_;
}

void ConnectionCounter::release(const std::string& address) {
  std::lock_guard lock(mutex_);
  --open_;
  // Addresses without a connection are forgotten: the table stays as
  // small as what is open.
  if (--byAddress_[address] == 0) byAddress_.erase(address);
}

}  // namespace orvane::server
