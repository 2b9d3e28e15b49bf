#include "cli/ReportFormats.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "report/ReportTable.h"

namespace orvane::cli {

namespace {

std::string cellOf(const ReportTable& table, int row, int column) {
  return row < 0 ? std::string(ReportTable::caption(column)) : table.cell(row, column);
}

// Characters on the screen: UTF-8 continuation bytes take no room.
std::size_t width(const std::string& text) {
  return static_cast<std::size_t>(std::ranges::count_if(text, [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string asText(const ReportTable& table) {
  std::array<std::size_t, ReportTable::kColumns> widths{};
  for (int row = -1; row < ReportTable::kRows; ++row)
    for (int column = 0; column < ReportTable::kColumns; ++column)
      widths[static_cast<std::size_t>(column)] =
          std::max(widths[static_cast<std::size_t>(column)], width(cellOf(table, row, column)));
  std::string out;
  for (int row = -1; row < ReportTable::kRows; ++row) {
    std::string line;
    for (int column = 0; column < ReportTable::kColumns; ++column) {
      const std::string cell = cellOf(table, row, column);
      line += cell;
      if (column + 1 < ReportTable::kColumns)
        line += std::string(widths[static_cast<std::size_t>(column)] - width(cell) + 2, ' ');
    }
    out += line + "\n";
  }
  return out;
}

std::string asCsv(const ReportTable& table) {
  std::string out;
  for (int row = -1; row < ReportTable::kRows; ++row) {
    for (int column = 0; column < ReportTable::kColumns; ++column)
      out += (column ? "," : "") + csvField(cellOf(table, row, column));
    out += "\r\n";
  }
  return out;
}

}  // namespace

std::optional<ReportFormat> reportFormat(std::string_view name) {
  if (name == "text") return ReportFormat::Text;
  if (name == "csv") return ReportFormat::Csv;
  if (name == "json") return ReportFormat::Json;
  if (name == "xlsx") return ReportFormat::Xlsx;
  return std::nullopt;
}

std::optional<ReportFormat> formatOfFile(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension.size() < 2) return std::nullopt;
  std::string name = extension.substr(1);
  std::ranges::transform(name, name.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return reportFormat(name == "txt" ? "text" : name);
}

std::string formatReport(const ReportTable& table, ReportFormat format) {
  switch (format) {
    case ReportFormat::Csv:
      return asCsv(table);
    case ReportFormat::Json:
      return control::DeviceJson::dump(reportJson(table)) + "\n";
    default:
      return asText(table);
  }
}

Json reportJson(const ReportTable& table) {
  Json rows = Json::array();
  for (int row = 0; row < ReportTable::kRows; ++row) {
    Json values = Json::object();
    for (int column = 0; column < ReportTable::kColumns; ++column)
      values[column == 0 ? std::string("parameter") : std::string(ReportTable::caption(column))] =
          table.cell(row, column);
    rows.push_back(std::move(values));
  }
  return rows;
}

}  // namespace orvane::cli
