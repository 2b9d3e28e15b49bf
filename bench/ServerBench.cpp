// orvane-server under many clients of a room: GET /api/status from 16
// clients at once, each on its own keep-alive connection, in front of the
// simulated device. Items per second are answered requests.

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/ServerProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

constexpr int kClients = 16;
constexpr int kRequestsPerClient = 50;

void BM_ServerStatusKeepAlive(benchmark::State& state) {
  SimulatorProcess sim;
  ServerProcess server("net:" + sim.address());
  if (!server.linked()) return state.SkipWithError("the server did not link to the simulator");
  std::vector<HttpClient> clients;
  for (int i = 0; i < kClients; ++i) clients.push_back(server.client());
  std::atomic<long> failed{0};
  for (auto _ : state) {
    std::vector<std::thread> threads;
    for (HttpClient& client : clients)
      threads.emplace_back([&client, &failed] {
        for (int i = 0; i < kRequestsPerClient; ++i)
          if (client.get("/api/status").status != 200) ++failed;
      });
    for (std::thread& thread : threads) thread.join();
  }
  if (failed > 0) state.SkipWithError("some requests failed");
  state.SetItemsProcessed(state.iterations() * kClients * kRequestsPerClient);
}
BENCHMARK(BM_ServerStatusKeepAlive)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane
