// orvanectl as a script runs it: one `set` of one parameter against the
// simulator on loopback, from process start to exit (connect, full read,
// the write reaching the device, the link closed).

#include <benchmark/benchmark.h>

#include "support/ChildProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

void BM_CtlSetOneParameter(benchmark::State& state) {
  SimulatorProcess sim;
  if (!sim.started()) {
    state.SkipWithError("the simulator did not start");
    return;
  }
  const std::vector<std::string> args{"--connect", "net:" + sim.address(), "set", "in.A.gain", "-6.5dB"};
  for (auto _ : state) {
    const ChildProcess::Result result = ChildProcess::run(ORVANECTL_PATH, args);
    if (result.status != 0) {
      state.SkipWithError(result.err.c_str());
      return;
    }
  }
}
BENCHMARK(BM_CtlSetOneParameter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
}  // namespace orvane
