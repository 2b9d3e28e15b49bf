#include "cli/Meters.h"

#include <algorithm>
#include <thread>

namespace orvane::cli::Meters {

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

}  // namespace

Levels readLevels(const ParameterImage& image) {
  return image.read([](const ImageData& d) { return Levels{d.status.inputLevels, d.status.outputLevels}; });
}

Levels freshLevels(EditorSession& session, std::chrono::milliseconds wait) {
  const int before = session.notifier().count(Message::LevelsRead);
  session.command().levelRequest().request();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (session.notifier().count(Message::LevelsRead) == before &&
         std::chrono::steady_clock::now() < deadline && !session.linkLost())
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return readLevels(session.image());
}

std::string meterLine(const Levels& levels) {
  std::string line;
  for (int i = 0; i < 8; ++i)
    line += std::string(1, static_cast<char>('A' + i)) + " " +
            bar(levels.inputs[static_cast<std::size_t>(i)]) + " ";
  line += "|";
  for (int i = 0; i < 8; ++i)
    line += " " + std::to_string(i + 1) + " " + bar(levels.outputs[static_cast<std::size_t>(i)]);
  return line;
}

Json meterJson(const Levels& levels) {
  const auto side = [](const std::array<std::uint8_t, 8>& bytes) {
    Json values = Json::array();
    for (std::uint8_t level : bytes)
      values.push_back(Json{{"level", step(level)}, {"indicators", (level >> 4) & 0x07}});
    return values;
  };
  return Json{{"inputs", side(levels.inputs)}, {"outputs", side(levels.outputs)}};
}

}  // namespace orvane::cli::Meters
