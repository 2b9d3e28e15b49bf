#include "dsp/CFilter.h"

#include <algorithm>
#include <cstdio>

#include "dsp/FilterDesign.h"
#include "model/Choices.h"
#include "model/Language.h"
#include "model/ParameterImage.h"

namespace orvane {

namespace {

constexpr double kGainStep = 0.1;  // dB per gain code
constexpr double kGainCodeOffsetDb = 40;
constexpr double kBandwidthStep = 0.01;  // octaves per bandwidth code
constexpr double kBandwidthBase = 0.05;

double gainFromCode(int code) {
  return code * kGainStep - kGainCodeOffsetDb;
}
double bandwidthFromCode(int code) {
  return code * kBandwidthStep + kBandwidthBase;
}

template <class... Args>
std::string format(const char* pattern, Args... args) {
  std::array<char, 96> buffer{};
  const int n = std::snprintf(buffer.data(), buffer.size(), pattern, args...);
  return std::string(buffer.data(),
                     static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(buffer.size()) - 1)));
}

}  // namespace

// --- binding ---------------------------------------------------------------

void CFilter::BindBand(ParameterImage& image, Side side, int channel, int band) {
  const EqBand record = image.band(side, channel, band);  // checks channel and band
  image_ = &image;
  target_ = Target::Band;
  side_ = side;
  channel_ = channel;
  band_ = band;
  frequency_ = record.FQCY;
  bandwidth_ = bandwidthFromCode(record.Q);
  applyGainCode(record.Gain);
  slope_ = record.Slope;
  kind_ = static_cast<FilterKind>(record.Type);
  Recompute(true);
}

void CFilter::BindCrossover(ParameterImage& image, Side side, int channel) {
  const CrossoverPair record = image.crossover(side, channel);  // checks channel
  image_ = &image;
  target_ = Target::Crossover;
  side_ = side;
  channel_ = channel;
  takeCrossoverHalf(record);
  Recompute(true);
}

EqBand CFilter::bandRecord() const {
  return image_->band(side_, channel_, band_);
}

CrossoverPair CFilter::crossoverRecord() const {
  return image_->crossover(side_, channel_);
}

void CFilter::writeBandField(Field BandFields::*field, int value) {
  if (target_ != Target::Band) return;
  image_->setField(side_, channel_, bandFields(side_, band_).*field, value);
}

void CFilter::takeCrossoverHalf(const CrossoverPair& pair) {
  if (kind_ == FilterKind::HighPass) {
    frequency_ = pair.XFQCY_Lo;
    family_ = pair.XMode_Lo;
    slope_ = pair.XSLope_Lo;
  } else if (kind_ == FilterKind::LowPass) {
    frequency_ = pair.XFQCY_Hi;
    family_ = pair.XMode_Hi;
    slope_ = pair.XSLope_Hi;
  }
}

// --- element values -----------------------------------------------------------

void CFilter::SetKind(FilterKind kind) {
  kind_ = kind;
  // Only band kinds belong in a band record's `Type` byte.
  if (target_ != Target::Band || !isBandKind(kind)) return;
  const BandFields fields = bandFields(side_, band_);
  frequency_ = image_->modify([&](ImageData& data) {
    const auto block = data.edited.block(side_, channel_);
    int hz = readField(block, fields.FQCY);
    const bool lowTooHigh = kind == FilterKind::LowShelf && hz > kShelfBoundaryHz;
    const bool highTooLow = kind == FilterKind::HighShelf && hz < kShelfBoundaryHz;
    if (lowTooHigh || highTooLow) {
      hz = kShelfBoundaryHz;
      writeField(block, fields.FQCY, hz);
    }
    writeField(block, fields.Type, static_cast<int>(kind));
    return hz;
  });
}

void CFilter::applyGainCode(int code) {
  if (code == kFlatGainCode) {
    bandOff_ = true;
    gain_ = 0.0;
    return;
  }
  bandOff_ = false;
  bypass_ = false;
  gain_ = gainFromCode(code);
}

void CFilter::SetGainCode(int code) {
  applyGainCode(code);
  writeBandField(&BandFields::Gain, code);
}

void CFilter::SetBandwidthCode(int code) {
  bandwidth_ = bandwidthFromCode(code);
  writeBandField(&BandFields::Q, code);
}

void CFilter::SetFrequency(int hz) {
  frequency_ = hz;
  if (target_ == Target::Band) {
    writeBandField(&BandFields::FQCY, hz);
  } else if (target_ == Target::Crossover && isCrossoverKind(kind_)) {
    const CrossoverFields fields = crossoverFields(side_);
    image_->setField(side_, channel_, kind_ == FilterKind::HighPass ? fields.XFQCY_Lo : fields.XFQCY_Hi, hz);
  }
}

void CFilter::SetBandOff(bool off) {
  if (bypass_) {
    bypass_ = false;
    if (gain_ == 0.0) return;
  } else if (bandOff_ == off || gain_ == 0.0) {
    return;
  }
  bandOff_ = off;
  if (off) {
    writeBandField(&BandFields::Gain, kFlatGainCode);
  } else {
    bypass_ = false;
    writeBandField(&BandFields::Gain, GainCode());
  }
  Recompute(false);
}

void CFilter::SetBypass(bool on) {
  if (on) {
    savedBypass_ = bypass_;
    bypass_ = true;
    writeBandField(&BandFields::Gain, kFlatGainCode);
  } else {
    bypass_ = savedBypass_;
    writeBandField(&BandFields::Gain, GainCode());
  }
  Recompute(false);
}

