#pragma once

// The two products this editor serves, chosen when the program is built:
// model 7304 (variant "J") and model 736 (variant "S"). They differ in the
// firmware they accept, the title, the file extensions and the help files.

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

  static const ProductVariant& current();
  static const ProductVariant& forModel(int modelCode);
};

}  // namespace orvane
