#pragma once

// The words of an orvanectl call: the options that hold for the whole run
// (before or after the command) and the command with its own words (its
// own options, such as report --output FILE, and values such as -6dB).

#include <string>
#include <variant>
#include <vector>

#include "model/ProductVariant.h"

namespace orvane::cli {

struct CommandLine {
  std::string connect;                  // --connect, else the ORVANE_CONNECT environment variable
  bool connectFromEnvironment = false;  // the link came from the variable
  std::string codeFile;                 // --code-file: the access code of a server route
  ProductVariant model = ProductVariant::builtDefault();  // --model
  bool json = false;
  bool noLink = false;
  bool keepGoing = false;
  bool help = false;
  std::vector<std::string> words;  // the command and what follows it

  // `environmentConnect` may be null. An error text names the bad word.
  static std::variant<CommandLine, std::string> parse(const std::vector<std::string>& args,
                                                      const char* environmentConnect);
};

// Splits one line of a batch into words: blanks separate them, double
// quotes keep blanks inside a word ("Board Room"), a backslash takes the
// next character as it is, single quotes take everything up to the next
// one as it is ('Talk \ #2'), and '#' outside quotes starts a comment that
// runs to the end of the line ("Talk #2" in quotes is a name). An error
// text when a quote is left open.
std::variant<std::vector<std::string>, std::string> splitWords(const std::string& line);

}  // namespace orvane::cli
