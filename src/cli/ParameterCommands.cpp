#include "cli/ParameterCommands.h"

#include <fstream>
#include <variant>

#include "cli/CommandTexts.h"
#include "control/ParameterPath.h"
#include "dsp/RewFilterImport.h"
#include "editor/ParameterOperations.h"

namespace orvane::cli::ParameterCommands {

using control::ParameterPath;
namespace ParameterOperations = editor::ParameterOperations;

namespace {

// A REW export is a few kilobytes; anything far larger is the wrong file.
constexpr std::size_t kLargestRewFile = 1 << 20;

struct ChannelRef {
  Side side;
  int channel;
};

std::optional<ChannelRef> channelOf(const std::string& word) {
  const bool input = word.size() == 4 && word.rfind("in.", 0) == 0 && word[3] >= 'A' && word[3] <= 'H';
  const bool output = word.size() == 5 && word.rfind("out.", 0) == 0 && word[4] >= '1' && word[4] <= '8';
  if (input) return ChannelRef{Side::Input, word[3] - 'A'};
  if (output) return ChannelRef{Side::Output, word[4] - '1'};
  return std::nullopt;
}

// The text of a REW file, or the message why it is not taken. One byte more
// than the largest file is read, so a longer file is refused whole instead
// of being imported cut off (a cut "Fc 1000" reads as "Fc 10").
std::variant<std::string, Outcome> rewFileText(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  if (!file) return Outcome::unreadable(name);
  std::string text(kLargestRewFile + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) return Outcome::unreadable(name);
  text.resize(static_cast<std::size_t>(file.gcount()));
  if (text.size() > kLargestRewFile)
    return Outcome::usage("'" + name + "' is larger than 1 MiB: it is no REW filter-settings file");
  return text;
}

// A parameter operation's outcome as the command's.
Outcome outcomeOf(const ParameterOperations::Result& result) {
  using Status = ParameterOperations::Result::Status;
  return result.status == Status::BadValue ? Outcome::usage(result.message) : Outcome::device(result.message);
}

}  // namespace

std::string checkPath(const std::string& word) {
  const auto parsed = ParameterPath::parse(word);
  if (const auto* error = std::get_if<std::string>(&parsed)) return *error;
  return {};
}

std::string checkChannel(const std::string& word) {
  return channelOf(word) ? std::string() : "'" + word + "' is no channel: in.A .. in.H or out.1 .. out.8";
}

Outcome get(CommandContext& context, const Words& args) {
  const auto path = std::get<ParameterPath>(ParameterPath::parse(args[0]));
  const auto result = ParameterOperations::get(context.session, path);
  if (!result.done()) return outcomeOf(result);
  return CommandTexts::parameter(path.name(), result.text);
}

Outcome set(CommandContext& context, const Words& args) {
  const auto path = std::get<ParameterPath>(ParameterPath::parse(args[0]));
  const auto result = ParameterOperations::set(context.session, path, args[1], context.followLinks);
  if (!result.done()) return outcomeOf(result);
  return CommandTexts::parameterSet(
      control::DeviceJson::parameterSet(path.name(), result.text, result.changed, context.session.image()));
}

Outcome importRew(CommandContext& context, const Words& args) {
  const ChannelRef channel = *channelOf(args[0]);
  // The file fills the whole equaliser, which the EQ lock guards.
  if (const std::string refusal = ParameterOperations::lockRefusal(context.session, args[0] + ".eq");
      !refusal.empty())
    return Outcome::device(refusal);
  const std::variant<std::string, Outcome> text = rewFileText(args[1]);
  if (const auto* refused = std::get_if<Outcome>(&text)) return *refused;
  EditorSession& session = context.session;
  const RewFilterImport::Parsed parsed = RewFilterImport::parse(std::get<std::string>(text));
  std::vector<int> channels{channel.channel};
  if (context.followLinks) {
    const std::vector<int> others = session.links().othersInGroup(channel.side, channel.channel);
    channels.insert(channels.end(), others.begin(), others.end());
  }
  // The import into the whole link group is one step of the history.
  const std::string error = session.history().record(
      [&] {
        for (int member : channels)
          if (std::string failed = RewFilterImport::apply(session.image(), channel.side, member, parsed);
              !failed.empty())
            return failed;
        return std::string();
      },
      [&] { return editor::StepName("REW filters into " + args[0], "REW 滤波器导入 " + args[0]); });
  if (!error.empty()) return Outcome::usage(args[1] + ": " + error);
  if (const std::string error = ParameterOperations::deliver(session, control::Delivery::Rows);
      !error.empty())
    return Outcome::device(error);
  return Outcome::done("imported " + std::to_string(parsed.filters.size()) +
                           (parsed.filters.size() == 1 ? " filter" : " filters") + " into " + args[0] + "\n",
                       Json{{"channel", args[0]}, {"filters", static_cast<int>(parsed.filters.size())}});
}

}  // namespace orvane::cli::ParameterCommands
