#pragma once

// The parameter report as text for a terminal (aligned columns), as CSV
// (one row per parameter, fields quoted where needed) and as JSON (one
// object per parameter, keyed by the column captions).

#include <optional>
#include <string>
#include <string_view>

#include "cli/Outcome.h"

namespace orvane {
class ReportTable;
}

namespace orvane::cli {

enum class ReportFormat { Text, Csv, Json, Xlsx };

std::optional<ReportFormat> reportFormat(std::string_view name);
// The format a file's extension names (.txt, .csv, .json, .xlsx, in any
// case); nothing for another extension or none.
std::optional<ReportFormat> formatOfFile(const std::string& path);
// Text, CSV or JSON.
std::string formatReport(const ReportTable& table, ReportFormat format);
Json reportJson(const ReportTable& table);

}  // namespace orvane::cli
