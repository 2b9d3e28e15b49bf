#pragma once

// One element of a channel's filter model: an EQ band (peaking, low shelf or
// high shelf), the channel's high-pass or its low-pass. The element is bound
// to its record in the parameter image (an EQ band, or the crossover pair)
// and reads and writes it only through the image's API, because the image is
// shared with the communication worker and the transport threads. It keeps
// the values the record cannot hold (the gain of a band that is switched off
// or bypassed) and the band's response on the frequency grid.

#include <array>
#include <string>

#include "dsp/Cascade.h"
#include "dsp/FilterKind.h"
#include "dsp/FreqGrid.h"
#include "model/BlockLayout.h"
#include "model/ChannelRecords.h"

namespace orvane {

class ParameterImage;

class CFilter {
 public:
  static constexpr int kFlatGainCode = 400;      // 0 dB: what the device gets for a flat band
  static constexpr int kHighPassOffHz = 20;      // a high-pass at exactly 20 Hz is off
  static constexpr int kLowPassOffHz = 20000;    // a low-pass at exactly 20 kHz is off
  static constexpr int kShelfBoundaryHz = 2000;  // low shelves stay at or below, high shelves at or above

  using Response = std::array<double, kGridPoints>;

  // A fresh element: peaking, switched off, 0 dB, 0.3 oct, 20000 Hz,
  // Butterworth 12 dB/oct, flat response, bound to nothing.
  CFilter() = default;

  // --- binding -------------------------------------------------------------
  // Attaches to EQ band `band` (0-based) of a channel and takes frequency,
  // bandwidth, gain, shelf slope and kind from it, then recomputes.
  void BindBand(ParameterImage& image, Side side, int channel, int band);
  // Attaches a high-pass or low-pass element (set its kind first) to the
  // channel's crossover pair, takes frequency, family and slope from its half
  // of the pair, then recomputes.
  void BindCrossover(ParameterImage& image, Side side, int channel);
  bool isBoundToBand() const { return target_ == Target::Band; }
  bool isBoundToCrossover() const { return target_ == Target::Crossover; }

  // --- element values ------------------------------------------------------
  int bandNumber() const { return bandNumber_; }
  void setBandNumber(int number) { bandNumber_ = number; }
  FilterKind kind() const { return kind_; }
  // A low shelf above 2000 Hz and a high shelf below it move to 2000 Hz; the
  // band record gets the new kind. Does not recompute.
  void SetKind(FilterKind kind);
  // 400 switches the band off (0 dB); any other code switches it on and
  // clears bypass. Written to the record; does not recompute.
  void SetGainCode(int code);
  // Written to the record; does not recompute.
  void SetBandwidthCode(int code);
  // A band's frequency, or the corner of the high-pass or low-pass, written
  // to the record; does not recompute.
  void SetFrequency(int hz);
  // The element's bandwidth only (bandwidth handle drags); the caller writes
  // `BandwidthCode` to the record.
  void SetBandwidthOct(double octaves) { bandwidth_ = octaves; }
  // Switching a band off sends 0 dB but keeps its gain for switching it on.
  void SetBandOff(bool off);
  void SetBypass(bool on);
  bool IsFlat() const { return bypass_ || bandOff_; }
  bool isBandOff() const { return bandOff_; }
  bool isBypassed() const { return bypass_; }

  // 0 when flat, else the record's gain.
  double GainDb() const;
  int GainCode() const;
  // The record's bandwidth, also taken into the element.
  double BandwidthOct();
  int BandwidthCode() const;
  int CurrentFrequency() const;
  int frequency() const { return frequency_; }
  double bandwidth() const { return bandwidth_; }
  int family() const { return family_; }
  int slope() const { return slope_; }
  int lowerBound() const { return lowerBound_; }
  int upperBound() const { return upperBound_; }
  void setFrequencyBounds(int lower, int upper);

  // --- response ------------------------------------------------------------
  // Brings frequency, bandwidth, slope and family up from the record (and
  // the gain too when `reloadGain`) and evaluates the response. Allocates
  // nothing, so it can run at mouse-move rate.
  void Recompute(bool reloadGain);
  const Response& response() const { return response_; }

  // Takes kind, gain, bandwidth, off and bypass state, family and slope of
  // `other`, and copies its record into this element's record, then
  // recomputes without reloading the gain.
  void CopyFrom(const CFilter& other);

  // --- texts (UTF-8, in the current language) --------------------------------
  std::string FrequencyText() const;
  std::string GainText() const;
  std::string BandwidthText() const;
  std::string KindText() const;
  std::string ShelfSlopeText() const;
  std::string CrossoverSlopeText() const;
  std::string FamilyText() const;
  // The graph's label of the element: two lines for a band, one for the
  // high-pass and low-pass.
  std::string LabelText() const;

 private:
  enum class Target : std::uint8_t { None, Band, Crossover };

  EqBand bandRecord() const;
  CrossoverPair crossoverRecord() const;
  void writeBandField(Field BandFields::*field, int value);
  void applyGainCode(int code);
  void takeCrossoverHalf(const CrossoverPair& pair);
  Cascade design() const;
  std::string gainNumberText() const;

  FilterKind kind_ = FilterKind::Peaking;
  int bandNumber_ = 0;
  Target target_ = Target::None;
  ParameterImage* image_ = nullptr;
  Side side_ = Side::Input;
  int channel_ = 0;
  int band_ = 0;

  int frequency_ = 20000;
  int lowerBound_ = 20;
  int upperBound_ = 20000;
  double gain_ = 0;
  double bandwidth_ = 0.3;
  int family_ = 2;
  int slope_ = 0;
  bool bandOff_ = true;
  bool bypass_ = false;
  bool savedBypass_ = false;
  Response response_{};
};

}  // namespace orvane
