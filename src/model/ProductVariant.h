#pragma once

// The two products this editor serves: model 7304 (variant "J") and model
// 736 (variant "S"). They differ in the firmware they accept, the title, the
// file extensions, the help files and the set-up dialog. Every program
// serves the model the build chose (ORVANE_MODEL) unless its command line
// names the other with --model; the chosen variant is handed to whatever
// depends on it.

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct ProductVariant {
  int modelCode;
  std::string_view firmwarePrefix;   // what the device's version text must start with
  std::string_view softwareVersion;  // this editor's version number
  std::string_view windowTitle;
  std::string_view programFileExtension;     // one program
  std::string_view programSetFileExtension;  // all 30 programs
  std::string_view englishHelp;
  std::string_view chineseHelp;

  // What --model takes, for usage texts.
  static constexpr std::string_view kModelChoices = "7304 or 736";

  // The model the programs serve when not told otherwise.
  static const ProductVariant& builtDefault();
  // Model 736 for 736, model 7304 for any other code.
  static const ProductVariant& forModel(int modelCode);
  // The model a command line names ("7304" or "736"); nothing for any other
  // text.
  static std::optional<ProductVariant> named(std::string_view text);
  // The usage error of a --model value that names no model (empty: the
  // value is missing).
  static std::string refusal(std::string_view text);
};

}  // namespace orvane
