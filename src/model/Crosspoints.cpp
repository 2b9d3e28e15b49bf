#include "model/Crosspoints.h"

namespace orvane::Crosspoints {

namespace {

std::size_t at(int channel) {
  return static_cast<std::size_t>(channel);
}

void checkChannels(int input, int output) {
  if (input < 0 || input >= kChannels || output < 0 || output >= kChannels)
    throw std::out_of_range("crosspoint");
}

}  // namespace

bool isOn(const ParameterImage& image, int input, int output) {
  return image.field(Side::Input, input, InputField::mix(output)) != 0;
}

void setOn(ParameterImage& image, int input, int output, bool on) {
  checkChannels(input, output);
  image.modify([&](ImageData& d) {
    const int level = on ? d.editor.crosspointMemo[at(input)][at(output)] : 0;
    writeField(d.edited.block(Side::Input, input), InputField::mix(output), level);
  });
}

bool toggle(ParameterImage& image, int input, int output) {
  const bool on = !isOn(image, input, output);
  setOn(image, input, output, on);
  return on;
}

void setLevel(ParameterImage& image, int input, int output, int level) {
  checkChannels(input, output);
  image.modify([&](ImageData& d) {
    writeField(d.edited.block(Side::Input, input), InputField::mix(output), level);
    d.editor.crosspointMemo[at(input)][at(output)] =
        static_cast<std::uint8_t>(level != 0 ? level : EditorState::kMemoLevel);
  });
}

}  // namespace orvane::Crosspoints
