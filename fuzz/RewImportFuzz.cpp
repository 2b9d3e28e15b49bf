// Arbitrary text imported as a Room EQ Wizard filter export into one
// channel. A refused import leaves the image as it was; an accepted one
// leaves every EQ band of the channel within the ranges of its fields and
// no other channel touched.

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "dsp/RewFilterImport.h"
#include "model/ChannelRecords.h"
#include "model/ParameterImage.h"
#include "model/QTable.h"
#include "model/Scales.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

bool within(const ParameterScale& scale, int code) {
  return code >= scale.storedMinimum() && code <= scale.storedMaximum();
}

void checkBands(const ParameterImage& image, Side side, int channel) {
  for (int n = 0; n < bandCount(side); ++n) {
    const EqBand band = image.band(side, channel, n);
    require(band.Type >= 0 && band.Type <= 2, "band type out of range");
    require(within(Scales::kFrequency, band.FQCY), "band frequency out of range");
    require(within(Scales::kEqGain, band.Gain), "band gain out of range");
    require(band.Q >= 0 && band.Q <= QTable::kLastCode, "band width out of range");
    require(band.Slope == 0 || band.Slope == 1, "shelf slope out of range");
  }
}

// Every channel block except the imported one.
std::vector<std::uint8_t> otherBlocks(const ParameterImage& image, Side side, int channel) {
  std::vector<std::uint8_t> out;
  for (Side s : {Side::Input, Side::Output})
    for (int n = 0; n < kChannels; ++n) {
      if (s == side && n == channel) continue;
      std::vector<std::uint8_t> block(blockSize(s));
      image.readBlock(s, n, Copy::Edited, block);
      out.insert(out.end(), block.begin(), block.end());
    }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes in(data, size);
  const Side side = in.flag() ? Side::Output : Side::Input;
  const int channel = static_cast<int>(in.pick(kChannels));
  const std::string_view text = in.restAsText();

  ParameterImage image;
  const std::vector<std::uint8_t> before = imagePicture(image);
  const std::vector<std::uint8_t> others = otherBlocks(image, side, channel);
  const RewFilterImport::Parsed parsed = RewFilterImport::parse(text);
  const std::string refusal = RewFilterImport::apply(image, side, channel, parsed);
  if (!refusal.empty()) {
    require(imagePicture(image) == before, "a refused import changed the image");
    return 0;
  }
  require(parsed.problems.empty(), "an import with problems was taken");
  require(otherBlocks(image, side, channel) == others, "an import changed another channel");
  checkBands(image, side, channel);
  checkImageInvariants(image);
  return 0;
}
