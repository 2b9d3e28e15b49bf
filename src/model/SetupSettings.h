#pragma once

// The working copy of the system set-up block (item 52) that the set-up
// dialogs edit: unpacked from the 54 bytes when a dialog opens, packed again
// for every transmission.
//
// Every field holds the device's code exactly as it was read until the user
// sets it. The getters clamp codes that lie outside their range (a block
// from another firmware, or read before anything was set) so a control can
// show them; pack() writes the held code, so a field nobody touched goes
// back to the device unchanged. The setters clamp the new value into its
// range and say whether the held code changed: false means there is
// nothing to send.
//
// Priority levels, thresholds and the number of simultaneous channels exist
// once per operating mode; their accessors read and write the set of the
// current operating mode only.

#include <array>
#include <cstdint>

#include "model/SystemAreas.h"

namespace orvane {

enum class DeviceMode : std::uint8_t { Slave = 0, Master = 1 };
enum class OutputSelection : std::uint8_t { Analog = 0, Digital = 1 };
enum class OperatingMode : std::uint8_t { Conference = 0, Discussion = 1 };
enum class PriorityLevel : std::uint8_t { Representative = 0, Chairman = 1 };
enum class Attenuation : std::uint8_t {
  ConferenceRepresentative,
  ConferenceCascade,
  DiscussionRepresentative,
  DiscussionCascade
};

class SetupSettings {
 public:
  using Block = std::array<std::uint8_t, SystemAreas::kSetupBlockSize>;

  struct Range {
    int min;
    int max;
    int clamp(int value) const { return value < min ? min : value > max ? max : value; }
  };
  static constexpr Range kOpticalDelaySteps{0, 11};    // x 3.09 ms
  static constexpr Range kSimultaneousChannels{0, 8};  // 1..9 channels
  static constexpr Range kAttenuationCode{200, 800};   // x 0.1 - 80 dB, 200 = "OFF"
  static constexpr Range kThresholdCode{500, 1300};    // x 0.1 - 120 dBu
  static constexpr Range kZeroDbfsDbu{6, 24};
  static constexpr Range kZeroDbfsCode{860, 1040};

  explicit SetupSettings(const Block& block);
  // The block to send: bits 3-7 of the mode byte as 0, every other byte
  // from the fields; bytes 16-21 as they were read.
  Block pack() const;

  DeviceMode deviceMode() const;
  // Slave forces digital output.
  bool setDeviceMode(DeviceMode mode);
  OutputSelection output() const;
  // A slave cannot take analog output: refused (false) in slave mode.
  bool setOutput(OutputSelection output);
  // Whether the output list can be used: in master mode, and in slave mode
  // only while a device reported analog output (the user may then correct it).
  bool outputSelectable() const;
  // The device reported a slave with analog output: the dialog warns on opening.
  bool slaveWithAnalogOutput() const;

  OperatingMode operatingMode() const;
  bool setOperatingMode(OperatingMode mode);

  // Inputs 0..7 (IN A .. IN H; others throw std::out_of_range), in the set of
  // the current operating mode.
  PriorityLevel priority(int input) const;
  bool setPriority(int input, PriorityLevel level);
  int threshold(int input) const;  // code in kThresholdCode
  bool setThreshold(int input, int code);
  int simultaneousChannels() const;  // list index: channels - 1
  bool setSimultaneousChannels(int index);

  int attenuation(Attenuation which) const;  // code in kAttenuationCode
  bool setAttenuation(Attenuation which, int code);
  int zeroDbfsDbu() const;
  bool setZeroDbfsDbu(int dbu);
  int opticalDelay() const;  // list index
  bool setOpticalDelay(int steps);

 private:
  // The fields that exist once per operating mode.
  struct ModeSet {
    std::array<std::uint8_t, 8> levels{};  // 1 = chairman
    int channels = 0;
    std::array<int, 8> thresholds{};
  };

  ModeSet& currentSet();
  const ModeSet& currentSet() const;
  static bool assign(int& field, int value);

  bool master_ = true;
  bool digital_ = false;
  bool discussion_ = false;
  int opticalDelay_ = 0;
  std::array<ModeSet, 2> sets_{};      // conference, discussion
  std::array<int, 4> attenuations_{};  // in the order of Attenuation
  int zeroDbfs_ = 0;
  Block read_{};  // the block as unpacked, for the bytes no field covers
};

}  // namespace orvane
