#pragma once

// The report as a spreadsheet: an Office Open XML workbook with one sheet,
// "ProcessorData", whose first row holds the column captions and whose next
// rows hold the report's rows as text cells, exactly as the report shows
// them.

#include <string>
#include <string_view>

#include "platform/AtomicFile.h"

namespace orvane {

class ReportTable;

namespace ReportWorkbook {

inline constexpr const char* kSheetName = "ProcessorData";

// Why this build cannot write workbooks at all (the Windows build has no
// spreadsheet library); empty when it can.
std::string_view unavailable();

// Replaces the file at `path` with the workbook as a whole; when it cannot,
// the file that was there is unchanged.
AtomicFile::Result write(const ReportTable& table, const std::string& path);

}  // namespace ReportWorkbook

}  // namespace orvane
