#include "link/MasterSectionMemory.h"

#include "link/MasterSection.h"

namespace orvane {

void MasterSectionMemory::remember(Side side, int level) {
  if (level != 0) levels_[index(side)] = level;
}

void MasterSectionMemory::learn(const ParameterImage& image) {
  for (Side side : {Side::Input, Side::Output}) remember(side, MasterSection::levelOf(image, side));
}

void MasterSectionMemory::prime(ParameterImage& image) {
  learn(image);
  image.modify([&](ImageData& d) {
    d.editor.inputMasterMemo = level(Side::Input).value_or(EditorState::kUnknownLevel);
    d.editor.outputMasterMemo = level(Side::Output).value_or(EditorState::kUnknownLevel);
  });
}

}  // namespace orvane
