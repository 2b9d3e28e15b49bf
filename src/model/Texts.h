#pragma once

// The fixed bilingual texts of the parameter model: the choice lists that
// stand for enumerated codes, and the link failure messages with the caption
// of the message box they appear in. Combo boxes fill from the list of the
// current language; for every list except the feedback levels a code is its
// position in the list.

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/BlockLayout.h"
#include "model/Language.h"

namespace orvane::Texts {

// EQ band `Type` 0..2.
inline constexpr std::array<BiText, 3> kEqBandType{{
    {"Parameter", "参量"},
    {"Lo-Shelf", "低调"},
    {"Hi-Shelf", "高调"},
}};

// Crossover `XMode_Lo` / `XMode_Hi` 0..2: Linkwitz-Riley, Bessel, Butterworth.
inline constexpr std::array<BiText, 3> kCrossoverFamily{{
    {"Link_Ril", "宁克"},
    {"Bessel", "贝塞尔"},
    {"BTWorth", "巴特沃斯"},
}};

// Crossover `XSLope_Lo` / `XSLope_Hi` 0..6, in dB per octave.
inline constexpr std::array<BiText, 7> kCrossoverSlope{{
    BiText::same("12"),
    BiText::same("18"),
    BiText::same("24"),
    BiText::same("30"),
    BiText::same("36"),
    BiText::same("42"),
    BiText::same("48"),
}};

// EQ band `Slope` 0..1 of the shelving types.
inline constexpr std::array<BiText, 2> kShelfSlope{{BiText::same("6dB"), BiText::same("12dB")}};

// Anti-feedback levels; the `Feedback` codes are 0, 5, 7, 9, 11 for positions
// 0..4 (see FeedbackPosition / FeedbackCode).
inline constexpr std::array<BiText, 5> kFeedbackLevel{{
    BiText::same("OFF"),
    {"Level 1", "1级"},
    {"Level 2", "2级"},
    {"Level 3", "3级"},
    {"Level 4", "4级"},
}};
inline constexpr std::array<int, 5> kFeedbackCodes{0, 5, 7, 9, 11};

// Link groups 0..7 of the inputs (lettered like the inputs) and outputs.
inline constexpr std::array<BiText, kChannels> kInputLinkGroup{{
    {"Link A", "联调A"},
    {"Link B", "联调B"},
    {"Link C", "联调C"},
    {"Link D", "联调D"},
    {"Link E", "联调E"},
    {"Link F", "联调F"},
    {"Link G", "联调G"},
    {"Link H", "联调H"},
}};
inline constexpr std::array<BiText, kChannels> kOutputLinkGroup{{
    {"Link 1", "联调1"},
    {"Link 2", "联调2"},
    {"Link 3", "联调3"},
    {"Link 4", "联调4"},
    {"Link 5", "联调5"},
    {"Link 6", "联调6"},
    {"Link 7", "联调7"},
    {"Link 8", "联调8"},
}};

// Message box caption and messages.
inline constexpr BiText kInformation{"Information", "信息"};
inline constexpr BiText kOpenLinkFirst{"Please open the Link", "请打开连接"};
inline constexpr BiText kComPortFailed{"Unable to Open COM-Port", "不能打开串口"};
inline constexpr BiText kUsbFailed{"Unable to Open USB", "不能打开USB"};
inline constexpr BiText kNetworkFailed{"Unable to Open NetWork", "不能打开网络"};

// The texts of `list` in the current language, in list order.
std::vector<std::string_view> CurrentList(std::span<const BiText> list);

// Text of list position `code` in the current language; empty for a code the
// list does not hold (a damaged block or file), so nothing reads past a list.
std::string_view ChoiceText(std::span<const BiText> list, int code);

std::span<const BiText> LinkGroupList(Side side);

// List position of a `Feedback` code; none for a code that is no level.
std::optional<int> FeedbackPosition(int code);
// `Feedback` code of a list position; positions outside 0..4 are limited.
int FeedbackCode(int position);
// Text of a `Feedback` code; empty for a code that is no level.
std::string_view FeedbackText(int code);

}  // namespace orvane::Texts
