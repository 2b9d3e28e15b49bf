// Undo and redo of one step that changed every EQ band of all eight inputs
// and all eight outputs, as a drag on a sixteen-channel link group leaves
// it: the time to put the rows back into the edited image.

#include <benchmark/benchmark.h>

#include "editor/EditHistory.h"

namespace orvane::editor {
namespace {

void BM_UndoRedoSixteenChannelStep(benchmark::State& state) {
  ParameterImage image;
  EditHistory history(
      image, [] { return 0; }, EditHistory::Limits{});
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
      [] { return std::string("all bands +6 dB"); });
  for (auto _ : state) {
    benchmark::DoNotOptimize(history.undo());
    benchmark::DoNotOptimize(history.redo());
  }
  state.SetLabel("one undo and one redo per iteration");
}
BENCHMARK(BM_UndoRedoSixteenChannelStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane::editor

BENCHMARK_MAIN();
