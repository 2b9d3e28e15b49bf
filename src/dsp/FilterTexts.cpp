#include "dsp/FilterTexts.h"

#include <array>

#include "dsp/FilterFamily.h"
#include "model/Language.h"

namespace orvane::FilterTexts {

namespace {

constexpr std::array<BiText, 3> kKindNames{{
    {"PEQ", "参量均衡"},
    {"Lo_Shf", "低调"},
    {"Hi_Shf", "高调"},
}};

constexpr std::array<std::string_view, 2> kShelfSlopes{"6dB/oct", "12dB/oct"};

constexpr std::array<std::string_view, kSlopeCount> kCrossoverSlopes{
    "12dB/oct", "18dB/oct", "24dB/oct", "30dB/oct", "36dB/oct", "42dB/oct", "48dB/oct"};

constexpr std::array<BiText, kFamilyCount> kFamilyNames{{
    {"L_R", "宁克"},
    {"Bessel", "贝塞尔"},
    {"BTWorth", "巴特沃斯"},
}};

template <class T, std::size_t N>
const T* entry(const std::array<T, N>& table, int index) {
  if (index < 0 || index >= static_cast<int>(N)) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

}  // namespace

std::string_view kind(FilterKind kind, bool english) {
  const BiText* text = entry(kKindNames, static_cast<int>(kind));
  return text ? text->pick(english) : std::string_view();
}

std::string_view shelfSlope(int slope) {
  const std::string_view* text = entry(kShelfSlopes, slope);
  return text ? *text : std::string_view();
}

std::string_view crossoverSlope(int slope) {
  const std::string_view* text = entry(kCrossoverSlopes, slope);
  return text ? *text : std::string_view();
}

std::string_view family(int family, bool english) {
  const BiText* text = entry(kFamilyNames, family);
  return text ? text->pick(english) : std::string_view();
}

}  // namespace orvane::FilterTexts
