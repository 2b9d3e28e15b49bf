#pragma once

// State the editor keeps about the image without ever sending it: which page
// and channels are selected, the link groups, the memos that bring back a
// master level or a crosspoint level, the shared class levels and which
// channels show their curve on the graph.

#include <array>
#include <cstdint>

#include "model/BlockLayout.h"

namespace orvane {

enum class Page : std::uint8_t { Matrix = 0, Input = 1, Output = 2 };

struct EditorState {
  static constexpr int kMemoLevel = 120;  // 0 dB mix level; master level -48 dB
  // A master level memo of 0: the level to restore is not known, and an
  // unmute is refused. Only a program without a window leaves a memo so
  // (MasterSectionMemory); the editor's window always has a level.
  static constexpr int kUnknownLevel = 0;

  Page selectedPage = Page::Matrix;  // the main window selects input 0 when it starts
  int selectedInput = 0;
  int selectedOutput = 0;
  std::array<int, kChannels> inputLinkGroups{0, 1, 2, 3, 4, 5, 6, 7};
  std::array<int, kChannels> outputLinkGroups{0, 1, 2, 3, 4, 5, 6, 7};
  int inputMasterMemo = kMemoLevel;
  int outputMasterMemo = kMemoLevel;
  // [input][output]: the mix level a crosspoint gets when switched on again.
  std::array<std::array<std::uint8_t, kChannels>, kChannels> crosspointMemo{};
  // Indexed by class 0, 1, 2.
  std::array<std::uint8_t, 3> classLevels{0, 40, 80};
  std::array<bool, kChannels> inputCurveVisible{};
  std::array<bool, kChannels> outputCurveVisible{};

  EditorState() { resetChannelState(); }

  // Memos, link groups and class levels back to their defaults; the
  // selection and curve flags are kept.
  void resetChannelState() {
    for (auto& row : crosspointMemo) row.fill(kMemoLevel);
    for (int n = 0; n < kChannels; ++n) {
      inputLinkGroups[static_cast<std::size_t>(n)] = n;
      outputLinkGroups[static_cast<std::size_t>(n)] = n;
    }
    inputMasterMemo = kMemoLevel;
    outputMasterMemo = kMemoLevel;
    classLevels = {0, 40, 80};
  }

  // A master level of 0 (master mute) is never remembered.
  static int memoFor(int masterLevel) { return masterLevel != 0 ? masterLevel : kMemoLevel; }
};

}  // namespace orvane
