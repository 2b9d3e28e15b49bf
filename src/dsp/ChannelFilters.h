#pragma once

// The filter models of all sixteen channels of one parameter image, kept in
// step with it. The image may be rewritten wholesale from any thread (a
// transport restoring the device's data, a reset when the link is lost), so
// the image's notifications only record which channels are out of date; the
// owner thread (the user interface) brings a channel up to date when it next
// asks for it.

#include <array>
#include <atomic>
#include <memory>

#include "dsp/CKTVEQ.h"
#include "model/ImageListener.h"

namespace orvane {

class ParameterImage;

class ChannelFilters final : public ImageListener {
 public:
  // Builds the sets from `image` and becomes its listener. Destroy it only
  // after every thread that may change the image has stopped.
  explicit ChannelFilters(ParameterImage& image);
  ~ChannelFilters() override;
  ChannelFilters(const ChannelFilters&) = delete;
  ChannelFilters& operator=(const ChannelFilters&) = delete;

  // The set of a channel (0..7), brought up to date first. Owner thread only.
  CKTVEQ& input(int channel) { return this->channel(Side::Input, channel); }
  CKTVEQ& output(int channel) { return this->channel(Side::Output, channel); }
  CKTVEQ& channel(Side side, int channel);

  // Any thread; they only record the pending work.
  void channelReloaded(Side side, int channel) override;
  void channelCopied(Side side, int source, int destination) override;

 private:
  // What a channel's set still has to do: nothing, reload from its block,
  // or copy the set of the channel with this number (0..7).
  static constexpr int kUpToDate = -1;
  static constexpr int kReload = kChannels;

  struct Sets {
    std::array<CKTVEQ, kChannels> inputs;
    std::array<CKTVEQ, kChannels> outputs;
  };

  static std::size_t slot(Side side, int channel);
  CKTVEQ& set(Side side, int channel);
  void bringUpToDate(Side side, int channel);

  ParameterImage& image_;
  std::unique_ptr<Sets> sets_;
  std::array<std::atomic<int>, 2 * kChannels> pending_;
};

}  // namespace orvane
