#pragma once

// Edits of the kinds a user makes all the time, drawn from a seeded
// generator so that a run that failed can be made again: gains, EQ bands,
// channel names, crosspoints of the matrix and mutes, of random channels.
// Every value lies within its field's range, as the editor's pages keep it.

#include <cstdint>
#include <random>

#include "model/ParameterImage.h"

namespace orvane {

class RandomEdits {
 public:
  explicit RandomEdits(std::uint32_t seed) : engine_(seed) {}

  // Makes one edit in the edited image.
  void makeOne(ParameterImage& image);
  // A pause between two edits: mostly none (a fader being dragged), now and
  // then a few milliseconds.
  std::chrono::milliseconds pause();
  int made() const { return made_; }

 private:
  int pick(int lowest, int highest);
  Side side();
  int channel() { return pick(0, kChannels - 1); }
  void rename(ParameterImage& image);

  std::mt19937 engine_;
  int made_ = 0;
};

}  // namespace orvane
