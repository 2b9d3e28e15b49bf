#pragma once

// What a channel page edits: one channel of one side in the edited image,
// its filter model, and the other channels of its link group, which follow
// every change the page copies to them.

#include <initializer_list>
#include <span>
#include <vector>

#include "model/BlockLayout.h"

namespace orvane {
class CKTVEQ;
class ChannelFilters;
class LinkGroups;
class ParameterImage;
}  // namespace orvane

namespace orvane::ui {

class ChannelEdit {
 public:
  ChannelEdit(ParameterImage& image, ChannelFilters& filters, LinkGroups& links, Side side);

  Side side() const { return side_; }
  int channel() const { return channel_; }
  void setChannel(int channel) { channel_ = channel; }
  ParameterImage& image() const { return image_; }

  int value(Field field) const;
  // Stores `code` in the edited channel only.
  void writeOwn(Field field, int code);
  // Stores `code` in the edited channel and copies it to the linked ones;
  // returns those.
  std::vector<int> write(Field field, int code);
  // Copies `fields` of the edited channel to the linked channels.
  std::vector<int> follow(std::span<const Field> fields);
  std::vector<int> follow(std::initializer_list<Field> fields);
  // The other channels of the edited channel's link group.
  std::vector<int> linked() const;

  CKTVEQ& filters() const;
  CKTVEQ& filtersOf(int channel) const;

 private:
  ParameterImage& image_;
  ChannelFilters& filters_;
  LinkGroups& links_;
  Side side_;
  int channel_ = 0;
};

}  // namespace orvane::ui
