#include "control/MeterLevels.h"

#include <algorithm>

namespace orvane::control {

namespace {

constexpr int kLamps = 8;

// A level byte: bits 0..3 the level step (above 8 counts as 8), bits 4..6
// the indicators.
int step(std::uint8_t level) {
  return std::min(level & 0x0F, kLamps);
}

std::string bar(std::uint8_t level) {
  return std::string(static_cast<std::size_t>(step(level)), '#') +
         std::string(static_cast<std::size_t>(kLamps - step(level)), '.');
}

// The whole number `json` holds as `name`; -1 when it holds none.
int whole(const Json& json, const char* name) {
  if (!json.is_object() || !json.contains(name) || !json[name].is_number_integer()) return -1;
  return json[name].get<int>();
}

}  // namespace

MeterLevels MeterLevels::read(const ParameterImage& image) {
  return image.read([](const ImageData& d) {
    return MeterLevels{d.status.inputLevels, d.status.outputLevels};
  });
}

std::string MeterLevels::line() const {
  std::string text;
  for (std::size_t i = 0; i < inputs.size(); ++i)
    text += std::string(1, static_cast<char>('A' + i)) + " " + bar(inputs[i]) + " ";
  text += "|";
  for (std::size_t i = 0; i < outputs.size(); ++i)
    text += " " + std::to_string(i + 1) + " " + bar(outputs[i]);
  return text;
}

Json MeterLevels::json() const {
  const auto side = [](const std::array<std::uint8_t, 8>& bytes) {
    Json values = Json::array();
    for (std::uint8_t level : bytes)
      values.push_back(Json{{"level", step(level)}, {"indicators", (level >> 4) & 0x07}});
    return values;
  };
  return Json{{"inputs", side(inputs)}, {"outputs", side(outputs)}};
}

std::optional<MeterLevels> MeterLevels::fromJson(const Json& json) {
  MeterLevels levels;
  const auto side = [&json](const char* name, std::array<std::uint8_t, 8>& bytes) {
    if (!json.is_object() || !json.contains(name) || !json[name].is_array() ||
        json[name].size() != bytes.size())
      return false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const Json& meter = json[name][i];
      const int level = whole(meter, "level");
      const int indicators = whole(meter, "indicators");
      if (level < 0 || level > kLamps || indicators < 0 || indicators > 7) return false;
      bytes[i] = static_cast<std::uint8_t>(level | (indicators << 4));
    }
    return true;
  };
  if (!side("inputs", levels.inputs) || !side("outputs", levels.outputs)) return std::nullopt;
  return levels;
}

}  // namespace orvane::control
