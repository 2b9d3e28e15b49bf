#pragma once

// The nonce byte of every frame the PC builds: a pseudo-random number 0..100.
// Seedable so tests get repeatable frames; shared by the user-interface
// thread (builders) and the worker (idle frames), hence the lock.

#include <cstdint>
#include <mutex>
#include <random>

namespace orvane {

class NonceSource {
 public:
  explicit NonceSource(std::uint32_t seed = std::random_device{}()) : engine_(seed) {}

  void seed(std::uint32_t value) {
    std::lock_guard lock(mutex_);
    engine_.seed(value);
  }

  std::uint8_t next() {
    std::lock_guard lock(mutex_);
    return static_cast<std::uint8_t>(engine_() % 101);
  }

 private:
  std::mutex mutex_;
  std::minstd_rand engine_;
};

}  // namespace orvane
