#pragma once

// The check of a device's firmware version after connecting: the version
// text must carry this product's prefix ("J-DV" or "S-DV") and major
// version 1.

#include <array>
#include <cstdint>
#include <span>

#include "model/ProductVariant.h"

namespace orvane {

enum class FirmwareVerdict { Accepted, WrongProduct, DeviceOlder, DeviceNewer };

// `version`: the device's 8-byte version area, a 4-character prefix then the
// version text, e.g. "J-DV1.20".
FirmwareVerdict checkFirmware(std::span<const std::uint8_t, 8> version, const ProductVariant& variant);

}  // namespace orvane
