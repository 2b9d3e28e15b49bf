#include "server/Panel.h"

#include <algorithm>
#include <cstdint>

#include "model/ProgramStore.h"

namespace orvane::server::Panel {

namespace {

using control::Json;

constexpr int kChannels = 8;
const Json kAllControls = Json::array({"gain", "mute"});

struct Side {
  const char* member;
  char first;  // 'A' for inputs, '1' for outputs
};

Json allChannels(const Side& side) {
  Json channels = Json::array();
  for (int n = 0; n < kChannels; ++n)
    channels.push_back(Json{{"channel", std::string(1, static_cast<char>(side.first + n))},
                            {"label", nullptr},
                            {"controls", kAllControls}});
  return channels;
}

Json allPrograms() {
  Json programs = Json::array();
  for (int n = 1; n <= kPrograms; ++n) programs.push_back(n);
  return programs;
}

// One channel entry, filled in; an error text when it is wrong.
std::string channelEntry(const Json& given, const Side& side, Json& entry) {
  const std::string where = std::string(side.member) + ": ";
  if (!given.is_object() || !given.contains("channel") || !given["channel"].is_string())
    return where + "each entry needs a \"channel\"";
  const std::string channel = given["channel"];
  if (channel.size() != 1 || channel[0] < side.first || channel[0] >= side.first + kChannels)
    return where + "'" + channel + "' is no channel of this side";
  entry = Json{{"channel", channel}, {"label", nullptr}, {"controls", kAllControls}};
  if (given.contains("label")) {
    if (!given["label"].is_string()) return where + "a label is text";
    entry["label"] = given["label"];
  }
  if (given.contains("controls")) {
    const Json& controls = given["controls"];
    const bool known = controls.is_array() && std::ranges::all_of(controls, [](const Json& c) {
                         return c == "gain" || c == "mute";
                       });
    if (!known) return where + "controls are a list of \"gain\" and \"mute\"";
    entry["controls"] = controls;
  }
  return {};
}

std::string channels(const Json& given, const Side& side, Json& layout) {
  if (!given.contains(side.member)) return {};
  if (!given[side.member].is_array()) return std::string(side.member) + " is a list of channels";
  Json list = Json::array();
  for (const Json& item : given[side.member]) {
    Json entry;
    if (std::string error = channelEntry(item, side, entry); !error.empty()) return error;
    list.push_back(std::move(entry));
  }
  layout[side.member] = std::move(list);
  return {};
}

std::string master(const Json& given, Json& layout) {
  if (!given.contains("master")) return {};
  const Json& m = given["master"];
  if (m.is_boolean()) {
    layout["master"] = Json{{"level", m.get<bool>()}, {"mute", m.get<bool>()}};
    return {};
  }
  if (!m.is_object()) return "master is true, false or {\"level\": …, \"mute\": …}";
  for (const char* control : {"level", "mute"}) {
    if (!m.contains(control)) continue;
    if (!m[control].is_boolean()) return std::string("master.") + control + " is true or false";
    layout["master"][control] = m[control];
  }
  return {};
}

// A program number as the file wrote it, compared as the 64-bit number JSON
// gave before it is narrowed, so that 4294967297 is not taken for 1.
bool isProgramNumber(const Json& n) {
  if (n.is_number_unsigned()) return n.get<std::uint64_t>() >= 1 && n.get<std::uint64_t>() <= kPrograms;
  return n.is_number_integer() && n.get<std::int64_t>() >= 1 && n.get<std::int64_t>() <= kPrograms;
}

std::string programs(const Json& given, Json& layout) {
  if (!given.contains("programs")) return {};
  const Json& p = given["programs"];
  if (p.is_boolean()) {
    layout["programs"] = p.get<bool>() ? allPrograms() : Json::array();
    return {};
  }
  if (!p.is_array()) return "programs is true, false or a list of program numbers 1 .. 30";
  for (const Json& n : p) {
    if (isProgramNumber(n)) continue;
    const std::string entry =
        n.is_number() ? control::DeviceJson::dump(n) : std::string("a ") + n.type_name();
    return "programs: " + entry + " is not one of the program numbers 1 .. 30";
  }
  Json numbers = Json::array();
  for (const Json& n : p) numbers.push_back(n.get<int>());
  layout["programs"] = std::move(numbers);
  return {};
}

}  // namespace

Json everything() {
  return Json{{"title", ""},
              {"master", Json{{"level", true}, {"mute", true}}},
              {"inputs", allChannels({"inputs", 'A'})},
              {"outputs", allChannels({"outputs", '1'})},
              {"programs", allPrograms()}};
}

std::variant<Json, std::string> parse(const std::string& text) {
  const Json given = Json::parse(text, nullptr, false);
  if (given.is_discarded() || !given.is_object()) return std::string("the panel file is not a JSON object");
  Json layout = everything();
  if (given.contains("title")) {
    if (!given["title"].is_string()) return std::string("title is text");
    layout["title"] = given["title"];
  }
  for (const auto& step : {master(given, layout), channels(given, {"inputs", 'A'}, layout),
                           channels(given, {"outputs", '1'}, layout), programs(given, layout)})
    if (!step.empty()) return step;
  return layout;
}

}  // namespace orvane::server::Panel
