#pragma once

// The bilingual texts of the lock dialog and of the password dialogs.

#include <array>

#include "model/Language.h"

namespace orvane::ui::LockTexts {

// The lock dialog.
inline constexpr BiText kLockTitle{" Select lock data", "选择锁定数据"};
inline constexpr BiText kFunctionLock{"Function lock", "功能锁"};
inline constexpr BiText kSystemLock{"System Lock", "系统锁"};
inline constexpr BiText kInputHeading{"Input channel functional lock", "输入通道功能锁定"};
inline constexpr BiText kOutputHeading{"Output channel function lock", "输出通道功能锁定"};
inline constexpr BiText kSelectAll{"Select all", "全选"};
inline constexpr BiText kOk{"OK", "确定"};
inline constexpr BiText kFunctionInfo{
    "Function locks belong to the current data only: loading other data replaces them. A locked function "
    "cannot be changed and its values are not shown. Storing a program stores its locks with it, and locks "
    "recalled with a program cannot be unlocked here. Unnamed device programs are factory data with nothing "
    "locked: recalling one clears every function lock. While any function is locked, the report is locked "
    "too.",
    "功能锁只属于当前数据：调用其他数据会替换它们。被锁定的功能不能修改，也不显示其数值。保存程序时锁定随程序"
    "一起保存，"
    "随程序调用的锁定在这里不能解除。未命名的设备程序是出厂数据，没有任何锁定：调用它会清除所有功能锁。"
    "只要有功能被锁定，报表也被锁定。"};
inline constexpr BiText kSystemInfo{
    "System locks are kept only in the device and do not change when data is loaded. Items 1 to 5 restrict "
    "both this software and the device's own panel. They are not stored with programs.",
    "系统锁只保存在设备中，调用数据时不会改变。第1至5项同时限制本软件和设备面板的操作。系统锁不随程序保存。"};

// The captions of the lock boxes, by flag; flags without a box have none.
struct FlagCaption {
  int flag;
  BiText text;
};
inline constexpr std::array<FlagCaption, 29> kFlagCaptions{{
    {0, {"1.Label", "1.标签"}},
    {1, {"2.Mute", "2.静音"}},
    {2, {"3.Delay", "3.延时"}},
    {3, {"5.Gain", "5.增益"}},
    {4, {"4.Polarity", "4.相位"}},
    {5, {"6.Main Volume", "6.总音量"}},
    {6, {"7.Main Feedback", "7.总防啸叫"}},
    {8, {"8.NoiseGate", "8.噪声门"}},
    {9, {"9.Feedback", "9.防啸叫"}},
    {10, {"10.KMG Matrix", "10.KMG分量矩阵"}},
    {11, {"11.Comp_Auto Gain", "11.压缩_自动增益"}},
    {12, {"12.EQ", "12.均衡"}},
    {13, {"13.X-over", "13.高低切"}},
    {14, {"14.Link", "14.联调"}},
    {16, {"1.Label", "1.标签"}},
    {17, {"2.Mute", "2.静音"}},
    {18, {"3.Delay", "3.延时"}},
    {19, {"5.Gain", "5.增益"}},
    {20, {"4.Polarity", "4.相位"}},
    {21, {"6.Main Volume", "6.总音量"}},
    {22, {"7.Comp_Limit", "7.压缩_限幅"}},
    {23, {"8.EQ", "8.均衡"}},
    {24, {"9.X-over", "9.分频"}},
    {25, {"10.Link", "10.联调"}},
    {32, {"1.Load data", "1.调用数据"}},
    {33, {"2.Save data", "2.保存数据"}},
    {34, {"3.Delete data", "3.删除数据"}},
    {36, {"4.Device ID", "4.设备ID"}},
    {37, {"5.Setting", "5.设置"}},
}};

}  // namespace orvane::ui::LockTexts
