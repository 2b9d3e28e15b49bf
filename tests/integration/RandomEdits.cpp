#include "RandomEdits.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "model/NameField.h"

namespace orvane {

namespace {

constexpr int kGainCodes = 420;    // 0 .. +12 dB
constexpr int kEqGainCodes = 600;  // -40 .. +20 dB
constexpr int kMixCodes = 120;     // off .. 0 dB
constexpr int kLowestFrequency = 20;
constexpr int kHighestFrequency = 20000;
constexpr int kBandwidthCodes = 295;
constexpr std::string_view kNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_";

}  // namespace

int RandomEdits::pick(int lowest, int highest) {
  return std::uniform_int_distribution<int>(lowest, highest)(engine_);
}

Side RandomEdits::side() {
  return pick(0, 1) == 0 ? Side::Input : Side::Output;
}

std::chrono::milliseconds RandomEdits::pause() {
  return std::chrono::milliseconds(pick(0, 3) == 0 ? pick(1, 15) : 0);
}

void RandomEdits::makeOne(ParameterImage& image) {
  ++made_;
  switch (pick(0, 5)) {
    case 0: {
      const Side s = side();
      image.setField(s, channel(), CommonField::Gain, pick(0, kGainCodes));
      break;
    }
    case 1: {
      const Side s = side();
      const int c = channel();
      const int band = pick(0, bandCount(s) - 1);
      EqBand record = image.band(s, c, band);
      record.FQCY = pick(kLowestFrequency, kHighestFrequency);
      record.Gain = pick(0, kEqGainCodes);
      record.Q = pick(0, kBandwidthCodes);
      record.Type = pick(0, 2);
      record.Slope = pick(0, 1);
      image.setBand(s, c, band, record);
      break;
    }
    case 2:
      rename(image);
      break;
    case 3:
      image.setField(Side::Input, channel(), InputField::mix(channel()), pick(0, kMixCodes));
      break;
    default: {
      // Mutes twice as often: a user toggles them much more than anything else.
      const Side s = side();
      image.setField(s, channel(), CommonField::Mute, pick(0, 1));
      break;
    }
  }
}

// A name of one to eight characters, written in one go as the name entry
// does when it is left.
void RandomEdits::rename(ParameterImage& image) {
  std::string text(static_cast<std::size_t>(pick(1, static_cast<int>(kNameBytes))), ' ');
  for (char& c : text)
    c = kNameCharacters[static_cast<std::size_t>(pick(0, static_cast<int>(kNameCharacters.size()) - 1))];
  const auto field = NameField::TextToField(text, kNameBytes);
  const Side s = side();
  const int c = channel();
  image.modify([&](ImageData& d) { std::ranges::copy(field, d.edited.block(s, c).begin()); });
}

}  // namespace orvane
