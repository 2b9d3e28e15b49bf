#pragma once

// The fixed bilingual texts of the parameter model that are no parameter's
// choices: the names of the link groups, and the link failure messages with
// the caption of the message box they appear in.

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "model/BlockLayout.h"
#include "model/Language.h"

namespace orvane::Texts {

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

std::span<const BiText> LinkGroupList(Side side);

}  // namespace orvane::Texts
