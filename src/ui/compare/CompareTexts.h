#pragma once

// The bilingual texts of the comparison of programs.

#include "model/Language.h"

namespace orvane::ui::CompareTexts {

inline constexpr BiText kCompareButton{"Compare", "比较"};
inline constexpr BiText kTitle{"Compare programs", "比较程序"};
inline constexpr BiText kCompare{"Compare", "比较"};
inline constexpr BiText kWorkingWithFile{"Working state with a program file", "当前状态与程序文件"};
inline constexpr BiText kTwoFiles{"Two program files", "两个程序文件"};
inline constexpr BiText kWorkingWithStored{"Working state with a device program", "当前状态与设备程序"};
inline constexpr BiText kChooseFirst{"First file…", "第一个文件…"};
inline constexpr BiText kFileButton{"Program file…", "程序文件…"};
inline constexpr BiText kRead{"Read from device", "从设备读取"};
inline constexpr BiText kTake{"Take selected", "采用所选"};
inline constexpr BiText kClose{"Close", "关闭"};

// The table's columns; the value columns are named after their sides.
inline constexpr BiText kParameter{"Parameter", "参数"};
inline constexpr BiText kPath{"Path", "路径"};
inline constexpr BiText kWorkingState{"Working state", "当前状态"};
inline constexpr BiText kProgram{"Program %1 %2", "程序%1 %2"};

// What the line above the table says.
inline constexpr BiText kNoDifferences{"No differences", "没有差异"};
inline constexpr BiText kDifferences{"%1 parameters differ", "%1 个参数不同"};
inline constexpr BiText kChooseFile{"Choose a program file to compare with the working state.",
                                    "请选择要与当前状态比较的程序文件。"};
inline constexpr BiText kChooseFiles{"Choose the two program files to compare.",
                                     "请选择要比较的两个程序文件。"};
inline constexpr BiText kReadProgram{"Choose a device program and read it.", "请选择设备程序并读取。"};
inline constexpr BiText kReading{"Reading program %1 from the device…", "正在从设备读取程序%1…"};
inline constexpr BiText kNoLink{"Device programs can be read only while the link is open.",
                                "只有在连接打开时才能读取设备程序。"};
inline constexpr BiText kLinkLost{"The link was lost: the program read from the device is no longer shown.",
                                  "连接已断开：不再显示从设备读取的程序。"};
inline constexpr BiText kNotRead{"The program could not be read: %1", "无法读取程序：%1"};
inline constexpr BiText kNotOpened{"The file could not be used: %1", "无法使用该文件：%1"};
inline constexpr BiText kNotTaken{"Some values were not taken:\n%1", "部分数值未被采用：\n%1"};

}  // namespace orvane::ui::CompareTexts
