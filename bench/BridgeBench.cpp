// What the bridge costs: one edit (a changed gain sent to the device and
// the link settled again) from the editor's core on the serial link itself,
// and the same edit over the network link through orvane-bridge in front of
// that serial link. The second should stay within twice the first.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "editor/EditorSession.h"
#include "model/ChannelRecords.h"
#include "support/BridgeProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

void editOnce(benchmark::State& state, const std::string& link) {
  editor::EditorSession session;
  if (const std::string error = session.open(*ConnectTarget::parse(link)); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  int gain = 200;
  for (auto _ : state) {
    gain = gain == 200 ? 250 : 200;
    session.image().setField(Side::Input, 0, InputField::Gain, gain);
    if (const std::string error = session.settle(); !error.empty()) {
      state.SkipWithError(error.c_str());
      return;
    }
  }
}

void BM_EditOnTheSerialLink(benchmark::State& state) {
  SimulatorProcess sim({"--serial"});
  editOnce(state, "serial:" + sim.serialPath() + ":1");
}
BENCHMARK(BM_EditOnTheSerialLink)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

void BM_EditThroughTheBridge(benchmark::State& state) {
  SimulatorProcess sim({"--serial"});
  BridgeProcess bridge(sim);
  if (!bridge.started() || !bridge.logLine("device link open")) {
    state.SkipWithError("the bridge did not start");
    return;
  }
  editOnce(state, bridge.link());
}
BENCHMARK(BM_EditThroughTheBridge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

}  // namespace
}  // namespace orvane
