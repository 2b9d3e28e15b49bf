#pragma once

// The bilingual texts of the parameter report, and the widths of its
// columns in the report window, which the printed columns keep in
// proportion.

#include "model/Language.h"

namespace orvane::ui::ReportTexts {

inline constexpr int kTypeWidth = 130;
inline constexpr int kChannelWidth = 72;

inline constexpr BiText kTitle{"Data View", "参数值显示"};
inline constexpr BiText kPrint{"print", "打印"};
inline constexpr BiText kClose{"close", "关闭"};
inline constexpr BiText kExport{"Export Excel", "导出Excel"};

// Export; these read the same in both languages.
inline constexpr BiText kExportTitle = BiText::chineseOnly("导出");
inline constexpr BiText kExcelFiles = BiText::chineseOnly("Excel文件(*.xlsx)");
inline constexpr BiText kAllFiles{"All files (*)", "所有文件 (*)"};
inline constexpr BiText kSavedIn = BiText::chineseOnly("导出文件保存于%1!");
inline constexpr BiText kWriteFailed{"The spreadsheet could not be written to %1.", "无法写入表格文件 %1。"};

// The printed pages.
inline constexpr BiText kHeading{"Orvane parameter report", "Orvane 参数报表"};
inline constexpr BiText kProgramLine{"Program: %1   No.: %2   Printed: %3",
                                     "程序名：%1   编号：%2   打印时间：%3"};
inline constexpr BiText kFooter{"Device link: %1   Device ID: %2", "设备连接：%1   设备ID：%2"};
inline constexpr BiText kPageOf = BiText::englishOnly("Page %1 of %2");
inline constexpr BiText kJobName = BiText::englishOnly("Orvane report %1");

}  // namespace orvane::ui::ReportTexts
