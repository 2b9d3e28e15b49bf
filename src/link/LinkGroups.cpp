#include "link/LinkGroups.h"

namespace orvane {

namespace {

constexpr int kInputGroupBase = 1;
constexpr int kOutputGroupBase = 81;

int groupBase(Side side) {
  return side == Side::Input ? kInputGroupBase : kOutputGroupBase;
}

std::array<int, kChannels>& groupTable(ImageData& d, Side side) {
  return side == Side::Input ? d.editor.inputLinkGroups : d.editor.outputLinkGroups;
}

const std::array<int, kChannels>& groupTable(const ImageData& d, Side side) {
  return side == Side::Input ? d.editor.inputLinkGroups : d.editor.outputLinkGroups;
}

}  // namespace

int LinkGroups::firstGroupByte(Side side) {
  return groupBase(side);
}

LinkGroups::LinkGroups(ParameterImage& image, Command& command) : image_(image), command_(command) {}

void LinkGroups::normalise() {
  image_.modify([](ImageData& d) {
    for (Side side : {Side::Input, Side::Output}) {
      const int base = groupBase(side);
      bool valid = true;
      for (int n = 0; n < kChannels; ++n) {
        const int byte = readField(d.edited.block(side, n), CommonField::LinkGroup);
        valid = valid && byte >= base && byte < base + kChannels;
      }
      for (int n = 0; n < kChannels; ++n) {
        auto block = d.edited.block(side, n);
        if (!valid) writeField(block, CommonField::LinkGroup, base + n);
        groupTable(d, side)[static_cast<std::size_t>(n)] = readField(block, CommonField::LinkGroup) - base;
      }
    }
  });
}

int LinkGroups::group(Side side, int channel) const {
  return image_.read(
      [&](const ImageData& d) { return groupTable(d, side).at(static_cast<std::size_t>(channel)); });
}

std::vector<int> LinkGroups::othersInGroup(Side side, int channel) const {
  return image_.read([&](const ImageData& d) {
    const auto& table = groupTable(d, side);
    std::vector<int> others;
    for (int n = 0; n < kChannels; ++n)
      if (n != channel && table[static_cast<std::size_t>(n)] == table.at(static_cast<std::size_t>(channel)))
        others.push_back(n);
    return others;
  });
}

int LinkGroups::join(Side side, int group, int channel) {
  if (group < 0 || group >= kChannels || this->group(side, channel) == group) return 0;
  image_.modify([&](ImageData& d) { groupTable(d, side).at(static_cast<std::size_t>(channel)) = group; });
  int copied = 0;
  bool queued = false;
  {
    std::lock_guard lock(command_.protocolLock());
    image_.setField(side, channel, CommonField::LinkGroup, group + groupBase(side));
    for (int member : othersInGroup(side, channel)) {
      if (side == Side::Input) {
        image_.copyInputChannel(member, channel);
        queued = command_.SendWholeInput(channel) || queued;
      } else {
        image_.copyOutputChannel(member, channel);
        queued = command_.SendWholeOutput(channel) || queued;
      }
      ++copied;
    }
  }
  if (queued) command_.WakeWorker();
  return copied;
}

std::vector<int> LinkGroups::follow(Side side, int channel, std::span<const Field> fields) {
  const std::vector<int> others = othersInGroup(side, channel);
  for (const Field& f : fields) {
    const int value = image_.field(side, channel, f);
    for (int member : others) image_.setField(side, member, f, value);
  }
  return others;
}

}  // namespace orvane
