#pragma once

// The lists of the image's enumerated parameters, each written once: what
// the pages' drop lists show, what reports and graphs show, and the words
// of the command line.

#include <array>

#include "model/ChoiceList.h"

namespace orvane::Choices {

using S = BiText;

// EQ band `Type`.
inline constexpr std::array<Choice, 3> kBandTypeEntries{{
    {0, {"Parameter", "参量"}, {"PEQ", "参量均衡"}, "peak"},
    {1, {"Lo-Shelf", "低调"}, {"Lo_Shf", "低调"}, "lowshelf"},
    {2, {"Hi-Shelf", "高调"}, {"Hi_Shf", "高调"}, "highshelf"},
}};
inline constexpr std::array<ChoiceAlias, 6> kBandTypeWords{
    {{"PEQ", 0}, {"PK", 0}, {"LS", 1}, {"HS", 2}, {"Lo_Shf", 1}, {"Hi_Shf", 2}}};
inline constexpr ChoiceList kBandType{kBandTypeEntries, kBandTypeWords};

// EQ band `Slope` of the shelving types.
inline constexpr std::array<Choice, 2> kShelfSlopeEntries{{
    {0, S::same("6dB"), S::same("6dB/oct"), "6dB/oct"},
    {1, S::same("12dB"), S::same("12dB/oct"), "12dB/oct"},
}};
inline constexpr std::array<ChoiceAlias, 4> kShelfSlopeWords{{{"6", 0}, {"12", 1}, {"6dB", 0}, {"12dB", 1}}};
inline constexpr ChoiceList kShelfSlope{kShelfSlopeEntries, kShelfSlopeWords};

// Crossover `XSLope_Lo` / `XSLope_Hi`, in dB per octave.
inline constexpr std::array<Choice, 7> kCrossoverSlopeEntries{{
    {0, S::same("12"), S::same("12dB/oct"), "12dB/oct"},
    {1, S::same("18"), S::same("18dB/oct"), "18dB/oct"},
    {2, S::same("24"), S::same("24dB/oct"), "24dB/oct"},
    {3, S::same("30"), S::same("30dB/oct"), "30dB/oct"},
    {4, S::same("36"), S::same("36dB/oct"), "36dB/oct"},
    {5, S::same("42"), S::same("42dB/oct"), "42dB/oct"},
    {6, S::same("48"), S::same("48dB/oct"), "48dB/oct"},
}};
inline constexpr std::array<ChoiceAlias, 7> kCrossoverSlopeWords{
    {{"12", 0}, {"18", 1}, {"24", 2}, {"30", 3}, {"36", 4}, {"42", 5}, {"48", 6}}};
inline constexpr ChoiceList kCrossoverSlope{kCrossoverSlopeEntries, kCrossoverSlopeWords};

// Crossover `XMode_Lo` / `XMode_Hi`: Linkwitz-Riley, Bessel, Butterworth.
inline constexpr std::array<Choice, 3> kCrossoverFamilyEntries{{
    {0, {"Link_Ril", "宁克"}, {"L_R", "宁克"}, "L_R"},
    {1, {"Bessel", "贝塞尔"}, {"Bessel", "贝塞尔"}, "Bessel"},
    {2, {"BTWorth", "巴特沃斯"}, {"BTWorth", "巴特沃斯"}, "BTWorth"},
}};
inline constexpr std::array<ChoiceAlias, 3> kCrossoverFamilyWords{
    {{"LR", 0}, {"Linkwitz-Riley", 0}, {"Butterworth", 2}}};
inline constexpr ChoiceList kCrossoverFamily{kCrossoverFamilyEntries, kCrossoverFamilyWords};

// An input's `Feedback`: off, then the levels 1..4.
inline constexpr std::array<Choice, 5> kFeedbackLevelEntries{{
    {0, S::same("OFF"), S::same("OFF"), "OFF"},
    {5, {"Level 1", "1级"}, {"1 Level", "1 级"}, "Level 1"},
    {7, {"Level 2", "2级"}, {"2 Level", "2 级"}, "Level 2"},
    {9, {"Level 3", "3级"}, {"3 Level", "3 级"}, "Level 3"},
    {11, {"Level 4", "4级"}, {"4 Level", "4 级"}, "Level 4"},
}};
inline constexpr std::array<ChoiceAlias, 5> kFeedbackLevelWords{
    {{"0", 0}, {"1", 5}, {"2", 7}, {"3", 9}, {"4", 11}}};
inline constexpr ChoiceList kFeedbackLevel{kFeedbackLevelEntries, kFeedbackLevelWords};

// Channel `Mute`: 1 = the channel sounds, 0 = muted.
inline constexpr std::array<Choice, 2> kMuteEntries{{
    {0, S::same("Mute"), S::same("Mute"), "on"},
    {1, S::same("ON"), S::same("ON"), "off"},
}};
inline constexpr std::array<ChoiceAlias, 4> kMuteWords{{{"1", 0}, {"0", 1}, {"muted", 0}, {"sounding", 1}}};
inline constexpr ChoiceList kMute{kMuteEntries, kMuteWords};

// Channel `Polarity`: 1 = normal, 0 = inverted.
inline constexpr std::array<Choice, 2> kPolarityEntries{{
    {1, {"+", "正相"}, {"+", "正相"}, "normal"},
    {0, {"-", "反相"}, {"-", "反相"}, "inverted"},
}};
inline constexpr std::array<ChoiceAlias, 2> kPolarityWords{{{"0", 1}, {"180", 0}}};
inline constexpr ChoiceList kPolarity{kPolarityEntries, kPolarityWords};

// The switches of the master section and the crosspoints.
inline constexpr std::array<Choice, 2> kSwitchEntries{{
    {1, {"ON", "开"}, {"ON", "开"}, "on"},
    {0, {"OFF", "关"}, {"OFF", "关"}, "off"},
}};
inline constexpr std::array<ChoiceAlias, 8> kSwitchWords{
    {{"1", 1}, {"0", 0}, {"true", 1}, {"false", 0}, {"yes", 1}, {"no", 0}, {"enabled", 1}, {"disabled", 0}}};
inline constexpr ChoiceList kSwitch{kSwitchEntries, kSwitchWords};

// The set-up block's choices; no report shows them.
inline constexpr std::array<Choice, 2> kDeviceModeEntries{
    {{0, {"Slave Mode", "从机"}, {}, "slave"}, {1, {"Master Mode", "主机"}, {}, "master"}}};
inline constexpr ChoiceList kDeviceMode{kDeviceModeEntries};
inline constexpr std::array<Choice, 2> kOutputEntries{
    {{0, {"Analog Output", "模拟输出"}, {}, "analog"}, {1, {"Digital Output", "数字输出"}, {}, "digital"}}};
inline constexpr ChoiceList kOutput{kOutputEntries};
inline constexpr std::array<Choice, 2> kOperatingModeEntries{
    {{0, {"Conference Mode", "会议模式"}, {}, "conference"},
     {1, {"Discussion Mode", "讨论模式"}, {}, "discussion"}}};
inline constexpr ChoiceList kOperatingMode{kOperatingModeEntries};
inline constexpr std::array<Choice, 2> kPriorityEntries{
    {{0, {"Representative", "代表"}, {}, "representative"}, {1, {"Chairman", "主席"}, {}, "chairman"}}};
inline constexpr ChoiceList kPriority{kPriorityEntries};

}  // namespace orvane::Choices
