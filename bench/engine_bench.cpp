// Micro-step throughput of the model machine: the full step, the engine's two phases alone,
// and the run worker's loop with its two locks.
#include <benchmark/benchmark.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "isa/instruction_system.h"
#include "machine/execution_control.h"

namespace edumac8 {
namespace {

// MOV A,#1; loop: ADD A,#1; MOV R1,A; MOV A,@R0; JMP loop (MOV A,@R0 reads EM[0]).
void LoadLoopProgram(Machine& m) {
  InstructionSystem isa;
  isa.LoadDefaults(m.uM);
  const std::uint8_t program[] = {0x7C, 0x01, 0x1C, 0x01, 0x81, 0x74, 0xAC, 0x02};
  std::copy(std::begin(program), std::end(program), m.EM.begin());
  m.SnapshotTo(m.CurrentRecord);
  m.ResetMachine();
}

void BM_MicroStep(benchmark::State& state) {
  Machine m;
  LoadLoopProgram(m);
  for (auto _ : state) {
    m.MicroStep();
    benchmark::DoNotOptimize(m.state);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MicroStep);

// The limit: combinational and latch phases with the sequencer, nothing copied.
void BM_EvaluateLatch(benchmark::State& state) {
  Machine m;
  LoadLoopProgram(m);
  for (auto _ : state) {
    m.LoadMicroWord(m.uM[m.state[Field::uPC]]);
    m.Evaluate();
    m.Latch();
    benchmark::DoNotOptimize(m.state);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateLatch);

// Counts the run loop's iterations: the loop asks LinkFailed once per micro-step.
class CountingBox : public BoxOperations {
 public:
  mutable std::atomic<std::uint64_t> checks{0};
  bool LinkFailed() const override {
    checks.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
};

class WaitingHost : public Host {
 public:
  void RunLoopEnded() override {
    std::lock_guard lock(mutex);
    ended = true;
    cv.notify_all();
  }
  void Wait() {
    std::unique_lock lock(mutex);
    cv.wait(lock, [&] { return ended; });
    ended = false;
  }
  std::mutex mutex;
  std::condition_variable cv;
  bool ended = false;
};

class AlwaysAssembled : public ProgramMap {
 public:
  bool AssembledOK() const override { return true; }
  std::optional<SourceLine> AddressToLine(std::uint32_t) const override { return std::nullopt; }
};

// The real worker: run for a fixed time, pause, count the micro-steps it made.
// Argument 0: no breakpoints; 1: breakpoints at every address the loop never fetches, so
// each fetch tests the set and none stops the run; 2: the same, with the benchmark thread
// refreshing as the window does, 20 times a second (with views that cost nothing, so only
// the locks' hand-over counts).
void BM_RunLoop(benchmark::State& state) {
  Machine m;
  LoadLoopProgram(m);
  WaitingHost host;
  CountingBox box;
  AlwaysAssembled program;
  ExecutionControl control(m, host, box, program);
  if (state.range(0) > 0) {
    BreakpointSet breakpoints;
    for (int a = 0x10; a < 0x100; ++a) breakpoints.set(a);
    control.SetBreakpoints(breakpoints);
  }
  const bool refresh = state.range(0) == 2;
  std::uint64_t steps = 0;
  double cpuSeconds = 0;
  const auto processCpu = [] {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
  };
  for (auto _ : state) {
    const std::uint64_t before = box.checks.load();
    const double cpuBefore = processCpu();
    const auto start = std::chrono::steady_clock::now();
    control.Run();
    if (refresh) {
      for (int i = 0; i < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        control.RefreshDuringRun();
      }
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    control.Pause();
    host.Wait();
    const auto end = std::chrono::steady_clock::now();
    cpuSeconds += processCpu() - cpuBefore;
    control.FinishRun();
    steps += box.checks.load() - before;
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(steps));
  // The benchmark thread sleeps meanwhile, so the process's CPU time is the worker's: steps
  // per CPU second do not depend on what else the machine is doing.
  state.counters["steps_per_cpu_second"] = steps / cpuSeconds;
}
BENCHMARK(BM_RunLoop)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace edumac8

BENCHMARK_MAIN();
