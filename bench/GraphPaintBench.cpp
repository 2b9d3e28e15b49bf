// One full repaint of the EQ graph at the size it has in a 1366 x 768 main
// window, with the curves of all sixteen channels overlaid, painted into an
// image.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdlib>

#include "dsp/ChannelFilters.h"
#include "model/ParameterImage.h"
#include "ui/graphs/CFStatic.h"

namespace orvane::ui {
namespace {

void BM_EqGraphRepaint(benchmark::State& state) {
  ParameterImage image;
  image.modify([](ImageData& d) {
    d.editor.inputCurveVisible.fill(true);
    d.editor.outputCurveVisible.fill(true);
  });
  for (int band = 0; band < 8; ++band)
    image.setBand(Side::Input, 3, band, {60 * (band + 1) * (band + 1), 400 + 30 * (band % 3) - 20, 40, 0, 0});
  ChannelFilters filters(image);
  CFStatic graph(image, filters);
  graph.resize(710, 250);
  graph.ShowInput(3);
  graph.Redraw(2);
  QImage target(graph.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    graph.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_EqGraphRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane::ui

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
