#include "model/NameField.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/GbkConverter.h"

namespace orvane::NameField {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr char kUnencodable = '?';
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::uint8_t ByteAt(std::string_view text, std::size_t pos) {
  return static_cast<std::uint8_t>(text[pos]);
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
  const GbkConverter cd(GbkConverter::Direction::ToText);
  std::string text;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const bool pair =
        IsGbkLead(ByteAt(bytes, pos)) && pos + 1 < bytes.size() && IsGbkTrail(ByteAt(bytes, pos + 1));
    std::size_t length = pair ? 2 : 1;
    if (const auto character = cd.convert(bytes.substr(pos, length))) {
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
// and continuation bytes, 0 when they do not form one. The converter rejects the
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
  const GbkConverter cd(GbkConverter::Direction::ToField);
  std::string field;
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] != '\0') {
    std::size_t length = Utf8Length(text.substr(pos));
    std::optional<std::string> character;
    if (length == 0) {
      length = 1;
    } else {
      character = cd.convert(text.substr(pos, length));
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
