#include "cli/StatusCommands.h"

#include <thread>
#include <variant>

#include "cli/CommandTexts.h"
#include "cli/Meters.h"
#include "cli/ReportFormats.h"
#include "platform/AtomicFile.h"
#include "report/ReportTable.h"
#include "report/ReportWorkbook.h"

namespace orvane::cli::StatusCommands {

using namespace Meters;

namespace {

constexpr auto kSnapshotWait = std::chrono::seconds(1);

}  // namespace

Outcome status(CommandContext& context, const std::string& link) {
  const control::MeterLevels levels = freshLevels(context.session, kSnapshotWait);
  return CommandTexts::status(
      link,
      control::DeviceJson::identity(context.session.image(), context.session.firmware(),
                                    context.session.variant().modelCode),
      levels);
}

Outcome meters(CommandContext& context, const Words& args) {
  EditorSession& session = context.session;
  if (args.empty()) {
    return CommandTexts::meters(freshLevels(session, kSnapshotWait));
  }
  if (auto refused = watchRefusal(args)) return *refused;
  int lines = 0;
  while (!context.interrupted() && !session.linkLost()) {
    const auto next = std::chrono::steady_clock::now() + kWatchPeriod;
    context.print(freshLevels(session, kWatchPeriod).line());
    ++lines;
    std::this_thread::sleep_until(next);
  }
  if (session.linkLost()) return Outcome::device(session.loss().text());
  return Outcome::done({}, Json{{"lines", lines}});
}

namespace {

struct ReportRequest {
  ReportFormat format = ReportFormat::Text;
  std::string output;
};

// The report's options, or why they cannot be served: a bad option, a
// workbook without a file, or a workbook from a build that cannot write one.
std::variant<ReportRequest, std::string> reportRequest(const Words& args) {
  std::optional<ReportFormat> chosen;
  ReportRequest request;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format" && i + 1 < args.size()) {
      chosen = reportFormat(args[++i]);
      if (!chosen) return "unknown report format '" + args[i] + "': text, csv, json or xlsx";
    } else if (args[i] == "--output" && i + 1 < args.size()) {
      request.output = args[++i];
    } else {
      return "report takes --format text|csv|json|xlsx and --output FILE, not '" + args[i] + "'";
    }
  }
  // Without --format the file's extension names it: report.xlsx, report.csv.
  request.format = chosen.value_or(formatOfFile(request.output).value_or(ReportFormat::Text));
  if (request.format != ReportFormat::Xlsx) return request;
  if (!ReportWorkbook::unavailable().empty()) return std::string(ReportWorkbook::unavailable());
  if (request.output.empty()) return "an xlsx report needs --output FILE";
  return request;
}

}  // namespace

std::string checkReport(const Words& args) {
  const auto request = reportRequest(args);
  const auto* error = std::get_if<std::string>(&request);
  return error ? *error : std::string();
}

Outcome report(CommandContext& context, const Words& args) {
  const auto request = reportRequest(args);
  if (const auto* error = std::get_if<std::string>(&request)) return Outcome::usage(*error);
  const auto& [format, output] = std::get<ReportRequest>(request);
  const ReportTable table = ReportTable::build(context.session.image(), context.session.filters());
  if (format == ReportFormat::Xlsx) {
    if (const auto written = ReportWorkbook::write(table, output); !written)
      return Outcome::notWritten("the workbook", output, written);
    return Outcome::done("wrote the report to " + output + "\n", Json{{"file", output}});
  }
  const std::string body = formatReport(table, format);
  if (output.empty()) return Outcome::done(body, reportJson(table));
  if (const auto written = AtomicFile::write(output, std::string_view(body)); !written)
    return Outcome::notWritten("the file", output, written);
  return Outcome::done("wrote the report to " + output + "\n", Json{{"file", output}});
}

}  // namespace orvane::cli::StatusCommands
