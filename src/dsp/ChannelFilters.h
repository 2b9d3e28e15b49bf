#pragma once

// The filter models of all sixteen channels of one parameter image, kept in
// step with it. The image may be rewritten wholesale from any thread (a
// transport restoring the device's data, a reset when the link is lost), so
// a reload only marks the channel out of date; the owner thread (the user
// interface, the one that builds this) reloads it when it next asks for it.
//
// A copy between channels (a link-group join) is taken as the source is at
// that moment. Made on the owner thread, it is applied at once, so the
// destination also gets what the record cannot hold (a switched-off band's
// gain, the bypass). Made on another thread, it cannot touch the owner's
// models: the destination is reloaded from its own records, which the image
// copy already filled.

#include <array>
#include <atomic>
#include <memory>
#include <thread>

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

  // Any thread.
  void channelReloaded(Side side, int channel) override;
  void channelCopied(Side side, int source, int destination) override;

 private:
  struct Sets {
    std::array<CKTVEQ, kChannels> inputs;
    std::array<CKTVEQ, kChannels> outputs;
  };

  static std::size_t slot(Side side, int channel);
  CKTVEQ& set(Side side, int channel);
  void bringUpToDate(Side side, int channel);

  ParameterImage& image_;
  const std::thread::id owner_;
  std::unique_ptr<Sets> sets_;
  std::array<std::atomic<bool>, 2 * kChannels> stale_;
};

}  // namespace orvane
