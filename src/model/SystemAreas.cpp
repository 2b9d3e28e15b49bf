#include "model/SystemAreas.h"

#include <span>

#include "model/BlockLayout.h"

namespace orvane {

namespace {

constexpr int kMasterAnalogConference = 1;
constexpr int kEightChannels = 7;  // stored as channel count - 1
constexpr int kReference6dBu = 860;
constexpr int kThresholdMinus38dBu = 820;
constexpr int kAttenuationOff = 200;
constexpr int kAttenuationMinus20dB = 600;
constexpr int kAttenuationMinus28_8dB = 512;
constexpr int kAttenuationMinus40dB = 400;

Field wordAt(int offset) {
  return Field{static_cast<std::uint16_t>(offset), 2};
}

}  // namespace

void SystemAreas::applySetupDefaults(int conferenceAttenuation, int discussionAttenuation) {
  using namespace SetupOffset;
  setup[ModeBits] = kMasterAnalogConference;
  setup[OpticalDelay] = 0;
  setup[ConferencePriority] = 0;
  setup[DiscussionPriority] = 0;
  setup[ConferenceChannels] = kEightChannels;
  setup[DiscussionChannels] = kEightChannels;
  setSetupWord(ConferenceAttenuation, conferenceAttenuation);
  setSetupWord(ConferenceCascadeAttenuation, conferenceAttenuation);
  setSetupWord(DiscussionAttenuation, discussionAttenuation);
  setSetupWord(DiscussionCascadeAttenuation, discussionAttenuation);
  setSetupWord(ZeroDbfsReference, kReference6dBu);
  for (int input = 0; input < kChannels; ++input) {
    setSetupWord(ConferenceThresholds + 2 * input, kThresholdMinus38dBu);
    setSetupWord(DiscussionThresholds + 2 * input, kThresholdMinus38dBu);
  }
}

void SystemAreas::applyStartupDefaults() {
  setup.fill(0);
  applySetupDefaults(kAttenuationOff, kAttenuationMinus20dB);

  using namespace ExtendedOffset;
  extended.fill(0);
  for (int input = 0; input < kChannels; ++input) {
    extended[static_cast<std::size_t>(Presets + input)] = 1;
    extended[static_cast<std::size_t>(CameraIds + input)] = 1;
  }
  extended[PanoramicPreset] = 1;
  extended[PanoramicCameraId] = 1;
  extended[Protocol] = static_cast<std::uint8_t>(CameraProtocol::PelcoD);

  startupProgram = 0;
  camera = CameraCommands::defaults();
}

void SystemAreas::applyDisconnectDefaults() {
  applySetupDefaults(kAttenuationMinus28_8dB, kAttenuationMinus40dB);
}

int SystemAreas::setupWord(int offset) const {
  return readField(setup, wordAt(offset));
}
void SystemAreas::setSetupWord(int offset, int value) {
  writeField(setup, wordAt(offset), value);
}
int SystemAreas::extendedWord(int offset) const {
  return readField(extended, wordAt(offset));
}
void SystemAreas::setExtendedWord(int offset, int value) {
  writeField(extended, wordAt(offset), value);
}

}  // namespace orvane
