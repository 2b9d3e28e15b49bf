#include "platform/GbkConverter.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace orvane {

namespace {

constexpr UINT kFieldCodePage = 936;

// Windows gives the unassigned and user-defined codes of code page 936
// private-use characters, which show as nothing; they are no character here,
// in either direction, as in the other builds.
bool isPrivateUse(wchar_t unit) {
  return unit >= 0xE000 && unit <= 0xF8FF;
}

// The UTF-16 of `bytes` in `codePage`; empty when they are not a character
// there.
std::wstring wide(UINT codePage, std::string_view bytes) {
  std::array<wchar_t, 8> units{};
  const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), units.data(), units.size());
  const std::wstring text(units.data(), static_cast<std::size_t>(std::max(length, 0)));
  return std::any_of(text.begin(), text.end(), isPrivateUse) ? std::wstring() : text;
}

// The bytes of `units` in `codePage`; nullopt when it has no code for them.
std::optional<std::string> narrow(UINT codePage, const std::wstring& units) {
  std::array<char, 8> bytes{};
  BOOL defaulted = FALSE;
  // UTF-8 neither takes nor needs a default character.
  const bool utf8 = codePage == CP_UTF8;
  const int length = ::WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, units.data(),
                                           static_cast<int>(units.size()), bytes.data(), bytes.size(),
                                           nullptr, utf8 ? nullptr : &defaulted);
  if (length <= 0 || defaulted) return std::nullopt;
  return std::string(bytes.data(), static_cast<std::size_t>(length));
}

}  // namespace

// Windows converts without state: the direction is all there is.
struct GbkConverter::State {
  UINT from;
  UINT to;
};

GbkConverter::GbkConverter(Direction direction)
    : state_(direction == Direction::ToText ? std::make_unique<State>(State{kFieldCodePage, CP_UTF8})
                                            : std::make_unique<State>(State{CP_UTF8, kFieldCodePage})) {}

GbkConverter::~GbkConverter() = default;

std::optional<std::string> GbkConverter::convert(std::string_view bytes) const {
  const std::wstring units = wide(state_->from, bytes);
  if (units.empty()) return std::nullopt;
  return narrow(state_->to, units);
}

}  // namespace orvane
