#include "model/ChoiceList.h"

#include <algorithm>

namespace orvane {

const Choice* ChoiceList::find(int code) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [code](const Choice& c) { return c.code == code; });
  return found == entries_.end() ? nullptr : &*found;
}

std::optional<int> ChoiceList::position(int code) const {
  const Choice* choice = find(code);
  if (choice == nullptr) return std::nullopt;
  return static_cast<int>(choice - entries_.data());
}

int ChoiceList::codeAt(int position) const {
  if (entries_.empty()) return 0;
  const int last = static_cast<int>(entries_.size()) - 1;
  return entries_[static_cast<std::size_t>(std::clamp(position, 0, last))].code;
}

std::vector<std::string_view> ChoiceList::shownTexts() const {
  std::vector<std::string_view> texts;
  texts.reserve(entries_.size());
  for (const Choice& choice : entries_) texts.push_back(choice.shown.current());
  return texts;
}

std::string_view ChoiceList::shownText(int code) const {
  const Choice* choice = find(code);
  return choice ? choice->shown.current() : std::string_view();
}

std::string_view ChoiceList::reportedText(int code, bool english) const {
  const Choice* choice = find(code);
  return choice ? choice->reported.pick(english) : std::string_view();
}

}  // namespace orvane
