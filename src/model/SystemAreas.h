#pragma once

// Device-wide data exchanged as system items: the set-up block (item 52), the
// extended set-up block with the camera settings (item 53), the start-up
// program (item 24), the network name (item 51) and the camera message table.

#include <array>
#include <cstdint>
#include <string>

#include "model/CameraCommands.h"

namespace orvane {

// Offsets in the 54-byte system set-up block; words are little-endian.
namespace SetupOffset {
inline constexpr int ModeBits = 0;  // bit 0 master, bit 1 digital out, bit 2 discussion
inline constexpr int OpticalDelay = 1;
inline constexpr int ConferencePriority = 2;
inline constexpr int ConferenceChannels = 3;
inline constexpr int ConferenceAttenuation = 4;         // representative
inline constexpr int ConferenceCascadeAttenuation = 6;  // cascade
inline constexpr int DiscussionPriority = 8;
inline constexpr int DiscussionChannels = 9;
inline constexpr int DiscussionAttenuation = 10;
inline constexpr int DiscussionCascadeAttenuation = 12;
inline constexpr int ZeroDbfsReference = 14;
inline constexpr int ConferenceThresholds = 22;  // 8 words, IN A .. IN H
inline constexpr int DiscussionThresholds = 38;
}  // namespace SetupOffset

// Offsets in the 23-byte extended set-up block (camera settings).
namespace ExtendedOffset {
inline constexpr int Presets = 0;  // IN A .. IN H
inline constexpr int PanoramicPreset = 8;
inline constexpr int CameraIds = 9;  // IN A .. IN H
inline constexpr int PanoramicCameraId = 17;
inline constexpr int ResponseTime = 18;  // word, tenths of a second
inline constexpr int ReleaseTime = 20;   // word
inline constexpr int Protocol = 22;      // CameraProtocol
}  // namespace ExtendedOffset

struct SystemAreas {
  static constexpr std::size_t kSetupBlockSize = 54;
  static constexpr std::size_t kExtendedBlockSize = 23;
  static constexpr std::size_t kNetworkNameMax = 255;

  std::array<std::uint8_t, kSetupBlockSize> setup{};
  std::array<std::uint8_t, kExtendedBlockSize> extended{};
  std::uint8_t startupProgram = 0;  // 0 = current program, 1..30 = device program
  std::string networkName;          // raw bytes as the device holds them
  CameraCommands camera = CameraCommands::defaults();

  // Values before anything was read from a device.
  void applyStartupDefaults();
  // Values of the set-up block after a link was closed or lost; the other
  // areas keep what they hold.
  void applyDisconnectDefaults();

  int setupWord(int offset) const;
  void setSetupWord(int offset, int value);
  int extendedWord(int offset) const;
  void setExtendedWord(int offset, int value);

 private:
  void applySetupDefaults(int conferenceAttenuation, int discussionAttenuation);
};

}  // namespace orvane
