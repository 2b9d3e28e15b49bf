#pragma once

// How the printed report divides its rows into pages.

namespace orvane::ReportPagination {

// Rows that fit a page of `printableHeight` under the header row, each
// `rowHeight` high plus its dividing line; at least one.
int rowsPerPage(int printableHeight, int rowHeight);

// Pages for `rows` rows; a last page is printed only when rows are left for
// it, and an empty report still prints its header on one page.
int pageCount(int rows, int perPage);

}  // namespace orvane::ReportPagination
