#pragma once

// The bilingual captions and lists of the settings dialogs (system set-up,
// start-up program and network).

#include <array>

#include "model/Language.h"

namespace orvane::ui::SettingsTexts {

inline constexpr BiText kTitle{"Setting", "设置"};
inline constexpr BiText kHelp{"Help", "帮助"};

// Digital / analog conversion.
inline constexpr BiText kConversion{"Digital / analog conversion", "数字/模拟电平转换设置"};
inline constexpr BiText kDeviceMode{"DEVICE MODE", "1：设备模式"};
inline constexpr BiText kOutputSelection{"OUTPUT SELECTION", "2：输出通道选择"};
inline constexpr BiText kZeroDbfs{"0dB FS REFERENCE", "3：0dB FS 参考电平"};
// Shown in Chinese whatever the language.
inline constexpr BiText kSlaveAnalog = BiText::chineseOnly("从机不能选择模拟输出！");

// Priority.
inline constexpr BiText kPriority{"Priority Settings", "优先级设置"};
inline constexpr BiText kCameraAndPriority{"CAMERA && PRIORITY", "摄像头 && 优先级"};
inline constexpr BiText kModeSelection{"1:Mode Selection", "1：模式选择"};
inline constexpr BiText kLevel{"LEVEL", "级别"};
inline constexpr BiText kThreshold{"THRESHOLD", "阀值"};
inline constexpr BiText kSimultaneous{"Simulaneous  Channels", "同时工作通道数"};
inline constexpr BiText kAttenuation{"Attenuation", "自动衰减"};
inline constexpr BiText kConference{"Conference", "会议"};
inline constexpr BiText kDiscussion{"Discussion", "讨论"};
inline constexpr BiText kChairman{"Chairman", "1：主席级别"};
inline constexpr BiText kRepresentative{"Representative", "2：代表级别"};
inline constexpr BiText kCascade{"Cascade", "3：级联输入通道"};

// Optical delay and start-up program.
inline constexpr BiText kOpticalDelay{"Optical signal delay time settings", "光纤信号群延时时间设置"};
inline constexpr BiText kDelayTime{"delay time", "光纤信号群延时时间"};
inline constexpr BiText kStartupGroup{"Device start up program", "设备启动程序"};
inline constexpr BiText kStartupProgram{"Start up program", "启动程序"};
inline constexpr BiText kCurrentProgram{"Current Program", "当前程序"};
inline constexpr BiText kDeviceProgram{"Device Program", "设备程序"};

// Network.
inline constexpr BiText kNetwork{"Network", "设置网络"};
inline constexpr BiText kRename{"Modify network name", "修改网络名称"};
inline constexpr BiText kFactoryReset{"Restore network factory settings", "恢复网络出厂设置"};

// The help window.
inline constexpr BiText kQuit{"Quit", "退出"};

}  // namespace orvane::ui::SettingsTexts
