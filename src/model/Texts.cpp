#include "model/Texts.h"

#include <algorithm>

namespace orvane::Texts {

std::vector<std::string_view> CurrentList(std::span<const BiText> list) {
  const bool english = Language::isEnglish();
  std::vector<std::string_view> texts;
  texts.reserve(list.size());
  for (const BiText& text : list) texts.push_back(text.pick(english));
  return texts;
}

std::string_view ChoiceText(std::span<const BiText> list, int code) {
  if (code < 0 || static_cast<std::size_t>(code) >= list.size()) return {};
  return list[static_cast<std::size_t>(code)].current();
}

std::span<const BiText> LinkGroupList(Side side) {
  return side == Side::Input ? std::span<const BiText>(kInputLinkGroup)
                             : std::span<const BiText>(kOutputLinkGroup);
}

std::optional<int> FeedbackPosition(int code) {
  const auto found = std::find(kFeedbackCodes.begin(), kFeedbackCodes.end(), code);
  if (found == kFeedbackCodes.end()) return std::nullopt;
  return static_cast<int>(found - kFeedbackCodes.begin());
}

int FeedbackCode(int position) {
  const int last = static_cast<int>(kFeedbackCodes.size()) - 1;
  return kFeedbackCodes[static_cast<std::size_t>(std::clamp(position, 0, last))];
}

std::string_view FeedbackText(int code) {
  const std::optional<int> position = FeedbackPosition(code);
  return position ? ChoiceText(kFeedbackLevel, *position) : std::string_view{};
}

}  // namespace orvane::Texts
