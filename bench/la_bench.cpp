// The logic analyser's costs: one whole repaint of its window at 1920 x 1080 with a full
// history (511 samples), and the capture alone. Each repaint is timed on its own so that the
// median and the 95th percentile can be read, in wall-clock time and in the thread's processor
// time (which a loaded machine inflates far less).
//
//   build/bin/edumac8_la_bench
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <vector>

#include "la/tla_form.h"
#include "ui/tman_form.h"

namespace {

using Clock = std::chrono::steady_clock;

double ThreadMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

double Percentile(std::vector<double> samples, double p) {
  std::sort(samples.begin(), samples.end());
  const std::size_t i = std::min(samples.size() - 1, std::size_t(p * (samples.size() - 1) + 0.5));
  return samples[i];
}

// A workbench whose history is full: 300 micro-steps of the default fetch loop over an EM of
// varied bytes, so that buses and registers change.
void FillHistory(edumac8::Workbench& wb) {
  edumac8::Machine& m = wb.machine;
  for (int a = 0; a < 256; ++a) m.EM[a] = static_cast<std::uint8_t>(a * 37 + 11);
  m.SnapshotTo(m.CurrentRecord);
  m.ResetMachine();
  for (int i = 0; i < 300; ++i) m.MicroStep();
}

// `expandAll`: every channel as eight bit lines; otherwise STATUS alone, as at start-up.
void Repaint(benchmark::State& state, int level, bool expandAll) {
  edumac8::TMANForm form;
  FillHistory(form.workbench());
  edumac8::TLAForm la(form.workbench(), form);
  la.resize(1920, 1080);
  la.show();
  la.View().ApplyZoomLevel(level);
  if (expandAll)
    for (int k = 0; k < edumac8::kLAChannelCount; ++k)
      if (la.Channels()[k].ShowAsBus) la.ToggleChannel(k);
  la.BuildLAChannels();
  QApplication::processEvents();
  std::vector<double> us, cpu;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpuStart = ThreadMicroseconds();
    la.m01Click();  // asks for a whole new drawing
    la.repaint();
    cpu.push_back(ThreadMicroseconds() - cpuStart);
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  state.counters["median_us"] = Percentile(us, 0.5);
  state.counters["p95_us"] = Percentile(us, 0.95);
  state.counters["cpu_median_us"] = Percentile(cpu, 0.5);
  state.counters["cpu_p95_us"] = Percentile(cpu, 0.95);
}

void Capture(benchmark::State& state) {
  edumac8::TMANForm form;
  FillHistory(form.workbench());
  edumac8::LASamples samples;
  for (auto _ : state) {
    benchmark::DoNotOptimize(samples.Capture(form.workbench().machine, true));
    samples.CopyToDisplay();
  }
}

}  // namespace

BENCHMARK_CAPTURE(Repaint, Level9, 9, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Repaint, Level13, 13, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Repaint, Level9AllExpanded, 9, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Repaint, Level13AllExpanded, 13, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(Capture)->Unit(benchmark::kMicrosecond);
