#include "dsp/ChannelFilters.h"

#include <stdexcept>

#include "model/ParameterImage.h"

namespace orvane {

namespace {

bool isChannel(int channel) {
  return channel >= 0 && channel < kChannels;
}

}  // namespace

ChannelFilters::ChannelFilters(ParameterImage& image) : image_(image), sets_(std::make_unique<Sets>()) {
  for (auto& p : pending_) p.store(kUpToDate, std::memory_order_relaxed);
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
  if (isChannel(channel)) pending_[slot(side, channel)].store(kReload, std::memory_order_release);
}

// A copy keeps what the record cannot hold (a switched-off band's gain, the
// bypass state), so it is applied as a copy of the models, not as a reload.
void ChannelFilters::channelCopied(Side side, int source, int destination) {
  if (!isChannel(source) || !isChannel(destination)) return;
  const int work = source == destination ? kReload : source;
  pending_[slot(side, destination)].store(work, std::memory_order_release);
}

// Each step takes its channel's pending work before following a copy to its
// source, so even copies in a circle end after at most eight steps.
void ChannelFilters::bringUpToDate(Side side, int channel) {
  const int work = pending_[slot(side, channel)].exchange(kUpToDate, std::memory_order_acq_rel);
  if (work == kUpToDate) return;
  if (work == kReload) {
    set(side, channel).Rebind();
    return;
  }
  bringUpToDate(side, work);
  set(side, channel).CopyFrom(set(side, work));
}

}  // namespace orvane
