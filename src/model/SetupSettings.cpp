#include "model/SetupSettings.h"

#include <cstddef>
#include <stdexcept>

#include "model/BlockLayout.h"

namespace orvane {

namespace {

constexpr std::uint8_t kMasterBit = 0x01;
constexpr std::uint8_t kDigitalBit = 0x02;
constexpr std::uint8_t kDiscussionBit = 0x04;
constexpr int kReferenceBase = 860;  // the code of 6 dBu
constexpr int kReferenceBaseDbu = 6;
constexpr int kReferenceStep = 10;  // codes per dB

// Where each set and attenuation lives in the block.
struct SetOffsets {
  int levels;
  int channels;
  int thresholds;
};
constexpr std::array<SetOffsets, 2> kSetOffsets = {{
    {SetupOffset::ConferencePriority, SetupOffset::ConferenceChannels, SetupOffset::ConferenceThresholds},
    {SetupOffset::DiscussionPriority, SetupOffset::DiscussionChannels, SetupOffset::DiscussionThresholds},
}};
constexpr std::array<int, 4> kAttenuationOffsets = {
    SetupOffset::ConferenceAttenuation, SetupOffset::ConferenceCascadeAttenuation,
    SetupOffset::DiscussionAttenuation, SetupOffset::DiscussionCascadeAttenuation};

std::size_t at(int offset) {
  return static_cast<std::size_t>(offset);
}

// Words are little-endian and unsigned on the device.
int wordAt(const SetupSettings::Block& block, int offset) {
  return block[at(offset)] | (block[at(offset) + 1] << 8);
}
void putWord(SetupSettings::Block& block, int offset, int value) {
  block[at(offset)] = static_cast<std::uint8_t>(value & 0xFF);
  block[at(offset) + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// Inputs are 0..7; anything else is a caller's error.
std::size_t inputIndex(int input) {
  if (input < 0 || input >= kChannels) throw std::out_of_range("set-up input");
  return static_cast<std::size_t>(input);
}

}  // namespace

SetupSettings::SetupSettings(const Block& block) : read_(block) {
  const std::uint8_t modeBits = block[SetupOffset::ModeBits];
  master_ = (modeBits & kMasterBit) != 0;
  digital_ = (modeBits & kDigitalBit) != 0;
  discussion_ = (modeBits & kDiscussionBit) != 0;
  opticalDelay_ = block[SetupOffset::OpticalDelay];
  for (std::size_t s = 0; s < sets_.size(); ++s) {
    const SetOffsets& where = kSetOffsets[s];
    ModeSet& set = sets_[s];
    for (int input = 0; input < kChannels; ++input) {
      set.levels[inputIndex(input)] = (block[at(where.levels)] >> input) & 1;
      set.thresholds[inputIndex(input)] = wordAt(block, where.thresholds + 2 * input);
    }
    set.channels = block[at(where.channels)];
  }
  for (std::size_t a = 0; a < attenuations_.size(); ++a)
    attenuations_[a] = wordAt(block, kAttenuationOffsets[a]);
  zeroDbfs_ = wordAt(block, SetupOffset::ZeroDbfsReference);
}

SetupSettings::Block SetupSettings::pack() const {
  Block block = read_;
  block[SetupOffset::ModeBits] = static_cast<std::uint8_t>(
      (master_ ? kMasterBit : 0) | (digital_ ? kDigitalBit : 0) | (discussion_ ? kDiscussionBit : 0));
  block[SetupOffset::OpticalDelay] = static_cast<std::uint8_t>(opticalDelay_);
  for (std::size_t s = 0; s < sets_.size(); ++s) {
    const SetOffsets& where = kSetOffsets[s];
    const ModeSet& set = sets_[s];
    std::uint8_t levels = 0;
    for (int input = 0; input < kChannels; ++input) {
      levels = static_cast<std::uint8_t>(levels | (set.levels[inputIndex(input)] << input));
      putWord(block, where.thresholds + 2 * input, set.thresholds[inputIndex(input)]);
    }
    block[at(where.levels)] = levels;
    block[at(where.channels)] = static_cast<std::uint8_t>(set.channels);
  }
  for (std::size_t a = 0; a < attenuations_.size(); ++a)
    putWord(block, kAttenuationOffsets[a], attenuations_[a]);
  putWord(block, SetupOffset::ZeroDbfsReference, zeroDbfs_);
  return block;
}

bool SetupSettings::assign(int& field, int value) {
  if (field == value) return false;
  field = value;
  return true;
}

DeviceMode SetupSettings::deviceMode() const {
  return master_ ? DeviceMode::Master : DeviceMode::Slave;
}

bool SetupSettings::setDeviceMode(DeviceMode mode) {
  const bool master = mode == DeviceMode::Master;
  bool changed = master_ != master;
  master_ = master;
  if (!master) {
    changed = changed || !digital_;
    digital_ = true;
  }
  return changed;
}

OutputSelection SetupSettings::output() const {
  return digital_ ? OutputSelection::Digital : OutputSelection::Analog;
}

bool SetupSettings::setOutput(OutputSelection output) {
  const bool digital = output == OutputSelection::Digital;
  if (digital_ == digital || (!master_ && !digital)) return false;
  digital_ = digital;
  return true;
}

bool SetupSettings::outputSelectable() const {
  return master_ || !digital_;
}

bool SetupSettings::slaveWithAnalogOutput() const {
  return !master_ && !digital_;
}

OperatingMode SetupSettings::operatingMode() const {
  return discussion_ ? OperatingMode::Discussion : OperatingMode::Conference;
}

bool SetupSettings::setOperatingMode(OperatingMode mode) {
  const bool discussion = mode == OperatingMode::Discussion;
  if (discussion_ == discussion) return false;
  discussion_ = discussion;
  return true;
}

SetupSettings::ModeSet& SetupSettings::currentSet() {
  return sets_[discussion_ ? 1 : 0];
}
const SetupSettings::ModeSet& SetupSettings::currentSet() const {
  return sets_[discussion_ ? 1 : 0];
}

PriorityLevel SetupSettings::priority(int input) const {
  return currentSet().levels[inputIndex(input)] ? PriorityLevel::Chairman : PriorityLevel::Representative;
}

bool SetupSettings::setPriority(int input, PriorityLevel level) {
  std::uint8_t& stored = currentSet().levels[inputIndex(input)];
  const std::uint8_t wanted = level == PriorityLevel::Chairman ? 1 : 0;
  if (stored == wanted) return false;
  stored = wanted;
  return true;
}

int SetupSettings::threshold(int input) const {
  return kThresholdCode.clamp(currentSet().thresholds[inputIndex(input)]);
}

bool SetupSettings::setThreshold(int input, int code) {
  return assign(currentSet().thresholds[inputIndex(input)], kThresholdCode.clamp(code));
}

int SetupSettings::simultaneousChannels() const {
  return kSimultaneousChannels.clamp(currentSet().channels);
}

bool SetupSettings::setSimultaneousChannels(int index) {
  return assign(currentSet().channels, kSimultaneousChannels.clamp(index));
}

int SetupSettings::attenuation(Attenuation which) const {
  return kAttenuationCode.clamp(attenuations_[static_cast<std::size_t>(which)]);
}

bool SetupSettings::setAttenuation(Attenuation which, int code) {
  return assign(attenuations_[static_cast<std::size_t>(which)], kAttenuationCode.clamp(code));
}

int SetupSettings::zeroDbfsDbu() const {
  return kZeroDbfsDbu.clamp((zeroDbfs_ - kReferenceBase) / kReferenceStep + kReferenceBaseDbu);
}

bool SetupSettings::setZeroDbfsDbu(int dbu) {
  const int code =
      kReferenceStep * kZeroDbfsDbu.clamp(dbu) - kReferenceStep * kReferenceBaseDbu + kReferenceBase;
  return assign(zeroDbfs_, kZeroDbfsCode.clamp(code));
}

int SetupSettings::opticalDelay() const {
  return kOpticalDelaySteps.clamp(opticalDelay_);
}

bool SetupSettings::setOpticalDelay(int steps) {
  return assign(opticalDelay_, kOpticalDelaySteps.clamp(steps));
}

}  // namespace orvane
