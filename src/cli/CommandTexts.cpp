#include "cli/CommandTexts.h"

#include "model/ProgramStore.h"
#include "platform/ParseNumber.h"

namespace orvane::cli::CommandTexts {

namespace Operations = editor::ProgramOperations;
namespace DeviceJson = control::DeviceJson;

Outcome status(const std::string& link, Json identity, const control::MeterLevels& levels) {
  const Json& program = identity["program"];
  const int number = program["number"].get<int>();
  std::string text = "link:     " + link + "\n";
  text += "device:   KVS" + std::to_string(identity["model"].get<int>()) + ", ID " +
          std::to_string(identity["deviceId"].get<int>()) + ", firmware " +
          identity["firmware"].get<std::string>() + "\n";
  const std::string name = program["name"].get<std::string>();
  text += "program:  " + (number > 0 ? std::to_string(number) : std::string("-")) +
          (name.empty() ? "" : " " + name) + "\n";
  text += "meters:   " + levels.line() + "\n";
  identity["link"] = link;
  identity["meters"] = levels.json();
  return Outcome::done(text, identity);
}

Outcome meters(const control::MeterLevels& levels) {
  return Outcome::done(levels.line() + "\n", levels.json());
}

Outcome parameter(const std::string& path, const std::string& value) {
  return Outcome::done(value + "\n", Json{{"path", path}, {"value", value}});
}

Outcome parameterSet(const Json& answer) {
  std::string text;
  if (answer.is_object() && answer.contains("values") && answer["values"].is_object())
    for (const auto& [name, value] : answer["values"].items())
      text += name + " = " + (value.is_string() ? value.get<std::string>() : value.dump()) + "\n";
  return Outcome::done(text, answer);
}

Outcome programs(const Operations::Listing& listing) {
  std::string text;
  for (int p = 1; p <= kPrograms; ++p) {
    const std::string& name = listing.names[static_cast<std::size_t>(p - 1)];
    text += (p == listing.current ? "* " : "  ") + std::to_string(p) +
            (name.empty() ? "" : (p < 10 ? "   " : "  ") + name) + "\n";
  }
  return Outcome::done(text, Json{{"current", DeviceJson::program(listing.current, listing.currentName)},
                                  {"programs", DeviceJson::programs(listing.names)}});
}

Outcome program(const char* done, const std::string& word, int number, const std::string& name) {
  return Outcome::done(std::string(done) + " program " + word + (name.empty() ? "" : " " + name) + "\n",
                       DeviceJson::program(number, name));
}

std::optional<int> programNumber(const std::string& word) {
  return parseNumber(word, 1, kPrograms);
}

Outcome notAProgram(const std::string& word) {
  return Outcome::usage("program '" + word + "' is not a number from 1 to 30");
}

Outcome file(const Operations::Result& result, const std::string& path, const std::string& kind,
             std::string doneText, const char* otherCommand) {
  using Status = Operations::Result::Status;
  if (result.status == Status::Unreadable) return Outcome::unreadable(path);
  if (result.status == Status::WrongFile && !result.message.empty())
    return Outcome::usage("'" + path + "' is " + result.message + ": use " + otherCommand + " for it");
  if (result.status == Status::WrongFile)
    return Outcome::usage("'" + path + "' is not " + kind + " of this model");
  if (result.status == Status::NotWritten) return Outcome::notWritten("the file", path, result.written);
  if (!result.done()) return Outcome::device(result.message);
  return Outcome::done(std::move(doneText), Json{{"file", path}});
}

Outcome backup(const Operations::Result& result, const std::string& path) {
  return file(result, path, "", "saved all 30 programs to " + path + "\n");
}

Outcome restore(const Operations::Result& result, const std::string& path) {
  return file(result, path, "an all-programs file", "stored all 30 programs from " + path + "\n", "load");
}

}  // namespace orvane::cli::CommandTexts
