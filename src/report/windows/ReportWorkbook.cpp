#include "report/ReportWorkbook.h"

namespace orvane::ReportWorkbook {

// The Windows build has no spreadsheet library: the report goes out in the
// other formats, and a workbook that is asked for is refused with this.
std::string_view unavailable() {
  return "Spreadsheet export is not available in this Windows build; export CSV, JSON or text instead";
}

AtomicFile::Result write(const ReportTable&, const std::string&) {
  return AtomicFile::Result{false, std::string(unavailable()), false};
}

}  // namespace orvane::ReportWorkbook
