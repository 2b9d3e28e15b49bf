#include "link/FirmwareCheck.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr std::size_t kPrefixLength = 4;
constexpr int kSupportedMajor = 1;
}  // namespace

FirmwareVerdict checkFirmware(std::span<const std::uint8_t, 8> version, const ProductVariant& variant) {
  if (!std::equal(variant.firmwarePrefix.begin(), variant.firmwarePrefix.end(), version.begin()))
    return FirmwareVerdict::WrongProduct;
  // The major version: the decimal digits up to the first other character.
  int major = 0;
  for (std::size_t i = kPrefixLength; i < version.size() && version[i] >= '0' && version[i] <= '9'; ++i)
    major = std::min(major * 10 + (version[i] - '0'), 1000);
  if (major < kSupportedMajor) return FirmwareVerdict::DeviceOlder;
  if (major > kSupportedMajor) return FirmwareVerdict::DeviceNewer;
  return FirmwareVerdict::Accepted;
}

}  // namespace orvane
