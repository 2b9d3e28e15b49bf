#include "ui/pages/ChannelEdit.h"

#include "dsp/ChannelFilters.h"
#include "link/LinkGroups.h"
#include "model/ParameterImage.h"

namespace orvane::ui {

ChannelEdit::ChannelEdit(ParameterImage& image, ChannelFilters& filters, LinkGroups& links, Side side)
    : image_(image), filters_(filters), links_(links), side_(side) {}

int ChannelEdit::value(Field field) const {
  return image_.field(side_, channel_, field);
}

void ChannelEdit::writeOwn(Field field, int code) {
  image_.setField(side_, channel_, field, code);
}

std::vector<int> ChannelEdit::write(Field field, int code) {
  writeOwn(field, code);
  return follow({field});
}

std::vector<int> ChannelEdit::follow(std::span<const Field> fields) {
  return links_.follow(side_, channel_, fields);
}

std::vector<int> ChannelEdit::follow(std::initializer_list<Field> fields) {
  return follow(std::span<const Field>(fields.begin(), fields.size()));
}

std::vector<int> ChannelEdit::linked() const {
  return links_.othersInGroup(side_, channel_);
}

CKTVEQ& ChannelEdit::filters() const {
  return filters_.channel(side_, channel_);
}

CKTVEQ& ChannelEdit::filtersOf(int channel) const {
  return filters_.channel(side_, channel);
}

}  // namespace orvane::ui
