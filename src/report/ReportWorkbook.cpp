#include "report/ReportWorkbook.h"

#include <xlsxwriter.h>

#include "report/ReportTable.h"

namespace orvane::ReportWorkbook {

namespace {

lxw_error fillSheet(lxw_worksheet* sheet, const ReportTable& table) {
  lxw_error error = LXW_NO_ERROR;
  for (int column = 0; !error && column < ReportTable::kColumns; ++column) {
    const std::string caption(ReportTable::caption(column));
    const auto at = static_cast<lxw_col_t>(column);
    error = worksheet_write_string(sheet, 0, at, caption.c_str(), nullptr);
    for (int row = 0; !error && row < ReportTable::kRows; ++row)
      error = worksheet_write_string(sheet, static_cast<lxw_row_t>(row + 1), at,
                                     table.cell(row, column).c_str(), nullptr);
  }
  return error;
}

// The library's text for `error`, to go on in a sentence of ours.
std::string reason(lxw_error error) {
  std::string text = lxw_strerror(error);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

// The library writes the whole file when the workbook is closed.
std::optional<std::string> writeWorkbook(const ReportTable& table, const std::filesystem::path& file) {
  lxw_workbook* workbook = workbook_new(file.c_str());
  if (!workbook) return "the workbook cannot be made";
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, kSheetName);
  const lxw_error filled = sheet ? fillSheet(sheet, table) : LXW_ERROR_MEMORY_MALLOC_FAILED;
  // Closing frees the workbook; it must happen whatever went wrong before.
  const lxw_error closed = workbook_close(workbook);
  if (filled) return reason(filled);
  if (closed) return reason(closed);
  return std::nullopt;
}

}  // namespace

std::string_view unavailable() {
  return {};
}

AtomicFile::Result write(const ReportTable& table, const std::string& path) {
  return AtomicFile::write(path,
                           [&](const std::filesystem::path& file) { return writeWorkbook(table, file); });
}

}  // namespace orvane::ReportWorkbook
