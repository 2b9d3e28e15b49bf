#pragma once

// The entries of an enumerated parameter: for each code the text its drop
// list shows in both languages, the short form reports and graphs use, and
// the word the command line prints; further words the command line takes
// are aliases. A code the list does not hold (a damaged block or file) has
// no entry and reads as the empty text.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/Language.h"

namespace orvane {

struct Choice {
  int code;
  BiText shown;                // the drop list's entry
  BiText reported;             // the report's and the graph's short form
  std::string_view word = {};  // the command line's word
};

struct ChoiceAlias {
  std::string_view word;
  int code;
};

class ChoiceList {
 public:
  constexpr ChoiceList(std::span<const Choice> entries, std::span<const ChoiceAlias> aliases = {})
      : entries_(entries), aliases_(aliases) {}

  std::span<const Choice> entries() const { return entries_; }
  std::span<const ChoiceAlias> aliases() const { return aliases_; }

  const Choice* find(int code) const;
  // The list position of `code`, which is the drop list's row.
  std::optional<int> position(int code) const;
  // The code at drop list row `position`, limited to the list.
  int codeAt(int position) const;

  // The drop list's texts in the current language, in list order.
  std::vector<std::string_view> shownTexts() const;
  std::string_view shownText(int code) const;
  std::string_view reportedText(int code, bool english) const;
  std::string_view reportedText(int code) const { return reportedText(code, Language::isEnglish()); }

 private:
  std::span<const Choice> entries_;
  std::span<const ChoiceAlias> aliases_;
};

}  // namespace orvane
