#include "platform/GbkConverter.h"

#include <iconv.h>

#include <array>
#include <cstdint>

namespace orvane {

namespace {

constexpr const char* kFieldCharset = "CP936";
constexpr const char* kTextCharset = "UTF-8";

}  // namespace

// An iconv descriptor; none when the system lacks the code page.
struct GbkConverter::State {
  iconv_t cd;
};

GbkConverter::GbkConverter(Direction direction) {
  const bool toText = direction == Direction::ToText;
  iconv_t cd = iconv_open(toText ? kTextCharset : kFieldCharset, toText ? kFieldCharset : kTextCharset);
  if (cd != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)))
    state_ = std::make_unique<State>(State{cd});
}

GbkConverter::~GbkConverter() {
  if (state_) iconv_close(state_->cd);
}

std::optional<std::string> GbkConverter::convert(std::string_view bytes) const {
  if (!state_) {
    if (bytes.size() == 1 && static_cast<std::uint8_t>(bytes[0]) < 0x80) return std::string(bytes);
    return std::nullopt;
  }
  std::string input(bytes);
  std::array<char, 8> output{};
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  iconv(state_->cd, nullptr, nullptr, nullptr, nullptr);
  const std::size_t result = iconv(state_->cd, &in, &inLeft, &out, &outLeft);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(output.data(), output.size() - outLeft);
}

}  // namespace orvane
