#pragma once

// Counts what is open (connections, or event streams) in all and by client
// address, and admits a new one only while both counts are below their
// bounds: one address cannot take every place.

#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace orvane::server {

class ConnectionCounter {
 public:
  // A place taken; given back when the slot ends. An empty slot holds none.
  class Slot {
   public:
    Slot() = default;
    Slot(ConnectionCounter* counter, std::string address) : counter_(counter), address_(std::move(address)) {}
    Slot(Slot&& other) noexcept;
    Slot& operator=(Slot&& other) noexcept;
    ~Slot();

    explicit operator bool() const { return counter_ != nullptr; }

   private:
    ConnectionCounter* counter_ = nullptr;
    std::string address_;
  };

  ConnectionCounter(std::size_t total, std::size_t perAddress) : total_(total), perAddress_(perAddress) {}

  // A slot when `address` may open one more; an empty one when not.
  Slot admit(const std::string& address);
  std::size_t open() const;

 private:
  void release(const std::string& address);

  const std::size_t total_;
  const std::size_t perAddress_;
  mutable std::mutex mutex_;
  std::size_t open_ = 0;
  std::map<std::string, std::size_t> byAddress_;
};

}  // namespace orvane::server
