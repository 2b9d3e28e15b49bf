// Cost of the response work done while the user drags on the EQ graph: one
// element recomputed per mouse move, and the channel curve summed per redraw.

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "dsp/CKTVEQ.h"
#include "dsp/SetGeometry.h"
#include "model/ParameterImage.h"

namespace orvane {
namespace {

void recomputeBand(benchmark::State& state, const EqBand& record) {
  ParameterImage image;
  image.setBand(Side::Output, 0, 0, record);
  CFilter band;
  band.BindBand(image, Side::Output, 0, 0);
  for (auto _ : state) {
    band.Recompute(false);
    benchmark::DoNotOptimize(band.response().data());
  }
}

void BM_RecomputePeaking(benchmark::State& state) {
  recomputeBand(state, {1000, 460, 25, 0, 0});
}
void BM_RecomputeLowShelf(benchmark::State& state) {
  recomputeBand(state, {200, 460, 25, 1, 1});
}
void BM_RecomputeHighShelf(benchmark::State& state) {
  recomputeBand(state, {5000, 340, 25, 0, 2});
}

// Arguments: kind (3 high-pass, 4 low-pass), family (0..2), slope code.
void BM_RecomputeCrossover(benchmark::State& state) {
  const auto kind = static_cast<FilterKind>(state.range(0));
  const int family = static_cast<int>(state.range(1));
  const int slope = static_cast<int>(state.range(2));
  ParameterImage image;
  image.setCrossover(Side::Output, 0, {100, family, slope, 5000, family, slope});
  CFilter filter;
  filter.SetKind(kind);
  filter.BindCrossover(image, Side::Output, 0);
  const std::string kindName = kind == FilterKind::HighPass ? "high-pass" : "low-pass";
  constexpr std::array<const char*, 3> kFamilies{"L_R", "Bessel", "BTWorth"};
  state.SetLabel(kindName + " " + kFamilies[static_cast<std::size_t>(family)] + " " +
                 std::to_string(12 + 6 * slope) + "dB/oct");
  for (auto _ : state) {
    filter.Recompute(false);
    benchmark::DoNotOptimize(filter.response().data());
  }
}

void BM_SumCurveOutput(benchmark::State& state) {
  ParameterImage image;
  for (int n = 0; n < bandCount(Side::Output); ++n)
    image.setBand(Side::Output, 0, n, {100 * (n + 1), 430, 40, 0, 0});
  image.setCrossover(Side::Output, 0, {60, 0, 2, 12000, 2, 6});
  CKTVEQ set;
  set.BuildOutput(image, 0);
  for (auto _ : state) {
    set.SumCurve(300);
    benchmark::DoNotOptimize(set.curveY().data());
  }
}

// One step of dragging a band on the EQ graph: the pointer moves, the band
// takes the new frequency and gain, its response and marker follow and the
// channel's curve is summed again. The graph's plot size in a 1366 x 768
// window.
void BM_DragBandStep(benchmark::State& state) {
  ParameterImage image;
  image.setBand(Side::Output, 0, 4, {1000, 460, 25, 0, 0});
  CKTVEQ set;
  set.BuildOutput(image, 0);
  const GraphScale scale(660, 190);
  SetGeometry geometry;
  geometry.Layout(scale, set);
  ElementGeometry& band = geometry.element(4);
  band.PressMarker(band.marker().centre());
  int step = 0;
  for (auto _ : state) {
    const GraphPoint to{GraphScale::kLeft + 200 + step % 200, GraphScale::kTop + 40 + step % 60};
    band.DragBand(set.element(4), to);
    set.SumCurve(scale.height());
    benchmark::DoNotOptimize(set.curveY());
    ++step;
  }
}

BENCHMARK(BM_DragBandStep);
BENCHMARK(BM_RecomputePeaking);
BENCHMARK(BM_RecomputeLowShelf);
BENCHMARK(BM_RecomputeHighShelf);
BENCHMARK(BM_RecomputeCrossover)->ArgsProduct({{3, 4}, {0, 1, 2}, {0, 6}});
BENCHMARK(BM_SumCurveOutput);

}  // namespace
}  // namespace orvane
