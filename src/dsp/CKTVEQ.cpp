#include "dsp/CKTVEQ.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "model/LockState.h"
#include "model/ParameterImage.h"

namespace orvane {

namespace {

// The graph spans +40 dB at the top to -80 dB at the bottom, with a 10-pixel
// margin above the plot.
constexpr double kTopDb = 40;
constexpr double kRangeDb = 120;
constexpr double kTopMargin = 10;

struct SideLocks {
  int eq, crossover;
};

SideLocks locksOf(Side side) {
  if (side == Side::Input) return {LockFlag::InputEq, LockFlag::InputCrossover};
  return {LockFlag::OutputEq, LockFlag::OutputCrossover};
}

}  // namespace

void CKTVEQ::BuildInput(ParameterImage& image, int channel) {
  build(image, Side::Input, channel);
}

void CKTVEQ::BuildOutput(ParameterImage& image, int channel) {
  build(image, Side::Output, channel);
}

void CKTVEQ::build(ParameterImage& image, Side side, int channel) {
  colour_ = ChannelColour::of(side, channel);  // checks the channel number
  image_ = &image;
  side_ = side;
  channel_ = channel;
  const int bands = orvane::bandCount(side);
  elementCount_ = bands + 2;
  for (int n = 0; n < bands; ++n) {
    CFilter& band = element(n);
    band = CFilter();
    band.setBandNumber(n + 1);
    band.BindBand(image, side, channel, n);
  }
  for (FilterKind kind : {FilterKind::HighPass, FilterKind::LowPass}) {
    CFilter& filter = element(kind == FilterKind::HighPass ? bands : bands + 1);
    filter = CFilter();
    filter.SetKind(kind);
    filter.BindCrossover(image, side, channel);
  }
}

void CKTVEQ::Rebind() {
  if (!isBuilt()) return;
  for (int i = 0; i < elementCount_; ++i) {
    if (isBandIndex(i)) {
      element(i).BindBand(*image_, side_, channel_, i);
    } else {
      element(i).BindCrossover(*image_, side_, channel_);
    }
  }
}

void CKTVEQ::SetAllBypass(bool on) {
  for (int i = 0; i < bandCount(); ++i) element(i).SetBypass(on);
}

bool CKTVEQ::AllBandsFlat() const {
  for (int i = 0; i < bandCount(); ++i) {
    if (!element(i).IsFlat()) return false;
  }
  return true;
}

void CKTVEQ::CopyFrom(const CKTVEQ& other) {
  if (&other == this || !isBuilt() || !other.isBuilt()) return;
  const int bands = std::min(bandCount(), other.bandCount());
  for (int i = 0; i < bands; ++i) element(i).CopyFrom(other.element(i));
  highPass().CopyFrom(other.highPass());
  lowPass().CopyFrom(other.lowPass());
}

std::pair<bool, bool> CKTVEQ::lockedParts() const {
  if (!image_) return {false, false};
  const SideLocks flags = locksOf(side_);
  return image_->read([&](const ImageData& data) {
    return std::pair(data.locks.isLocked(flags.eq), data.locks.isLocked(flags.crossover));
  });
}

void CKTVEQ::SumCurve(int plotHeight) {
  plotHeight_ = plotHeight;
  const auto [eqLocked, crossoverLocked] = lockedParts();
  sumDb_.fill(0);
  for (int i = 0; i < elementCount_; ++i) {
    if (isBandIndex(i) ? eqLocked : crossoverLocked) continue;
    const CFilter::Response& response = element(i).response();
    for (std::size_t p = 0; p < kGridPoints; ++p) sumDb_[p] += response[p];
  }
  const double scale = plotHeight / kRangeDb;
  for (std::size_t p = 0; p < kGridPoints; ++p)
    curveY_[p] = static_cast<float>(scale * (kTopDb - sumDb_[p]) + kTopMargin);
}

std::size_t CKTVEQ::checkedIndex(int index) const {
  if (index < 0 || index >= elementCount_) throw std::out_of_range("filter element index");
  return static_cast<std::size_t>(index);
}

// The high-pass and low-pass sit at fixed places, after the bands.
std::size_t CKTVEQ::crossoverIndex(FilterKind kind) const {
  if (!isBuilt()) throw std::logic_error("filter set not built");
  const std::size_t index = checkedIndex(elementCount_ - (kind == FilterKind::HighPass ? 2 : 1));
  if (elements_[index].kind() != kind) throw std::logic_error("crossover element of the wrong kind");
  return index;
}

CFilter& CKTVEQ::element(int index) {
  return elements_[checkedIndex(index)];
}

const CFilter& CKTVEQ::element(int index) const {
  return elements_[checkedIndex(index)];
}

CFilter& CKTVEQ::highPass() {
  return elements_[crossoverIndex(FilterKind::HighPass)];
}

const CFilter& CKTVEQ::highPass() const {
  return elements_[crossoverIndex(FilterKind::HighPass)];
}

CFilter& CKTVEQ::lowPass() {
  return elements_[crossoverIndex(FilterKind::LowPass)];
}

const CFilter& CKTVEQ::lowPass() const {
  return elements_[crossoverIndex(FilterKind::LowPass)];
}

}  // namespace orvane
