#pragma once

// What a frame addresses (byte 9 `block`, byte 10 `item`, byte 11 `row`).

#include <cstdint>

namespace orvane {

namespace BlockCode {
inline constexpr std::uint8_t Input = 1;   // an input channel block, `item` = channel
inline constexpr std::uint8_t Output = 2;  // an output channel block
inline constexpr std::uint8_t System = 3;  // a system item, `item` = its code
}  // namespace BlockCode

// `row` of whole-block transfers between the device's program store and the
// PC's.
inline constexpr std::uint8_t kProgramStoreRow = 119;

namespace SystemItem {
inline constexpr std::uint8_t ProgramName = 0;
inline constexpr std::uint8_t Levels = 3;
inline constexpr std::uint8_t FirmwareVersion = 4;
inline constexpr std::uint8_t DeviceId = 21;
inline constexpr std::uint8_t StartupProgram = 24;
inline constexpr std::uint8_t NetworkFactoryReset = 49;
inline constexpr std::uint8_t NetworkName = 51;
inline constexpr std::uint8_t SetupBlock = 52;
inline constexpr std::uint8_t ExtendedBlock = 53;
inline constexpr std::uint8_t CameraMessage = 54;
inline constexpr std::uint8_t ConnectionCheck = 204;
}  // namespace SystemItem

}  // namespace orvane
