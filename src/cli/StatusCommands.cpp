#include "cli/StatusCommands.h"

#include <fstream>
#include <thread>

#include "cli/ReportFormats.h"
#include "model/NameField.h"
#include "model/ProductVariant.h"
#include "report/ReportTable.h"
#include "report/ReportWorkbook.h"

namespace orvane::cli::StatusCommands {

namespace {

constexpr int kLamps = 8;
// At most twenty lines a second while watching.
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);
constexpr auto kSnapshotWait = std::chrono::seconds(1);

struct Levels {
  std::array<std::uint8_t, 8> inputs;
  std::array<std::uint8_t, 8> outputs;
};

// A level byte: bits 0..3 the level step (above 8 counts as 8), bits 4..6
// the indicators.
int step(std::uint8_t level) {
  return std::min(level & 0x0F, kLamps);
}

Levels readLevels(DeviceSession& session) {
  return session.image().read([](const ImageData& d) {
    return Levels{d.status.inputLevels, d.status.outputLevels};
  });
}

// Asks for new levels and waits a moment for them; the last ones stand when
// the device sent the same again.
Levels freshLevels(DeviceSession& session, std::chrono::milliseconds wait) {
  const int before = session.notifier().count(Message::LevelsRead);
  session.image().modify([](ImageData& d) { d.status.levelStoring = true; });
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (session.notifier().count(Message::LevelsRead) == before &&
         std::chrono::steady_clock::now() < deadline && !session.linkLost())
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return readLevels(session);
}

std::string bar(std::uint8_t level) {
  return std::string(static_cast<std::size_t>(step(level)), '#') +
         std::string(static_cast<std::size_t>(kLamps - step(level)), '.');
}

// One line: inputs A..H, then outputs 1..8.
std::string meterLine(const Levels& levels) {
  std::string line;
  for (int i = 0; i < 8; ++i)
    line += std::string(1, static_cast<char>('A' + i)) + " " +
            bar(levels.inputs[static_cast<std::size_t>(i)]) + " ";
  line += "|";
  for (int i = 0; i < 8; ++i)
    line += " " + std::to_string(i + 1) + " " + bar(levels.outputs[static_cast<std::size_t>(i)]);
  return line;
}

Json meterJson(const Levels& levels) {
  const auto side = [](const std::array<std::uint8_t, 8>& bytes) {
    Json values = Json::array();
    for (std::uint8_t level : bytes)
      values.push_back(Json{{"level", step(level)}, {"indicators", (level >> 4) & 0x07}});
    return values;
  };
  return Json{{"inputs", side(levels.inputs)}, {"outputs", side(levels.outputs)}};
}

}  // namespace

Outcome status(CommandContext& context, const std::string& link) {
  DeviceSession& session = context.session;
  const Levels levels = freshLevels(session, kSnapshotWait);
  const auto [deviceId, program, name] = session.image().read([](const ImageData& d) {
    return std::tuple(d.connection.deviceId, d.currentProgramNumber, d.currentProgramName);
  });
  const std::string firmware = session.firmware();
  const int model = ProductVariant::current().modelCode;
  const std::string programName = NameField::FieldToText(name);
  std::string text = "link:     " + link + "\n";
  text += "device:   KVS" + std::to_string(model) + ", ID " + std::to_string(deviceId) + ", firmware " +
          firmware + "\n";
  text +=
      "program:  " + (program > 0 ? std::to_string(program) : std::string("-")) + " " + programName + "\n";
  text += "meters:   " + meterLine(levels) + "\n";
  return Outcome::done(text, Json{{"link", link},
                                  {"deviceId", deviceId},
                                  {"firmware", firmware},
                                  {"model", model},
                                  {"program", Json{{"number", program}, {"name", programName}}},
                                  {"meters", meterJson(levels)}});
}

Outcome meters(CommandContext& context, const Words& args) {
  DeviceSession& session = context.session;
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
    if (!ReportWorkbook::write(table, output))
      return Outcome::usage("cannot write the workbook '" + output + "'");
    return Outcome::done("wrote the report to " + output + "\n", Json{{"file", output}});
  }
  const std::string body = formatReport(table, format);
  if (output.empty()) return Outcome::done(body, reportJson(table));
  std::ofstream file(output, std::ios::binary);
  if (!(file << body)) return Outcome::usage("cannot write the file '" + output + "'");
  return Outcome::done("wrote the report to " + output + "\n", Json{{"file", output}});
}

}  // namespace orvane::cli::StatusCommands
