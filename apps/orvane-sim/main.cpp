// orvane-sim: a simulated KVS7304 for demonstrations, offline preparation of
// programs and the editor's tests. It serves the network link on TCP and,
// when asked, an RS-485 bus on a pseudo-terminal, until it is interrupted.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/StopSignals.h"
#include "sim/DeviceResponder.h"
#include "sim/DeviceStateFile.h"
#include "sim/LevelMotion.h"
#include "sim/SimBus.h"
#include "sim/SimOptions.h"
#include "sim/TcpDeviceServer.h"

namespace {

using namespace orvane;

// One device on the simulated bus (the first also serves the network).
struct SimDevice {
  DeviceState state;
  DeviceResponder responder{state};
  std::unique_ptr<LevelMotion> levels;
};

std::vector<std::unique_ptr<SimDevice>> makeDevices(const SimOptions& options) {
  const std::vector<int> ids = options.deviceIds.empty() ? std::vector<int>{1} : options.deviceIds;
  std::vector<std::unique_ptr<SimDevice>> devices;
  for (int id : ids) {
    auto device = std::make_unique<SimDevice>();
    device->state.setDeviceId(id);
    device->state.setFirmwareVersion(options.firmwareText());
    device->responder.setFaults(options.faults);
    if (options.movingLevels) device->levels = std::make_unique<LevelMotion>(device->state);
    devices.push_back(std::move(device));
  }
  return devices;
}

// Loads the first device from the state file; the command line's device ID
// and firmware still win.
bool loadState(const SimOptions& options, SimDevice& device) {
  std::error_code error;
  if (!std::filesystem::exists(options.stateFile, error) && !error) {
    std::cerr << "orvane-sim: starting a new state file " << options.stateFile
              << " from the factory state; it is saved on change and at exit\n";
    return false;
  }
  DeviceData data = device.state.read([](const DeviceData& d) { return d; });
  if (auto error = DeviceStateFile::load(options.stateFile, data)) {
    std::cerr << "orvane-sim: " << *error << " (starting from the factory state)\n";
    return false;
  }
  if (!options.deviceIds.empty()) data.deviceId = static_cast<std::uint8_t>(options.deviceIds.front());
  device.state.modify([&](DeviceData& d) { d = data; });
  if (!options.firmware.empty()) device.state.setFirmwareVersion(options.firmware);
  return true;
}

// Saves the device whenever it changed, until a stop signal arrives.
class StateKeeper {
 public:
  StateKeeper(std::string path, DeviceState& state) : path_(std::move(path)), state_(state) {}

  void saveIfChanged() {
    auto bytes = state_.read([](const DeviceData& d) { return DeviceStateFile::serialise(d); });
    if (bytes == saved_) return;
    const DeviceData data = state_.read([](const DeviceData& d) { return d; });
    if (auto error = DeviceStateFile::save(path_, data)) {
      std::cerr << "orvane-sim: " << *error << "\n";
      return;
    }
    saved_ = std::move(bytes);
  }

 private:
  std::string path_;
  DeviceState& state_;
  std::vector<std::uint8_t> saved_;
};

// Waits for a stop request, calling `tick` once a second meanwhile.
template <class Tick>
void waitForStop(const StopSignals& stop, Tick tick) {
  while (!stop.waitFor(std::chrono::seconds(1))) tick();
}

// One line of what the devices answered, for soak runs and the curious:
// "orvane-sim: replies 1200, corrupted 120, dropped 12".
void printCounts(const std::vector<std::unique_ptr<SimDevice>>& devices) {
  DeviceResponder::Counts total;
  for (const auto& device : devices) {
    const DeviceResponder::Counts counts = device->responder.counts();
    total.replies += counts.replies;
    total.corrupted += counts.corrupted;
    total.dropped += counts.dropped;
  }
  std::cout << "orvane-sim: replies " << total.replies << ", corrupted " << total.corrupted << ", dropped "
            << total.dropped << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  if (auto error = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc), options)) {
    std::cerr << "orvane-sim: " << *error << "\n\n" << SimOptions::usage();
    return 2;
  }
  if (options.help) {
    std::cout << SimOptions::usage();
    return 0;
  }

  const StopSignals stop;

  auto devices = makeDevices(options);
  SimDevice& first = *devices.front();
  if (!options.stateFile.empty()) loadState(options, first);

  TcpDeviceServer network(first.responder);
  network.setFaults(
      TcpServerFaults{std::chrono::milliseconds(options.replyDelayMs), options.closeAfterFrames});
  if (!network.start(options.listenAddress, options.listenPort)) {
    std::cerr << "orvane-sim: cannot listen on " << options.listenAddress << ":" << options.listenPort
              << "\n";
    return 1;
  }
  std::cout << "orvane-sim: network " << options.listenAddress << ":" << network.port() << std::endl;

  std::unique_ptr<SimBus> bus;
  if (options.serial) {
    std::vector<DeviceResponder*> responders;
    for (auto& device : devices) responders.push_back(&device->responder);
    try {
      bus = SimBus::start(responders, std::chrono::milliseconds(options.replyDelayMs));
    } catch (const std::system_error& error) {
      std::cerr << "orvane-sim: no pseudo-terminal for the RS-485 bus: " << error.what() << "\n";
      return 1;
    }
    std::cout << "orvane-sim: serial " << bus->path() << std::endl;
  }

  std::unique_ptr<StateKeeper> keeper;
  if (!options.stateFile.empty()) keeper = std::make_unique<StateKeeper>(options.stateFile, first.state);
  waitForStop(stop, [&] {
    if (keeper) keeper->saveIfChanged();
  });

  network.stop();
  if (bus) bus->stop();
  if (keeper) keeper->saveIfChanged();
  printCounts(devices);
  return 0;
}
