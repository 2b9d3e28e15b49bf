#pragma once

// The report as a spreadsheet: an Office Open XML workbook with one sheet,
// "ProcessorData", whose first row holds the column captions and whose next
// rows hold the report's rows as text cells, exactly as the report shows
// them.

#include <string>

namespace orvane {

class ReportTable;

namespace ReportWorkbook {

inline constexpr const char* kSheetName = "ProcessorData";

// Writes the workbook to `path` (replacing what is there); false when the
// file could not be written.
bool write(const ReportTable& table, const std::string& path);

}  // namespace ReportWorkbook

}  // namespace orvane
