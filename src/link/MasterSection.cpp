#include "link/MasterSection.h"

namespace orvane {

MasterSection::MasterSection(ParameterImage& image, Command& command) : image_(image), command_(command) {}

int MasterSection::level(Side side) const {
  return image_.field(side, 0, CommonField::Allvolume);
}

void MasterSection::setLevel(Side side, int level) {
  image_.setFieldOnAllChannels(side, CommonField::Allvolume, level);
  image_.modify([&](ImageData& d) {
    int& memo = side == Side::Input ? d.editor.inputMasterMemo : d.editor.outputMasterMemo;
    memo = EditorState::memoFor(level);
  });
}

int MasterSection::toggleMute(Side side) {
  const int restored = image_.read([&](const ImageData& d) {
    return side == Side::Input ? d.editor.inputMasterMemo : d.editor.outputMasterMemo;
  });
  const int next = isMuted(side) ? restored : 0;
  image_.setFieldOnAllChannels(side, CommonField::Allvolume, next);
  return next;
}

bool MasterSection::antiFeedback() const {
  return image_.field(Side::Input, 0, InputField::All_Feedback) != 0;
}

void MasterSection::setAntiFeedback(bool on) {
  std::lock_guard lock(command_.protocolLock());
  image_.setFieldOnAllChannels(Side::Input, InputField::All_Feedback, on ? 1 : 0);
  for (int n = 1; n < kChannels; ++n)
    image_.setField(Side::Input, n, InputField::All_Feedback, on ? 1 : 0, Copy::Device);
}

}  // namespace orvane
