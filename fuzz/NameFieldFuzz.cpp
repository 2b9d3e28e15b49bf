// Arbitrary field bytes read as names and arbitrary text written into name
// fields of every size. A field is written exactly to its size and never
// past it, holds no half character, and what one round gives back stays the
// same on the next; plain text that fits comes back unchanged.

#include <algorithm>
#include <string>

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "model/NameField.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

constexpr std::size_t kGuard = 8;
constexpr std::uint8_t kGuardByte = 0xCD;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool plainAscii(std::string_view text) {
  if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes in(data, size);
  const std::size_t n = in.pick(33);
  const std::string_view text = in.restAsText();
  const std::span<const std::uint8_t> bytes(data, size);

  // Any bytes read as a field, with a length that may exceed them.
  NameField::FieldToText(bytes, n);
  NameField::FieldToText(bytes, n + size);
  NameField::FieldToText(bytes);

  const std::vector<std::uint8_t> field = NameField::TextToField(text, n);
  require(field.size() == n, "field not of its size");
  std::vector<std::uint8_t> guarded(n + 2 * kGuard, kGuardByte);
  NameField::TextToField(text, std::span(guarded).subspan(kGuard, n));
  require(std::all_of(guarded.begin(), guarded.begin() + kGuard, [](auto b) { return b == kGuardByte; }) &&
              std::all_of(guarded.end() - kGuard, guarded.end(), [](auto b) { return b == kGuardByte; }),
          "field written outside its bytes");
  require(std::equal(field.begin(), field.end(), guarded.begin() + kGuard), "the two writers disagree");

  const std::string shown = NameField::FieldToText(field);
  require(shown.find(kReplacement) == std::string::npos, "written field holds bytes that do not decode");
  require(NameField::FieldBytes(shown) <= n, "field shows more than it holds");
  const std::vector<std::uint8_t> again = NameField::TextToField(shown, n);
  require(NameField::FieldToText(again) == shown, "name changes on its second round");

  const std::string_view head = text.substr(0, text.find('\0'));
  if (plainAscii(head) && head.size() <= n) require(shown == head, "plain text that fits comes back changed");
  return 0;
}
