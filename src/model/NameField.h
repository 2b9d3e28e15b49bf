#pragma once

// Channel names (8 bytes) and program names (16 bytes) are fixed byte fields
// in the channel blocks, the program records and the program files. Their
// bytes are GBK (code page 936, as written by the Chinese Windows systems
// that set these devices up): an ASCII byte is one character, a Chinese
// character two bytes. Display text is UTF-8.
//
// Conversions are safe on any bytes and any text: undecodable field bytes
// read as U+FFFD, characters GBK has no code for are written as '?', and a
// field is never left ending in half a double-byte character.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::NameField {

// Display text of the first `n` bytes of `bytes` (never more than the span
// holds): the bytes up to the first zero byte, decoded, with leading and
// trailing white space removed.
std::string FieldToText(std::span<const std::uint8_t> bytes, std::size_t n);
std::string FieldToText(std::span<const std::uint8_t> bytes);

// The field of `n` bytes for `text`: its GBK bytes, as many whole characters
// as fit, then zero bytes up to `n`. The text ends at an embedded zero
// character, as it would when the field is read back.
std::vector<std::uint8_t> TextToField(std::string_view text, std::size_t n);
// The same, written over the whole of `field`.
void TextToField(std::string_view text, std::span<std::uint8_t> field);

// Field bytes `text` would take without a size limit: what the name entries
// check against (a channel name holds eight ASCII or four Chinese characters).
std::size_t FieldBytes(std::string_view text);

}  // namespace orvane::NameField
