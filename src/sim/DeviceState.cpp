#include "sim/DeviceState.h"

#include <algorithm>
#include <stdexcept>

#include "model/ChannelDefaults.h"

namespace orvane {

namespace {

constexpr std::size_t kPasswordOffset = 6;

void applyFactoryBlocks(BlockSet& blocks) {
  for (int channel = 0; channel < kChannels; ++channel) {
    ChannelDefaults::applyInput(blocks.block(Side::Input, channel), channel);
    ChannelDefaults::applyOutput(blocks.block(Side::Output, channel), channel);
  }
}

// A program holds the factory blocks, no name and no locks.
void applyFactoryProgram(ProgramRecord& record, const BlockSet& blocks, const LockPacketBytes& locks) {
  record.fill(0);
  for (int channel = 0; channel < kChannels; ++channel) {
    std::ranges::copy(blocks.block(Side::Input, channel), recordBlock(record, Side::Input, channel).begin());
    std::ranges::copy(blocks.block(Side::Output, channel),
                      recordBlock(record, Side::Output, channel).begin());
  }
  std::ranges::copy(locks, recordLockPacket(record).begin());
}

}  // namespace

DeviceState::DeviceState() : data_(factoryData()) {}

void DeviceState::resetToFactory() {
  DeviceData fresh = factoryData();
  std::lock_guard lock(mutex_);
  data_ = std::move(fresh);
}

int DeviceState::deviceId() const {
  std::lock_guard lock(mutex_);
  return data_.deviceId;
}

void DeviceState::setDeviceId(int id) {
  if (id < 1 || id > DeviceData::kMaxDeviceId) throw std::out_of_range("device ID");
  std::lock_guard lock(mutex_);
  data_.deviceId = static_cast<std::uint8_t>(id);
}

void DeviceState::setFirmwareVersion(std::string_view text) {
  FirmwareText version{};
  std::copy_n(text.begin(), std::min(text.size(), version.size()), version.begin());
  std::lock_guard lock(mutex_);
  data_.firmwareVersion = version;
}

void DeviceState::setLevels(const LevelBytes& levels) {
  std::lock_guard lock(mutex_);
  data_.levels = levels;
}

LockPacketBytes DeviceState::unlockedPacket() {
  LockPacketBytes packet{};
  std::fill(packet.begin() + kPasswordOffset, packet.end(), std::uint8_t{' '});
  return packet;
}

DeviceData DeviceState::factoryData() {
  DeviceData d;
  applyFactoryBlocks(d.working);
  d.workingLocks = unlockedPacket();
  d.deviceLockSet = unlockedPacket();
  for (ProgramRecord& record : d.programs) applyFactoryProgram(record, d.working, d.workingLocks);

  SystemAreas areas;
  areas.applyStartupDefaults();
  d.setup = areas.setup;
  d.extended = areas.extended;
  d.startupProgram = areas.startupProgram;

  std::copy(kFactoryFirmware.begin(), kFactoryFirmware.end(), d.firmwareVersion.begin());
  d.networkName.assign(kFactoryNetworkName.begin(), kFactoryNetworkName.end());
  return d;
}

}  // namespace orvane
