#include "control/PathLocks.h"

#include <array>
#include <string_view>

#include "control/ParameterPath.h"

namespace orvane::control::PathLocks {

namespace {

// The function word of a channel path ("eq" of "in.A.eq.3.freq") with the
// locks of the input and the output side.
struct ChannelLock {
  std::string_view word;
  int input;
  int output;
};

constexpr std::array kChannelLocks{
    ChannelLock{"name", LockFlag::InputLabel, LockFlag::OutputLabel},
    ChannelLock{"mute", LockFlag::InputMute, LockFlag::OutputMute},
    ChannelLock{"delay", LockFlag::InputDelay, LockFlag::OutputDelay},
    ChannelLock{"gain", LockFlag::InputGain, LockFlag::OutputGain},
    ChannelLock{"polarity", LockFlag::InputPolarity, LockFlag::OutputPolarity},
    ChannelLock{"gate", LockFlag::NoiseGate, LockFlag::NoiseGate},
    ChannelLock{"feedback", LockFlag::InputFeedback, LockFlag::InputFeedback},
    ChannelLock{"eq", LockFlag::InputEq, LockFlag::OutputEq},
    ChannelLock{"xover", LockFlag::InputCrossover, LockFlag::OutputCrossover},
    ChannelLock{"link", LockFlag::InputLink, LockFlag::OutputLink},
    ChannelLock{"agc", LockFlag::InputDynamics, LockFlag::OutputDynamics},
    ChannelLock{"comp", LockFlag::InputDynamics, LockFlag::OutputDynamics},
    ChannelLock{"lim", LockFlag::InputDynamics, LockFlag::OutputDynamics},
};

// The n-th word of a dotted path.
std::string_view word(std::string_view path, int n) {
  for (; n > 0; --n) {
    const auto dot = path.find('.');
    if (dot == std::string_view::npos) return {};
    path.remove_prefix(dot + 1);
  }
  return path.substr(0, path.find('.'));
}

}  // namespace

std::optional<int> flagOf(const ParameterPath& path) {
  return flagOf(path.name());
}

std::optional<int> flagOf(std::string_view name) {
  const std::string_view first = word(name, 0);
  if (first == "matrix") return LockFlag::Matrix;
  if (first == "setup") return LockFlag::Settings;
  if (first == "master") {
    if (word(name, 1) == "antifeedback") return LockFlag::MainFeedback;
    return word(name, 1) == "in" ? LockFlag::InputMainVolume : LockFlag::OutputMainVolume;
  }
  const std::string_view function = word(name, 2);
  for (const ChannelLock& lock : kChannelLocks)
    if (lock.word == function) return first == "in" ? lock.input : lock.output;
  return std::nullopt;
}

bool isLocked(const ParameterPath& path, const LockState& locks) {
  const std::optional<int> flag = flagOf(path);
  return flag && locks.isLocked(*flag);
}

std::string refusal(const ParameterPath& path, const LockState& locks) {
  return refusal(path.name(), locks);
}

std::string refusal(std::string_view function, const LockState& locks) {
  const std::optional<int> flag = flagOf(function);
  return flag && locks.isLocked(*flag) ? std::string(function) + " is locked on the device" : std::string();
}

}  // namespace orvane::control::PathLocks
