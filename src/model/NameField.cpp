#include "model/NameField.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>

namespace orvane::NameField {

namespace {

constexpr const char* kFieldCharset = "CP936";
constexpr const char* kTextCharset = "UTF-8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr char kUnencodable = '?';
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

struct IconvCloser {
  void operator()(std::remove_pointer_t<iconv_t>* cd) const { iconv_close(cd); }
};
using Converter = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// A descriptor for one call: iconv descriptors carry state and must not be
// shared between threads. Empty when the system lacks the code page; the
// conversions then pass ASCII through and replace everything else.
Converter Open(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) return nullptr;
  return Converter(cd);
}

std::uint8_t ByteAt(std::string_view text, std::size_t pos) {
  return static_cast<std::uint8_t>(text[pos]);
}

// Converts the bytes of exactly one character; empty when they are not a
// character or the target has no code for it.
std::optional<std::string> ConvertCharacter(const Converter& cd, std::string_view bytes) {
  if (!cd) {
    if (bytes.size() == 1 && ByteAt(bytes, 0) < 0x80) return std::string(bytes);
    return std::nullopt;
  }
  std::string input(bytes);
  std::array<char, 8> output{};
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  const std::size_t result = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(output.data(), output.size() - outLeft);
}

bool IsGbkLead(std::uint8_t byte) {
  return byte >= 0x81 && byte <= 0xFE;
}
bool IsGbkTrail(std::uint8_t byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Decodes GBK bytes one character at a time, so that a bad byte costs one
// U+FFFD and the characters after it still read.
std::string Decode(std::string_view bytes) {
  const Converter cd = Open(kTextCharset, kFieldCharset);
  std::string text;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const bool pair =
        IsGbkLead(ByteAt(bytes, pos)) && pos + 1 < bytes.size() && IsGbkTrail(ByteAt(bytes, pos + 1));
    std::size_t length = pair ? 2 : 1;
    if (const auto character = ConvertCharacter(cd, bytes.substr(pos, length))) {
      text += *character;
    } else {
      text += kReplacement;
      // An ASCII byte after a bad lead byte is a character of its own.
      if (pair && ByteAt(bytes, pos + 1) < 0x80) length = 1;
    }
    pos += length;
  }
  return text;
}

// Length of the UTF-8 sequence at the start of `text` as told by its lead
// and continuation bytes, 0 when they do not form one. iconv rejects the
// remaining malformed forms (overlong, surrogates).
std::size_t Utf8Length(std::string_view text) {
  const std::uint8_t lead = ByteAt(text, 0);
  std::size_t length = 0;
  if (lead < 0x80) {
    length = 1;
  } else if (lead >= 0xC0 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF7) {
    length = 4;
  }
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((ByteAt(text, i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// GBK bytes of `text`, whole characters only, at most `limit` bytes. Stops
// at a zero character, which would end the field when it is read.
std::string Encode(std::string_view text, std::size_t limit) {
  const Converter cd = Open(kFieldCharset, kTextCharset);
  std::string field;
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    std::size_t length = Utf8Length(text.substr(pos));
    std::optional<std::string> character;
    if (length == 0) {
      length = 1;
    } else {
      character = ConvertCharacter(cd, text.substr(pos, length));
    }
    const std::string bytes = character.value_or(std::string(1, kUnencodable));
    if (field.size() + bytes.size() > limit) break;
    field += bytes;
    pos += length;
  }
  return field;
}

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string FieldToText(std::span<const std::uint8_t> bytes, std::size_t n) {
  const auto field = bytes.first(std::min(n, bytes.size()));
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  const std::string raw(field.begin(), end);
  return Trim(Decode(raw));
}

std::string FieldToText(std::span<const std::uint8_t> bytes) {
  return FieldToText(bytes, bytes.size());
}

std::vector<std::uint8_t> TextToField(std::string_view text, std::size_t n) {
  std::vector<std::uint8_t> field(n, 0);
  TextToField(text, std::span<std::uint8_t>(field));
  return field;
}

void TextToField(std::string_view text, std::span<std::uint8_t> field) {
  const std::string bytes = Encode(text, field.size());
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::transform(bytes.begin(), bytes.end(), field.begin(),
                 [](char byte) { return static_cast<std::uint8_t>(byte); });
}

std::size_t FieldBytes(std::string_view text) {
  return Encode(text, std::numeric_limits<std::size_t>::max()).size();
}

}  // namespace orvane::NameField
