#include "model/Texts.h"

namespace orvane::Texts {

std::vector<std::string_view> CurrentList(std::span<const BiText> list) {
  const bool english = Language::isEnglish();
  std::vector<std::string_view> texts;
  texts.reserve(list.size());
  for (const BiText& text : list) texts.push_back(text.pick(english));
  return texts;
}

std::span<const BiText> LinkGroupList(Side side) {
  return side == Side::Input ? std::span<const BiText>(kInputLinkGroup)
                             : std::span<const BiText>(kOutputLinkGroup);
}

}  // namespace orvane::Texts
