#include "SoakDevice.h"

#include <cstdio>
#include <sstream>

#include "sim/DeviceStateFile.h"

namespace orvane {

bool SoakDevice::start() {
  std::vector<std::string> options{"--state",         stateFile_,
                                   "--corrupt-every", std::to_string(kCorruptEvery),
                                   "--drop-every",    std::to_string(kDropEvery)};
  if (link_ == LinkType::Serial) options.push_back("--serial");
  process_ = std::make_unique<SimulatorProcess>(options);
  return process_->started();
}

ConnectTarget SoakDevice::target() const {
  if (link_ == LinkType::Serial)
    return {LinkType::Serial, process_->serialPath(), DeviceData::kDefaultDeviceId};
  return {LinkType::Network, process_->address(), 0};
}

// The program ends with "orvane-sim: replies R, corrupted C, dropped D".
bool SoakDevice::stop() {
  if (!process_) return false;
  const ChildProcess::Result result = process_->finish();
  process_.reset();
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) {
    DeviceResponder::Counts run;
    if (std::sscanf(line.c_str(), "orvane-sim: replies %ld, corrupted %ld, dropped %ld", &run.replies,
                    &run.corrupted, &run.dropped) != 3)
      continue;
    counts_.replies += run.replies;
    counts_.corrupted += run.corrupted;
    counts_.dropped += run.dropped;
    return true;
  }
  return false;
}

void SoakDevice::kill() {
  if (process_) process_->kill();
  process_.reset();
}

std::optional<DeviceData> SoakDevice::savedState() const {
  DeviceData data;
  if (DeviceStateFile::load(stateFile_, data)) return std::nullopt;
  return data;
}

}  // namespace orvane
