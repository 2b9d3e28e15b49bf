#include "link/MasterSection.h"

namespace orvane {

MasterSection::MasterSection(ParameterImage& image, Command& command) : image_(image), command_(command) {}

int MasterSection::level(Side side) const {
  return levelOf(image_, side);
}

void MasterSection::setLevel(Side side, int level) {
  storeLevel(image_, side, level);
}

int MasterSection::toggleMute(Side side) {
  // The window's memos always hold a level.
  return storeMute(image_, side, !isMuted(side)).value_or(0);
}

bool MasterSection::antiFeedback() const {
  return antiFeedbackOf(image_);
}

void MasterSection::setAntiFeedback(bool on) {
  std::lock_guard lock(command_.protocolLock());
  storeAntiFeedback(image_, on);
}

int MasterSection::levelOf(const ParameterImage& image, Side side) {
  return image.field(side, 0, CommonField::Allvolume);
}

void MasterSection::storeLevel(ParameterImage& image, Side side, int level) {
  image.setFieldOnAllChannels(side, CommonField::Allvolume, level);
  image.modify([&](ImageData& d) {
    int& memo = side == Side::Input ? d.editor.inputMasterMemo : d.editor.outputMasterMemo;
    memo = EditorState::memoFor(level);
  });
}

std::optional<int> MasterSection::storeMute(ParameterImage& image, Side side, bool muted) {
  const int restored = image.read([&](const ImageData& d) {
    return side == Side::Input ? d.editor.inputMasterMemo : d.editor.outputMasterMemo;
  });
  const int current = levelOf(image, side);
  if (!muted && current == 0 && restored == EditorState::kUnknownLevel) return std::nullopt;
  const int next = muted ? 0 : current == 0 ? restored : current;
  image.setFieldOnAllChannels(side, CommonField::Allvolume, next);
  return next;
}

bool MasterSection::antiFeedbackOf(const ParameterImage& image) {
  return image.field(Side::Input, 0, InputField::All_Feedback) != 0;
}

// The device copy of inputs 1..7 takes the switch at once, so a single row
// (input 0, row 2) carries it.
void MasterSection::storeAntiFeedback(ParameterImage& image, bool on) {
  image.setFieldOnAllChannels(Side::Input, InputField::All_Feedback, on ? 1 : 0);
  for (int n = 1; n < kChannels; ++n)
    image.setField(Side::Input, n, InputField::All_Feedback, on ? 1 : 0, Copy::Device);
}

}  // namespace orvane
