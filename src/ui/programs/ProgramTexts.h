#pragma once

// The bilingual texts of the program manager and of the program files.

#include "model/Language.h"

namespace orvane::ui::ProgramTexts {

inline constexpr BiText kTitle{"Program", "程序"};
inline constexpr BiText kDevicePrograms{"Device Program", "设备程序"};
inline constexpr BiText kLoadFromDevice{"Load program from device", "从设备调用一个程序"};
inline constexpr BiText kSaveToDevice{"Save program to device", "保存一个程序到设备"};
inline constexpr BiText kLoad{"Load", "调用"};
inline constexpr BiText kSave{"Save", "保存"};
inline constexpr BiText kDelete{"Delete", "删除"};
inline constexpr BiText kPcPrograms{"PC Program", "电脑程序"};
inline constexpr BiText kLoadOne{"Load 1 program from PC", "从电脑调用一个程序"};
inline constexpr BiText kSaveOne{"Save 1 program to PC", "保存一个程序到电脑"};
inline constexpr BiText kLoadAll{"Load all programs from PC", "从电脑调用全部程序"};
inline constexpr BiText kSaveAll{"Save all programs to PC", "保存全部程序到电脑"};
inline constexpr BiText kOk{"OK", "确认"};
inline constexpr BiText kNumber{"No", "编号"};
inline constexpr BiText kType{"Type", "类型"};
inline constexpr BiText kName{"Name", "名称"};
inline constexpr BiText kProgram{"Program", "程序"};
inline constexpr BiText kUser{"User", "用户程序"};

inline constexpr BiText kOpenLink{"Please open the Link", "请打开连接"};
inline constexpr BiText kEnterName{"Please enter the name!", "请输入程序名！"};
inline constexpr BiText kNameTooLong{
    "The name is too long: a program name holds 16 letters or digits, or 8 Chinese characters.",
    "程序名太长：程序名最多16个英文字母或数字，或8个汉字。"};

inline constexpr BiText kFileReadError = BiText::englishOnly("File read Error");
inline constexpr BiText kMusicFileReadError{"MusicFile read Error", "音乐文件读错误"};
inline constexpr BiText kMusicFileWriteError = BiText::englishOnly("MusicFile Write Error");

}  // namespace orvane::ui::ProgramTexts
