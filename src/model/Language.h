#pragma once

// The process-wide language flag and the bilingual text pairs every window,
// message box and report picks from. Nonzero selects English, zero Chinese;
// the program starts in Chinese.

#include <atomic>
#include <string_view>

namespace orvane {

class Language {
 public:
  static int flag() { return flag_.load(std::memory_order_relaxed); }
  static void setFlag(int value) { flag_.store(value, std::memory_order_relaxed); }
  static bool isEnglish() { return flag() != 0; }

 private:
  static inline std::atomic<int> flag_{0};
};

// A text in English and in Chinese (UTF-8). A few texts exist in one language
// only; they are made with englishOnly / chineseOnly and shown as they are
// whatever the flag says.
struct BiText {
  std::string_view english;
  std::string_view chinese;

  static constexpr BiText englishOnly(std::string_view text) { return {text, text}; }
  static constexpr BiText chineseOnly(std::string_view text) { return {text, text}; }
  // Texts such as units and numbers that read the same in both languages.
  static constexpr BiText same(std::string_view text) { return {text, text}; }

  std::string_view pick(bool inEnglish) const { return inEnglish ? english : chinese; }
  std::string_view current() const { return pick(Language::isEnglish()); }
};

}  // namespace orvane
