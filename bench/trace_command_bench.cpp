// The cost of one trace command (F7) with every window of the workbench present: the
// micro-step, RefreshAfterStep with its views, and the repaint of the grids and the structure
// diagram, measured one command at a time so that the median and the 95th percentile can be
// read. Also the diagram's own work: one animation tick with its repaint, and a full repaint
// of the diagram page in a large window (run with QT_SCALE_FACTOR=2 for a 4K screen).
//
//   build/bin/edumac8_trace_command_bench
//   QT_SCALE_FACTOR=2 build/bin/edumac8_trace_command_bench --benchmark_filter=DiagramRepaint
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <vector>

#include "diagram/structure_diagram.h"
#include "ui/tman_form.h"
#include "views/micro_program_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> samples, double p) {
  std::sort(samples.begin(), samples.end());
  const std::size_t i = std::min(samples.size() - 1, std::size_t(p * (samples.size() - 1) + 0.5));
  return samples[i];
}

void ShowPage(QTabWidget* area, const char* caption) {
  for (int i = 0; i < area->count(); ++i)
    if (area->tabText(i) == QString::fromUtf8(caption)) area->setCurrentIndex(i);
}

void Report(benchmark::State& state, const std::vector<double>& samples) {
  state.counters["median_us"] = Percentile(samples, 0.5);
  state.counters["p95_us"] = Percentile(samples, 0.95);
}

// The workbench window with samples/loop.asm assembled.
struct LoopWorkbench {
  // Make saves and assembles beside the source: a copy keeps the shipped sample untouched.
  QTemporaryDir dir;
  edumac8::TMANForm form;

  explicit LoopWorkbench(QSize size) {
    const QString source = dir.filePath("loop.asm");
    QFile::copy(EDUMAC8_SAMPLES_DIR "/loop.asm", source);
    form.resize(size);
    form.show();
    form.OpenFile(source);
    form.Make1Click();
    QApplication::processEvents();
  }
};

// `page` is the bottom page in front while stepping: the grid that repaints; `hostPage` the
// middle one (the structure diagram, the analyser, or the graphic help, which does not change).
void TraceCommand(benchmark::State& state, const char* page, const char* hostPage) {
  LoopWorkbench bench(QSize(1280, 800));
  edumac8::TMANForm& form = bench.form;
  ShowPage(form.pgBottom(), page);
  ShowPage(form.pgHost(), hostPage);
  QApplication::processEvents();

  const auto us = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
  };
  std::vector<double> total, command;
  for (auto _ : state) {
    const auto start = Clock::now();
    form.TraceBtnClick();
    const auto stepped = Clock::now();
    QApplication::processEvents();  // the repaint of what the command changed
    const auto end = Clock::now();
    total.push_back(us(start, end));
    command.push_back(us(start, stepped));
  }
  Report(state, total);
  // The command without the repaint: the micro-step and the views' own refresh.
  state.counters["command_median_us"] = Percentile(command, 0.5);
}

// One tick of the diagram's animation timer and the repaint of what it changed, over the
// transfers of the sample's micro-steps.
void DiagramTick(benchmark::State& state) {
  LoopWorkbench bench(QSize(1280, 800));
  edumac8::TFlow& flow = *bench.form.Flow();
  std::vector<double> samples;
  for (auto _ : state) {
    if (!flow.Animation().Running()) {
      state.PauseTiming();
      while (!flow.Animation().Running()) bench.form.TraceBtnClick();
      flow.Timer1()->stop();  // the benchmark ticks by itself
      QApplication::processEvents();
      state.ResumeTiming();
    }
    const auto start = Clock::now();
    flow.Timer1Timer();
    QApplication::processEvents();
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  Report(state, samples);
}

// A full repaint of the diagram page (drawing, blocks, ALU symbol) in a 1920 × 1080 window.
void DiagramRepaint(benchmark::State& state) {
  LoopWorkbench bench(QSize(1920, 1080));
  bench.form.TraceBtnClick();
  edumac8::TFlow& flow = *bench.form.Flow();
  flow.Timer1()->stop();
  QApplication::processEvents();
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = Clock::now();
    flow.repaint();
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  Report(state, samples);
  state.counters["page_device_pixels"] =
      flow.width() * flow.height() * flow.devicePixelRatioF() * flow.devicePixelRatioF();
  state.counters["device_pixel_ratio"] = flow.devicePixelRatioF();
}

}  // namespace

BENCHMARK_CAPTURE(TraceCommand, MicroProgramPage, "uM 微程序", "结构图")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TraceCommand, TracePage, "跟踪", "结构图")->Unit(benchmark::kMicrosecond);
// The same without the diagram in front, for comparison.
BENCHMARK_CAPTURE(TraceCommand, DiagramHidden, "uM 微程序", "图示帮助")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(DiagramTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(DiagramRepaint)->Unit(benchmark::kMicrosecond);
// The analyser in front instead (the bottom page, the instruction set, stays still).
BENCHMARK_CAPTURE(TraceCommand, AnalyserPage, "指令系统", "逻辑分析")
    ->Unit(benchmark::kMicrosecond);
