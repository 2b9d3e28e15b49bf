// Undo and redo of one step that changed every EQ band of all eight inputs
// and all eight outputs, as a drag on a sixteen-channel link group leaves
// it: the time to put the rows back into the edited image, and to name the
// step.

#include <benchmark/benchmark.h>

#include "editor/EditHistory.h"

namespace orvane::editor {
namespace {

// Every EQ band of every channel 6 dB up, as one step named after what it
// changed.
void dragAllBands(ParameterImage& image, EditHistory& history) {
  history.record(
      [&] {
        for (Side side : {Side::Input, Side::Output})
          for (int channel = 0; channel < kChannels; ++channel)
            for (int band = 0; band < bandCount(side); ++band) {
              EqBand record = image.band(side, channel, band);
              record.Gain += 60;
              image.setBand(side, channel, band, record);
            }
      },
      [] { return StepName(); });
}

void BM_UndoRedoSixteenChannelStep(benchmark::State& state) {
  ParameterImage image;
  EditHistory history(
      image, [] { return 0; }, EditHistory::Limits{});
  dragAllBands(image, history);
  for (auto _ : state) {
    benchmark::DoNotOptimize(history.undo());
    benchmark::DoNotOptimize(history.redo());
  }
  state.SetLabel("one undo and one redo per iteration");
}
BENCHMARK(BM_UndoRedoSixteenChannelStep)->Unit(benchmark::kMicrosecond);

// Working out the name of such a step the first time it is asked for: what
// a tool tip costs after the gesture.
void BM_NameOfSixteenChannelStep(benchmark::State& state) {
  ParameterImage image;
  EditHistory history(
      image, [] { return 0; }, EditHistory::Limits{});
  for (auto _ : state) {
    state.PauseTiming();
    history.clear();
    dragAllBands(image, history);
    state.ResumeTiming();
    benchmark::DoNotOptimize(history.undoName());
  }
}
BENCHMARK(BM_NameOfSixteenChannelStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane::editor

BENCHMARK_MAIN();
