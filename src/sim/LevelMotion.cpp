#include "sim/LevelMotion.h"

#include <chrono>
#include <cmath>
#include <numbers>

namespace orvane {

namespace {

constexpr auto kTick = std::chrono::milliseconds(100);
constexpr int kTopStep = 8;
constexpr std::uint8_t kBit4 = 0x10;  // near the top
constexpr std::uint8_t kBit6 = 0x40;  // at the top: clipping

}  // namespace

LevelMotion::LevelMotion(DeviceState& device) : device_(device), thread_([this] { run(); }) {}

LevelMotion::~LevelMotion() {
  stop_.set();
  thread_.join();
}

LevelBytes LevelMotion::levelsAt(long tick) {
  LevelBytes levels{};
  for (std::size_t channel = 0; channel < levels.size(); ++channel) {
    const double pace = 0.15 + 0.02 * static_cast<double>(channel);
    const double swing = std::sin(pace * static_cast<double>(tick) + static_cast<double>(channel));
    const int step = static_cast<int>(std::lround((swing + 1.0) * kTopStep / 2.0));
    auto level = static_cast<std::uint8_t>(step);
    if (step >= kTopStep - 1) level |= kBit4;
    if (step == kTopStep) level |= kBit6;
    levels[channel] = level;
  }
  return levels;
}

void LevelMotion::run() {
  long tick = 0;
  while (!stop_.wait(kTick)) device_.setLevels(levelsAt(tick++));
}

}  // namespace orvane
