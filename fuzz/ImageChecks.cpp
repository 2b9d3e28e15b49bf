#include "ImageChecks.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "model/ParameterImage.h"

namespace orvane::fuzz {

namespace {

constexpr int kLastProgram = 30;
constexpr std::uint8_t kTopClassLevel = 80;

template <class Range>
void append(std::vector<std::uint8_t>& out, const Range& bytes) {
  out.insert(out.end(), std::begin(bytes), std::end(bytes));
}

void appendNumber(std::vector<std::uint8_t>& out, long long value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendText(std::vector<std::uint8_t>& out, const std::string& text) {
  appendNumber(out, static_cast<long long>(text.size()));
  append(out, text);
}

bool isChannel(int n) {
  return n >= 0 && n < kChannels;
}

}  // namespace

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void checkImageInvariants(const ParameterImage& image) {
  image.read([](const ImageData& d) {
    require(d.system.startupProgram <= kLastProgram, "start-up program beyond the last program");
    require(d.currentProgramNumber >= 0 && d.currentProgramNumber <= kLastProgram,
            "current program number out of range");
    require(d.system.networkName.size() <= SystemAreas::kNetworkNameMax, "network name too long");
    for (std::size_t i = 0; i < d.connection.idTable.size(); ++i) {
      const std::uint8_t id = d.connection.idTable[i];
      require(id == 0 || id == i + 1, "ID table entry other than its own ID");
    }
    for (std::size_t f = 0; f < LockState::kFlagCount; ++f) {
      require(d.locks.bytes[f] <= 1, "lock flag other than 0 or 1");
      require(d.locks.deviceLock[f] <= 1, "device-lock flag other than 0 or 1");
    }
    require(d.locks.password.size() <= LockState::kPasswordLength, "password too long");
    const auto& levels = d.editor.classLevels;
    require(levels[2] == kTopClassLevel && levels[1] >= levels[0], "class levels out of order");
    for (const auto& memos : d.editor.crosspointMemo)
      for (std::uint8_t memo : memos) require(memo != 0, "crosspoint memo of 0");
    require(d.editor.inputMasterMemo != 0 && d.editor.outputMasterMemo != 0, "master memo of 0");
    require(isChannel(d.editor.selectedInput) && isChannel(d.editor.selectedOutput),
            "selection out of range");
    for (int n = 0; n < kChannels; ++n) {
      require(isChannel(d.editor.inputLinkGroups[static_cast<std::size_t>(n)]),
              "input link group out of range");
      require(isChannel(d.editor.outputLinkGroups[static_cast<std::size_t>(n)]),
              "output link group out of range");
    }
    return 0;
  });
}

std::vector<std::uint8_t> imagePicture(const ParameterImage& image) {
  return image.read([](const ImageData& d) {
    std::vector<std::uint8_t> out;
    for (const BlockSet* set : {&d.edited, &d.device}) {
      for (const auto& block : set->inputs) append(out, block);
      for (const auto& block : set->outputs) append(out, block);
    }
    for (const auto& record : d.programs) append(out, record);
    append(out, d.currentProgramName);
    appendNumber(out, d.currentProgramNumber);
    append(out, d.system.setup);
    append(out, d.system.extended);
    out.push_back(d.system.startupProgram);
    appendText(out, d.system.networkName);
    append(out, d.locks.bytes);
    append(out, d.locks.deviceLock);
    appendText(out, d.locks.password);
    for (const auto& memos : d.editor.crosspointMemo) append(out, memos);
    append(out, d.editor.classLevels);
    appendNumber(out, d.editor.inputMasterMemo);
    appendNumber(out, d.editor.outputMasterMemo);
    for (int n = 0; n < kChannels; ++n) {
      appendNumber(out, d.editor.inputLinkGroups[static_cast<std::size_t>(n)]);
      appendNumber(out, d.editor.outputLinkGroups[static_cast<std::size_t>(n)]);
    }
    append(out, d.connection.idTable);
    append(out, d.status.inputLevels);
    append(out, d.status.outputLevels);
    append(out, d.status.firmwareVersion);
    return out;
  });
}

}  // namespace orvane::fuzz