double CFilter::GainDb() const {
  if (IsFlat()) return 0;
  if (target_ == Target::Band) return gainFromCode(bandRecord().Gain);
  return gain_;
}

int CFilter::GainCode() const {
  if (IsFlat()) return kFlatGainCode;
  return static_cast<int>((gain_ + kGainCodeOffsetDb) * 100 / (kGainStep * 100) + 0.5);
}

double CFilter::BandwidthOct() {
  if (target_ == Target::Band) bandwidth_ = bandwidthFromCode(bandRecord().Q);
  return bandwidth_;
}

// The +0.05 (not +0.5) is the device's own rounding of bandwidths.
int CFilter::BandwidthCode() const {
  return static_cast<int>((bandwidth_ - kBandwidthBase) / kBandwidthStep + 0.05);
}

int CFilter::CurrentFrequency() const {
  if (target_ == Target::Band) return bandRecord().FQCY;
  if (target_ == Target::Crossover) {
    const CrossoverPair pair = crossoverRecord();
    if (kind_ == FilterKind::HighPass) return pair.XFQCY_Lo;
    if (kind_ == FilterKind::LowPass) return pair.XFQCY_Hi;
  }
  return frequency_;
}

void CFilter::setFrequencyBounds(int lower, int upper) {
  lowerBound_ = lower;
  upperBound_ = upper;
}

// --- response -------------------------------------------------------------------

void CFilter::Recompute(bool reloadGain) {
  if (target_ == Target::Band) {
    const EqBand record = bandRecord();
    frequency_ = record.FQCY;
    bandwidth_ = bandwidthFromCode(record.Q);
    slope_ = record.Slope;
    if (reloadGain) applyGainCode(record.Gain);
  } else if (target_ == Target::Crossover) {
    takeCrossoverHalf(crossoverRecord());
  }
  design().evaluate(response_);
}

// A band kind bound to the crossover pair, a crossover kind bound to a band,
// and a kind from a damaged `Type` byte have no design: the element is flat.
Cascade CFilter::design() const {
  const bool band = target_ != Target::Crossover;
  const bool crossover = target_ != Target::Band;
  switch (kind_) {
    case FilterKind::Peaking:
      if (!band || IsFlat()) break;
      return FilterDesign::peaking(frequency_, gain_, bandwidth_);
    case FilterKind::LowShelf:
      if (!band || IsFlat()) break;
      return FilterDesign::lowShelf(frequency_, slope_, gain_);
    case FilterKind::HighShelf:
      if (!band || IsFlat()) break;
      return FilterDesign::highShelf(frequency_, slope_, gain_);
    case FilterKind::HighPass:
      if (!crossover || frequency_ == kHighPassOffHz) break;
      return FilterDesign::highPass(frequency_, family_, slope_);
    case FilterKind::LowPass:
      if (!crossover || frequency_ == kLowPassOffHz) break;
      return FilterDesign::lowPass(frequency_, family_, slope_);
  }
  return Cascade();
}

void CFilter::CopyFrom(const CFilter& other) {
  if (&other == this) return;
  kind_ = other.kind_;
  gain_ = other.gain_;
  bandwidth_ = other.bandwidth_;
  bandOff_ = other.bandOff_;
  bypass_ = other.bypass_;
  family_ = other.family_;
  slope_ = other.slope_;
  frequency_ = other.frequency_;
  if (target_ == Target::Band && other.target_ == Target::Band) {
    image_->setBand(side_, channel_, band_, other.bandRecord());
  } else if (target_ == Target::Crossover && other.target_ == Target::Crossover) {
    image_->setCrossover(side_, channel_, other.crossoverRecord());
  }
  Recompute(false);
}

// --- texts ----------------------------------------------------------------------

std::string CFilter::FrequencyText() const {
  return format("%dHz", frequency_);
}

std::string CFilter::GainText() const {
  return gainNumberText() + "dB";
}

std::string CFilter::gainNumberText() const {
  return IsFlat() ? std::string("0.0") : format("%0.1f", gain_);
}

std::string CFilter::BandwidthText() const {
  return format("%0.2foct", bandwidth_);
}

std::string CFilter::KindText() const {
  return std::string(Choices::kBandType.reportedText(static_cast<int>(kind_)));
}

std::string CFilter::ShelfSlopeText() const {
  return std::string(Choices::kShelfSlope.reportedText(slope_));
}

std::string CFilter::CrossoverSlopeText() const {
  return std::string(Choices::kCrossoverSlope.reportedText(slope_));
}

std::string CFilter::FamilyText() const {
  return std::string(Choices::kCrossoverFamily.reportedText(family_));
}

std::string CFilter::LabelText() const {
  const std::string title = format("EQ%d\n", bandNumber_);
  switch (kind_) {
    case FilterKind::Peaking:
      return title + format("PEQ  %dHz %.2fOct ", frequency_, bandwidth_) + gainNumberText() + "dB";
    case FilterKind::LowShelf:
    case FilterKind::HighShelf: {
      const char* side = kind_ == FilterKind::LowShelf ? "Lo " : "Hi ";
      return title + side + format("%dHz ", frequency_) + ShelfSlopeText() + " " + gainNumberText() + "dB";
    }
    case FilterKind::HighPass:
    case FilterKind::LowPass:
      return format("%dHz ", frequency_);
  }
  return std::string();
}

}  // namespace orvane
