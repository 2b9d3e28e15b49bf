#pragma once

// The bilingual texts of the input and output pages: tab and group titles,
// and captions with their units. The entries of their drop lists are the
// parameters' own choices.

#include <array>

#include "model/Language.h"

namespace orvane::ui::PageTexts {

// Tabs.
inline constexpr BiText kEqTab{"Equaliser", "均衡"};
inline constexpr BiText kChannelTab{"Crossover, delay, gain", "分频 延时 增益"};
inline constexpr BiText kDynamicsTab{"Dynamics", "动态"};

// Equaliser.
inline constexpr BiText kBypass{"EQ bypass", "均衡直通"};
inline constexpr BiText kBandType{"Type", "类型"};
inline constexpr BiText kFrequency{"Freq (Hz)", "频率(Hz)"};
inline constexpr BiText kOctaves{"BW (oct)", "带宽(oct)"};
inline constexpr BiText kQ{"Q / slope", "Q值/斜率"};
inline constexpr BiText kBandGain{"Gain (dB)", "增益(dB)"};
inline constexpr BiText kImportRew{"Import REW filters…", "导入 REW 滤波器…"};

// Crossover.
inline constexpr BiText kCrossover{"Crossover", "分频器"};
inline constexpr BiText kHighPass{"High-pass", "高通"};
inline constexpr BiText kLowPass{"Low-pass", "低通"};
inline constexpr BiText kFamily{"Filter", "滤波器"};
inline constexpr BiText kSlope{"Slope (dB/oct)", "斜率(dB/oct)"};

// Delay, polarity, gain.
inline constexpr BiText kDelay{"Delay", "延时"};
inline constexpr BiText kDelayMs{"Time (ms)", "时间(ms)"};
inline constexpr BiText kDelayMetres{"Distance (m)", "距离(m)"};
inline constexpr BiText kDelayFeet{"Distance (ft)", "距离(ft)"};
inline constexpr BiText kChannel{"Channel", "通道"};
inline constexpr BiText kGain{"Gain (dB)", "增益(dB)"};
inline constexpr BiText kPolarity{"Polarity", "极性"};
inline constexpr BiText kInvert{"Invert", "反相"};
inline constexpr BiText kNoiseGate{"Noise gate (dB)", "噪声门(dB)"};
inline constexpr BiText kAntiFeedback{"Anti-feedback", "防啸叫"};
// "NULL" stands for an anti-feedback code the list does not hold.
inline constexpr BiText kNull = BiText::same("NULL");

// Dynamics.
inline constexpr BiText kAgc{"AGC", "自动增益"};
inline constexpr BiText kCompressor{"Compressor", "压缩器"};
inline constexpr BiText kLimiter{"Limiter", "限幅器"};
inline constexpr BiText kTarget{"Target (dB)", "目标电平(dB)"};
inline constexpr BiText kThreshold{"Threshold (dB)", "门限(dB)"};
inline constexpr BiText kLevel{"Level (dB)", "电平(dB)"};
inline constexpr BiText kAttack{"Attack (ms)", "启动时间(ms)"};
inline constexpr BiText kResponse{"Response (ms)", "响应时间(ms)"};
inline constexpr BiText kRelease{"Release (ms)", "释放时间(ms)"};
inline constexpr BiText kRatio{"Ratio", "比率"};

}  // namespace orvane::ui::PageTexts
