#pragma once

// Saves and loads a simulated device's state, so a device prepared in one
// session (programs, names, locks, settings) is there again in the next.
// The file is a fixed binary layout with a magic header; a file that does
// not match it is refused as a whole and the state stays as it was.

#include <optional>
#include <string>
#include <vector>

#include "sim/DeviceData.h"

namespace orvane::DeviceStateFile {

std::vector<std::uint8_t> serialise(const DeviceData& data);
// Fills `data` from `bytes`; an error text when the bytes are no state file
// (then `data` is unchanged).
std::optional<std::string> parse(std::span<const std::uint8_t> bytes, DeviceData& data);

// Replaces the state file as a whole, so a crash or a full disk never
// leaves a half-written one. An error text on failure.
std::optional<std::string> save(const std::string& path, const DeviceData& data);
std::optional<std::string> load(const std::string& path, DeviceData& data);

}  // namespace orvane::DeviceStateFile
