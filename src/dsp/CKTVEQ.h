#pragma once

// The filter model of one channel: its EQ bands (8 for an input, 9 for an
// output, numbered 1..N), then its high-pass, then its low-pass, all bound to
// the channel's block in the edited image. It sums the elements into the
// channel's curve for the EQ graph.

#include <array>
#include <utility>

#include "dsp/CFilter.h"
#include "dsp/ChannelColour.h"

namespace orvane {

class ParameterImage;

class CKTVEQ {
 public:
  static constexpr int kMaxElements = 11;  // 9 output bands, high-pass, low-pass
  using Curve = std::array<float, kGridPoints>;
  using SumDb = std::array<double, kGridPoints>;

  // An empty set: no elements until built.
  CKTVEQ() = default;

  // Binds a fresh set to input or output `channel` (0..7) of `image`.
  void BuildInput(ParameterImage& image, int channel);
  void BuildOutput(ParameterImage& image, int channel);
  // Reloads every element from its record after the block was rewritten
  // wholesale (recall, file load, restore from the device, reset).
  void Rebind();
  void SetAllBypass(bool on);
  bool AllBandsFlat() const;
  // Takes every element's state and record from the element in the same
  // role of `other` (band n from band n, high-pass from high-pass,
  // low-pass from low-pass), for a copy between channels.
  void CopyFrom(const CKTVEQ& other);
  // Sums the element responses into the channel curve for a plot
  // `plotHeight` pixels high. Bands are left out while the side's EQ lock is
  // set, the crossover filters while its crossover lock is set. Allocates
  // nothing.
  void SumCurve(int plotHeight);

  bool isBuilt() const { return image_ != nullptr; }
  Side side() const { return side_; }
  int channel() const { return channel_; }
  int elementCount() const { return elementCount_; }
  int bandCount() const { return elementCount_ > 2 ? elementCount_ - 2 : 0; }
  CFilter& element(int index);
  const CFilter& element(int index) const;
  // The second-to-last and the last element; throws std::logic_error when
  // the set is not built or the element is not of that kind.
  CFilter& highPass();
  const CFilter& highPass() const;
  CFilter& lowPass();
  const CFilter& lowPass() const;

  ChannelColour colour() const { return colour_; }
  int plotHeight() const { return plotHeight_; }
  // Curve point positions: x belongs to the graph's layout (0 until it sets
  // them), y comes from SumCurve.
  Curve& curveX() { return curveX_; }
  const Curve& curveX() const { return curveX_; }
  const Curve& curveY() const { return curveY_; }
  // The summed response in dB behind curveY.
  const SumDb& sumDb() const { return sumDb_; }

 private:
  void build(ParameterImage& image, Side side, int channel);
  // Whether the side's EQ lock and crossover lock are set.
  std::pair<bool, bool> lockedParts() const;
  std::size_t checkedIndex(int index) const;
  std::size_t crossoverIndex(FilterKind kind) const;
  bool isBandIndex(int index) const { return index < bandCount(); }

  ParameterImage* image_ = nullptr;
  Side side_ = Side::Input;
  int channel_ = 0;
  int elementCount_ = 0;
  std::array<CFilter, kMaxElements> elements_{};
  ChannelColour colour_{};
  int plotHeight_ = 0;
  Curve curveX_{};
  Curve curveY_{};
  SumDb sumDb_{};
};

}  // namespace orvane
