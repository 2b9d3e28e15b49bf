#pragma once

// Link groups make several inputs (or several outputs) edit as one: a channel
// that joins a group takes over the group's processing parameters, and every
// later change of a following field on one member is copied to the others.

#include <span>
#include <vector>

#include "link/Command.h"

namespace orvane {

class LinkGroups {
 public:
  LinkGroups(ParameterImage& image, Command& command);

  // Rebuilds the group tables from the `LinkGroup` bytes; a side with a
  // byte outside its groups is put back to each channel its own group.
  void normalise();
  int group(Side side, int channel) const;
  // Channel `channel` joins group `group`: it takes the parameters of every
  // other member in turn (so the highest-numbered one wins) and, with a link
  // open, its whole block is queued once per member. Returns how many
  // members it copied from; 0 when it was in the group already or the group
  // had no other member.
  int join(Side side, int group, int channel);
  // Copies `fields` of `channel` to the other members of its group; returns
  // the members changed.
  std::vector<int> follow(Side side, int channel, std::span<const Field> fields);
  // The other members of `channel`'s group.
  std::vector<int> othersInGroup(Side side, int channel) const;
  // The `LinkGroup` byte of group 0: 1 on inputs, 81 on outputs.
  static int firstGroupByte(Side side);

 private:
  ParameterImage& image_;
  Command& command_;
};

}  // namespace orvane
