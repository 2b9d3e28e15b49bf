#pragma once

// Converts one character at a time between GBK (code page 936, the bytes of
// the device's name fields) and UTF-8 (display text), through the system's
// own tables: iconv, or the code page services on Windows. A converter
// carries state: each call site makes its own and does not share it between
// threads.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

class GbkConverter {
 public:
  enum class Direction : std::uint8_t { ToText, ToField };

  explicit GbkConverter(Direction direction);
  ~GbkConverter();
  GbkConverter(const GbkConverter&) = delete;
  GbkConverter& operator=(const GbkConverter&) = delete;

  // The bytes of exactly one character converted; nullopt when they are not
  // a character or the other side has no code for it. Without the code page
  // on the system, ASCII passes and everything else is refused.
  std::optional<std::string> convert(std::string_view bytes) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvane
