#include "cli/StatusCommands.h"

#include <thread>

#include "cli/Meters.h"
#include "cli/ReportFormats.h"
#include "model/NameField.h"
#include "platform/AtomicFile.h"
#include "report/ReportTable.h"
#include "report/ReportWorkbook.h"

namespace orvane::cli::StatusCommands {

using namespace Meters;

namespace {

// At most twenty lines a second while watching.
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);
constexpr auto kSnapshotWait = std::chrono::seconds(1);

}  // namespace

Json device(EditorSession& session) {
  const auto [deviceId, program, name] = session.image().read([](const ImageData& d) {
    return std::tuple(d.connection.deviceId, d.currentProgramNumber, d.currentProgramName);
  });
  return Json{{"deviceId", deviceId},
              {"firmware", session.firmware()},
              {"model", session.variant().modelCode},
              {"program", Json{{"number", program}, {"name", NameField::FieldToText(name)}}}};
}

Outcome status(CommandContext& context, const std::string& link) {
  const Levels levels = freshLevels(context.session, kSnapshotWait);
  Json json = device(context.session);
  const Json& program = json["program"];
  const int number = program["number"].get<int>();
  std::string text = "link:     " + link + "\n";
  text += "device:   KVS" + std::to_string(json["model"].get<int>()) + ", ID " +
          std::to_string(json["deviceId"].get<int>()) + ", firmware " + json["firmware"].get<std::string>() +
          "\n";
  text += "program:  " + (number > 0 ? std::to_string(number) : std::string("-")) + " " +
          program["name"].get<std::string>() + "\n";
  text += "meters:   " + meterLine(levels) + "\n";
  json["link"] = link;
  json["meters"] = meterJson(levels);
  return Outcome::done(text, json);
}

Outcome meters(CommandContext& context, const Words& args) {
  EditorSession& session = context.session;
  if (args.empty()) {
    const Levels levels = freshLevels(session, kSnapshotWait);
    return Outcome::done(meterLine(levels) + "\n", meterJson(levels));
  }
  if (args.size() != 1 || args[0] != "--watch") return Outcome::usage("meters takes only --watch");
  int lines = 0;
  while (!context.interrupted() && !session.linkLost()) {
    const auto next = std::chrono::steady_clock::now() + kWatchPeriod;
    context.print(meterLine(freshLevels(session, kWatchPeriod)));
    ++lines;
    std::this_thread::sleep_until(next);
  }
  if (session.linkLost()) return Outcome::device("the link to the device was lost");
  return Outcome::done({}, Json{{"lines", lines}});
}

Outcome report(CommandContext& context, const Words& args) {
  ReportFormat format = ReportFormat::Text;
  std::string output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format" && i + 1 < args.size()) {
      const auto chosen = reportFormat(args[++i]);
      if (!chosen) return Outcome::usage("unknown report format '" + args[i] + "': text, csv, json or xlsx");
      format = *chosen;
    } else if (args[i] == "--output" && i + 1 < args.size()) {
      output = args[++i];
    } else {
      return Outcome::usage("report takes --format text|csv|json|xlsx and --output FILE, not '" + args[i] +
                            "'");
    }
  }
  if (format == ReportFormat::Xlsx && output.empty())
    return Outcome::usage("an xlsx report needs --output FILE");
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
