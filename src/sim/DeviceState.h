#pragma once

// The state of one simulated device. The responder changes it while it
// answers frames on a transport's thread, and tests or the simulator's own
// controls look at it or change it from other threads, so every access goes
// through this class and its lock.

#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "model/ProductVariant.h"
#include "sim/DeviceData.h"

namespace orvane {

class DeviceState {
 public:
  // The version text a new device of `variant` reports, e.g. "J-DV1.20".
  static std::string factoryFirmware(const ProductVariant& variant);
  // The name the network module has when it leaves the factory and after a
  // network factory reset.
  static constexpr std::string_view kFactoryNetworkName = "KVS7304";

  // A model 7304 as it leaves the factory.
  DeviceState();
  DeviceState(const DeviceState&) = delete;
  DeviceState& operator=(const DeviceState&) = delete;

  // Back to the factory state: default channel blocks in the working state
  // and in every program, no names, no locks, start-up set-up blocks,
  // device ID 1, the factory network name.
  void resetToFactory();

  int deviceId() const;
  void setDeviceId(int id);
  // The version text the device reports, cut or zero-padded to 8 bytes.
  void setFirmwareVersion(std::string_view text);
  void setLevels(const LevelBytes& levels);

  template <class F>
  decltype(auto) read(F&& f) const {
    std::lock_guard lock(mutex_);
    return std::forward<F>(f)(std::as_const(data_));
  }
  template <class F>
  decltype(auto) modify(F&& f) {
    std::lock_guard lock(mutex_);
    return std::forward<F>(f)(data_);
  }

  // The lock packet of a device without locks or password.
  static LockPacketBytes unlockedPacket();

 private:
  static DeviceData factoryData();

  mutable std::mutex mutex_;
  DeviceData data_;
};

}  // namespace orvane
