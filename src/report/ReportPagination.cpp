#include "report/ReportPagination.h"

#include <algorithm>

namespace orvane::ReportPagination {

int rowsPerPage(int printableHeight, int rowHeight) {
  if (rowHeight <= 0) return 1;
  return std::max(1, printableHeight / (rowHeight + 1) - 1);
}

int pageCount(int rows, int perPage) {
  if (rows <= 0 || perPage <= 0) return 1;
  return (rows + perPage - 1) / perPage;
}

}  // namespace orvane::ReportPagination
