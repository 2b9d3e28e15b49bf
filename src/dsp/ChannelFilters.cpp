#include "dsp/ChannelFilters.h"

#include <stdexcept>

#include "model/ParameterImage.h"

namespace orvane {

namespace {

bool isChannel(int channel) {
  return channel >= 0 && channel < kChannels;
}

}  // namespace

ChannelFilters::ChannelFilters(ParameterImage& image)
    : image_(image), owner_(std::this_thread::get_id()), sets_(std::make_unique<Sets>()) {
  for (auto& stale : stale_) stale.store(false, std::memory_order_relaxed);
  // Listening before building: a change that lands while the sets are built
  // is applied again on first use rather than lost.
  image_.setListener(this);
  for (int n = 0; n < kChannels; ++n) {
    sets_->inputs[static_cast<std::size_t>(n)].BuildInput(image_, n);
    sets_->outputs[static_cast<std::size_t>(n)].BuildOutput(image_, n);
  }
}

ChannelFilters::~ChannelFilters() {
  image_.setListener(nullptr);
}

std::size_t ChannelFilters::slot(Side side, int channel) {
  return static_cast<std::size_t>((side == Side::Input ? 0 : kChannels) + channel);
}

CKTVEQ& ChannelFilters::set(Side side, int channel) {
  auto& sets = side == Side::Input ? sets_->inputs : sets_->outputs;
  return sets[static_cast<std::size_t>(channel)];
}

CKTVEQ& ChannelFilters::channel(Side side, int channel) {
  if (!isChannel(channel)) throw std::out_of_range("channel number");
  bringUpToDate(side, channel);
  return set(side, channel);
}

void ChannelFilters::channelReloaded(Side side, int channel) {
  if (isChannel(channel)) stale_[slot(side, channel)].store(true, std::memory_order_release);
}

void ChannelFilters::channelCopied(Side side, int source, int destination) {
  if (!isChannel(source) || !isChannel(destination)) return;
  if (source == destination || std::this_thread::get_id() != owner_) {
    channelReloaded(side, destination);
    return;
  }
  bringUpToDate(side, source);
  // The copy replaces whatever reload the destination still had pending.
  stale_[slot(side, destination)].store(false, std::memory_order_relaxed);
  set(side, destination).CopyFrom(set(side, source));
}

void ChannelFilters::bringUpToDate(Side side, int channel) {
  if (stale_[slot(side, channel)].exchange(false, std::memory_order_acq_rel)) set(side, channel).Rebind();
}

}  // namespace orvane
