// Box mode against the software box over a pseudo-terminal: micro-steps per second (each one
// CMD_STEP and CMD_READ_STATE) and the round trip of a single exchange.
#include <benchmark/benchmark.h>

#include "link/link_test_support.h"

namespace edumac8 {
namespace {

// One software box and one connected workbench for all benchmarks.
struct BoxBench {
  LinkRig rig;
  std::unique_ptr<BoxProcess> box = rig.StartBox();
  bool connected = false;
  BoxBench() {
    if (!box) return;
    rig.link.Tick();
    connected = !rig.Simulation();
    Machine& m = rig.wb.machine;
    for (int a = 0; a < 256; a += 2) m.EM[a] = 0x1C, m.EM[a + 1] = 0x01;  // ADD A,#1 ...
    m.SnapshotTo(m.CurrentRecord);
    m.ResetMachine();
    rig.link.BoxDownload(m.uM, m.EM);
  }
};

BoxBench& Bench() {
  static BoxBench bench;
  return bench;
}

void BM_BoxMicroStep(benchmark::State& state) {
  BoxBench& b = Bench();
  if (!b.connected) return state.SkipWithError("no software box");
  for (auto _ : state) b.rig.wb.control.DoMicroStep();
  if (b.rig.link.LinkFailedFlag()) state.SkipWithError("link failed");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BoxMicroStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BoxExchange(benchmark::State& state) {
  BoxBench& b = Bench();
  if (!b.connected) return state.SkipWithError("no software box");
  for (auto _ : state) b.rig.link.BoxReset();  // 4-byte request, 4-byte reply
  if (b.rig.link.LinkFailedFlag()) state.SkipWithError("link failed");
}
BENCHMARK(BM_BoxExchange)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BoxReadState(benchmark::State& state) {
  BoxBench& b = Bench();
  if (!b.connected) return state.SkipWithError("no software box");
  for (auto _ : state) b.rig.link.BoxReadState(b.rig.wb.machine.state);  // 32-byte reply
  if (b.rig.link.LinkFailedFlag()) state.SkipWithError("link failed");
}
BENCHMARK(BM_BoxReadState)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace edumac8

BENCHMARK_MAIN();
