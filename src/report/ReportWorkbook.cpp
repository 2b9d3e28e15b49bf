#include "report/ReportWorkbook.h"

#include <xlsxwriter.h>

#include "report/ReportTable.h"

namespace orvane::ReportWorkbook {

bool write(const ReportTable& table, const std::string& path) {
  lxw_workbook* workbook = workbook_new(path.c_str());
  if (!workbook) return false;
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, kSheetName);
  bool written = sheet != nullptr;
  for (int column = 0; written && column < ReportTable::kColumns; ++column) {
    const std::string caption(ReportTable::caption(column));
    written = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(column), caption.c_str(), nullptr) ==
              LXW_NO_ERROR;
    for (int row = 0; written && row < ReportTable::kRows; ++row)
      written = worksheet_write_string(sheet, static_cast<lxw_row_t>(row + 1), static_cast<lxw_col_t>(column),
                                       table.cell(row, column).c_str(), nullptr) == LXW_NO_ERROR;
  }
  // Closing writes the file; it must happen whatever went wrong before.
  const bool closed = workbook_close(workbook) == LXW_NO_ERROR;
  return written && closed;
}

}  // namespace orvane::ReportWorkbook
