#include "cli/DiffCommand.h"

#include <algorithm>
#include <optional>

#include "cli/CommandTexts.h"
#include "editor/ProgramComparison.h"

namespace orvane::cli::DiffCommand {

namespace {

namespace Comparison = editor::ProgramComparison;

constexpr std::string_view kDevice = "device";
constexpr std::string_view kProgram = "program:";

// The sides named: B is the working state unless given.
Words sides(const Words& args) {
  Words named = args;
  if (named.size() < 2) named.emplace_back(kDevice);
  return named;
}

bool onDevice(const std::string& side) {
  return side == kDevice || side.starts_with(kProgram);
}

// Reads one side; `session` is null when no link is open.
Comparison::Read read(const std::string& side, const ProductVariant& variant,
                      editor::EditorSession* session) {
  if (!onDevice(side)) return Comparison::programFile(variant, side);
  if (!session) return "'" + side + "' needs a link to the device: use --connect";
  if (side == kDevice) return Comparison::workingState(*session);
  return Comparison::storedProgram(*session, *CommandTexts::programNumber(side.substr(kProgram.size())));
}

std::string padded(std::string text, std::size_t width) {
  text.resize(std::max(text.size(), width), ' ');
  return text;
}

// One line per parameter under a heading: its path, the value of each side
// and what the editor calls it; a last line counts them.
Outcome report(const Words& named, const std::vector<control::Difference>& found) {
  Json list = Json::array();
  std::size_t pathWidth = 4;
  std::size_t leftWidth = named[0].size();
  std::size_t rightWidth = named[1].size();
  for (const control::Difference& d : found) {
    pathWidth = std::max(pathWidth, d.path.name().size());
    leftWidth = std::max(leftWidth, d.left.size());
    rightWidth = std::max(rightWidth, d.right.size());
    list.push_back(
        Json{{"path", d.path.name()}, {"name", d.path.label()}, {"left", d.left}, {"right", d.right}});
  }
  Json json{{"left", named[0]}, {"right", named[1]}, {"equal", found.empty()}, {"differences", list}};
  if (found.empty()) return Outcome::done({}, std::move(json));
  const auto line = [&](const std::string& path, const std::string& left, const std::string& right,
                        const std::string& name) {
    return padded(path, pathWidth + 2) + padded(left, leftWidth + 2) + padded(right, rightWidth + 2) + name +
           "\n";
  };
  std::string text = line("PATH", named[0], named[1], "PARAMETER");
  for (const control::Difference& d : found) text += line(d.path.name(), d.left, d.right, d.path.label());
  text +=
      std::to_string(found.size()) + (found.size() == 1 ? " parameter differs\n" : " parameters differ\n");
  return Outcome::differ(std::move(text), std::move(json));
}

Outcome compare(const Words& args, const ProductVariant& variant, editor::EditorSession* session) {
  const Words named = sides(args);
  std::array<Comparison::Snapshot, 2> images;
  for (std::size_t i = 0; i < images.size(); ++i) {
    Comparison::Read side = read(named[i], variant, session);
    if (const auto* error = std::get_if<std::string>(&side))
      return onDevice(named[i]) ? Outcome::device(*error) : Outcome{Outcome::Failed, *error, {}, {}};
    images[i] = std::move(std::get<Comparison::Snapshot>(side));
  }
  return report(named, control::ParameterComparison::differences(*images[0], *images[1]));
}

}  // namespace

bool offline(const Words& args) {
  const Words named = sides(args);
  return std::none_of(named.begin(), named.end(), onDevice);
}

std::string check(const Words& args) {
  for (const std::string& side : args)
    if (side.starts_with(kProgram) && !CommandTexts::programNumber(side.substr(kProgram.size())))
      return CommandTexts::notAProgram(side.substr(kProgram.size())).error;
  return {};
}

Outcome files(const Words& args, const ProductVariant& variant) {
  return compare(args, variant, nullptr);
}

Outcome run(CommandContext& context, const Words& args) {
  return compare(args, context.session.variant(), &context.session);
}

}  // namespace orvane::cli::DiffCommand
