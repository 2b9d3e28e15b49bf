#pragma once

// What orvanectl prints for a command's result, the same whether the
// device answered on a direct link or through a running server: the text
// for people and the value for --json.

#include <optional>
#include <string>

#include "cli/Outcome.h"
#include "control/MeterLevels.h"
#include "editor/ProgramOperations.h"

namespace orvane::cli::CommandTexts {

// `identity` as control::DeviceJson::identity() gives it; `link`: how the
// device was reached, as the user named it.
Outcome status(const std::string& link, Json identity, const control::MeterLevels& levels);
Outcome meters(const control::MeterLevels& levels);
Outcome parameter(const std::string& path, const std::string& value);
// `answer` as control::DeviceJson::parameterSet() gives it: the path named
// first, then every other one the change reached (the channels linked with
// it), one line each.
Outcome parameterSet(const Json& answer);
Outcome programs(const editor::ProgramOperations::Listing& listing);
// "recalled program 5 Talk": `done` what happened to the program typed as
// `word`, numbered `number`, named `name` afterwards.
Outcome program(const char* done, const std::string& word, int number, const std::string& name);
// The program numbered `word`, or the usage error that says why not.
std::optional<int> programNumber(const std::string& word);
Outcome notAProgram(const std::string& word);
// A program-file operation on the file at `path` (`kind`: what the file
// must be when read, "an all-programs file"; `otherCommand`: the command
// that reads the other kind of program file).
Outcome file(const editor::ProgramOperations::Result& result, const std::string& path,
             const std::string& kind, std::string doneText, const char* otherCommand = "");
// The outcomes of reading all thirty programs into the file at `path`, and
// of storing those of the file at `path`.
Outcome backup(const editor::ProgramOperations::Result& result, const std::string& path);
Outcome restore(const editor::ProgramOperations::Result& result, const std::string& path);

}  // namespace orvane::cli::CommandTexts
