#include "model/ChannelDefaults.h"

#include <algorithm>
#include <array>

#include "model/ChannelRecords.h"

namespace orvane::ChannelDefaults {

namespace {

constexpr std::array<int, 8> kInputBandFrequencies{39, 79, 158, 316, 632, 1261, 2517, 5023};
constexpr std::array<int, 9> kOutputBandFrequencies{40, 80, 160, 317, 632, 1261, 2515, 5018, 10000};

constexpr int kUnityGain = 300;
constexpr int kMasterLevel = 120;
constexpr int kFeedbackLevel3 = 9;
constexpr int kTopClass = 2;
constexpr int kTopClassLevel = 80;
constexpr int kMixUnity = 120;
constexpr int kDynamicsOff = 500;
constexpr int kAttack50ms = 56;
constexpr int kRelease150ms = 100;
constexpr int kRatioOneToOne = 1;
constexpr int kOutputLinkBase = 81;

void applyName(std::span<std::uint8_t> block, char letter) {
  std::fill_n(block.begin(), kNameBytes, std::uint8_t{0});
  block[0] = static_cast<std::uint8_t>(letter);
}

void applyCommon(std::span<std::uint8_t> block) {
  using namespace CommonField;
  writeField(block, Mute, 1);
  writeField(block, Polarity, 1);
  writeField(block, Delay, 0);
  writeField(block, Gain, kUnityGain);
  writeField(block, Allvolume, kMasterLevel);
}

template <std::size_t N>
void applyFilters(std::span<std::uint8_t> block, Side side, const std::array<int, N>& frequencies) {
  CrossoverPair{}.write(block, side);
  for (std::size_t band = 0; band < N; ++band) {
    EqBand record;
    record.FQCY = frequencies[band];
    record.write(block, side, static_cast<int>(band));
  }
}

}  // namespace

void applyInput(std::span<std::uint8_t> block, int channel) {
  using namespace InputField;
  applyName(block, static_cast<char>('A' + channel));
  applyCommon(block);
  writeField(block, All_Feedback, 1);
  writeField(block, Feedback, kFeedbackLevel3);
  writeField(block, LevelClass, kTopClass);
  writeField(block, ClassLevel, kTopClassLevel);
  writeField(block, NoiseGate, 0);
  writeField(block, LinkGroup, channel + 1);
  for (int output = 0; output < kChannels; ++output)
    writeField(block, mix(output), output == channel ? kMixUnity : 0);
  writeField(block, AGC_TargetLevel, 0);
  writeField(block, AGC_Threshold, 0);
  writeField(block, AGC_ReleaseTime, kRelease150ms);
  writeField(block, AGC_ResponseTime, kAttack50ms);
  writeField(block, AGC_Ratio, kRatioOneToOne);
  writeField(block, Comp_Level, kDynamicsOff);
  writeField(block, Comp_A, kAttack50ms);
  writeField(block, Comp_R, kRelease150ms);
  writeField(block, Comp_ratio, kRatioOneToOne);
  applyFilters(block, Side::Input, kInputBandFrequencies);
}

void applyOutput(std::span<std::uint8_t> block, int channel) {
  using namespace OutputField;
  applyName(block, static_cast<char>('1' + channel));
  applyCommon(block);
  writeField(block, Lim_Threshold, kDynamicsOff);
  writeField(block, Lim_Attack, kAttack50ms);
  writeField(block, Lim_Release, kRelease150ms);
  writeField(block, LinkGroup, channel + kOutputLinkBase);
  writeField(block, Comp_Level, kDynamicsOff);
  writeField(block, Comp_A, kAttack50ms);
  writeField(block, Comp_R, kRelease150ms);
  writeField(block, Comp_ratio, kRatioOneToOne);
  applyFilters(block, Side::Output, kOutputBandFrequencies);
}

void apply(Side side, std::span<std::uint8_t> block, int channel) {
  if (side == Side::Input)
    applyInput(block, channel);
  else
    applyOutput(block, channel);
}

}  // namespace orvane::ChannelDefaults
