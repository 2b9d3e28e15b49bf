#include "sim/DeviceState.h"

#include <algorithm>
#include <stdexcept>

#include "model/ChannelDefaults.h"

namespace orvane {

namespace {

constexpr std::size_t kPasswordOffset = 6;
// What a new device's version text holds after its model's prefix.
constexpr std::string_view kFactoryVersion = "1.20";

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

std::string DeviceState::factoryFirmware(const ProductVariant& variant) {
  return std::string(variant.firmwarePrefix) + std::string(kFactoryVersion);
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

  const std::string firmware = factoryFirmware(ProductVariant::forModel(7304));
  std::copy(firmware.begin(), firmware.end(), d.firmwareVersion.begin());
  d.networkName.assign(kFactoryNetworkName.begin(), kFactoryNetworkName.end());
  return d;
}

}  // namespace orvane
