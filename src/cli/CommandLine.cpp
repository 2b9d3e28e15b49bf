#include "cli/CommandLine.h"

namespace orvane::cli {

namespace {

// The options of commands that take the word after them as their value.
bool takesValue(const std::string& word) {
  return word == "--format" || word == "--output";
}

}  // namespace

std::variant<CommandLine, std::string> CommandLine::parse(const std::vector<std::string>& args,
                                                          const char* environmentConnect) {
  CommandLine line;
  if (environmentConnect) line.connect = environmentConnect;
  line.connectFromEnvironment = environmentConnect != nullptr;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool afterCommand = !line.words.empty();
    if (arg == "--connect") {
      if (i + 1 >= args.size())
        return std::string("--connect needs a link: usb, net:ADDR[:PORT] or serial:PORT:ID");
      line.connect = args[++i];
      line.connectFromEnvironment = false;
    } else if (arg.rfind("--connect=", 0) == 0) {
      line.connect = arg.substr(10);
      line.connectFromEnvironment = false;
    } else if (arg == "--code-file") {
      if (i + 1 >= args.size())
        return std::string("--code-file needs the file that holds the server's access code");
      line.codeFile = args[++i];
    } else if (arg == "--model") {
      if (i + 1 >= args.size()) return ProductVariant::refusal({});
      const auto model = ProductVariant::named(args[++i]);
      if (!model) return ProductVariant::refusal(args[i]);
      line.model = *model;
    } else if (arg == "--json") {
      line.json = true;
    } else if (arg == "--no-link") {
      line.noLink = true;
    } else if (arg == "--keep-going") {
      line.keepGoing = true;
    } else if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (afterCommand) {
      // The command's own words: its options (report --output FILE,
      // meters --watch) and values such as -6dB.
      line.words.push_back(arg);
      if (takesValue(arg) && i + 1 < args.size()) line.words.push_back(args[++i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "unknown option '" + arg + "'";
    } else {
      line.words.push_back(arg);
    }
  }
  return line;
}

std::variant<std::vector<std::string>, std::string> splitWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;  // the quote that opened the part being read, if any
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote == '\'') {
      // Inside single quotes every character stands for itself.
      if (c == '\'')
        quote = 0;
      else
        word += c;
    } else if (c == '\\' && i + 1 < line.size()) {
      word += line[++i];
      inWord = true;
    } else if (c == '"' && quote != '\'') {
      quote = quote ? 0 : '"';
      inWord = true;
    } else if (c == '\'' && !quote) {
      quote = '\'';
      inWord = true;
    } else if (!quote && c == '#') {
      break;
    } else if (!quote && (c == ' ' || c == '\t' || c == '\r')) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote) return std::string("a quote is not closed");
  if (inWord) words.push_back(std::move(word));
  return words;
}

}  // namespace orvane::cli
