// The cost of one trace command (F7) with every window of the workbench present: the
// micro-step, RefreshAfterStep with its views, and the repaint of the grids, measured one
// command at a time so that the median and the 95th percentile can be read.
//
//   build/bin/edumac8_trace_command_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <vector>

#include "ui/application.h"
#include "ui/tman_form.h"
#include "views/micro_program_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> samples, double p) {
  std::sort(samples.begin(), samples.end());
  const std::size_t i = std::min(samples.size() - 1, std::size_t(p * (samples.size() - 1) + 0.5));
  return samples[i];
}

// `page` is the page in front while stepping: a bottom page's grid or the analyser.
void TraceCommand(benchmark::State& state, const char* page) {
  // Make saves and assembles beside the source: a copy keeps the shipped sample untouched.
  QTemporaryDir dir;
  const QString source = dir.filePath("loop.asm");
  QFile::copy(EDUMAC8_SAMPLES_DIR "/loop.asm", source);
  edumac8::TMANForm form;
  form.resize(1280, 800);
  form.show();
  form.OpenFile(source);
  form.Make1Click();
  for (QTabWidget* area : {form.pgBottom(), form.pgHost()})
    for (int i = 0; i < area->count(); ++i)
      if (area->tabText(i) == QString::fromUtf8(page)) area->setCurrentIndex(i);
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
  state.counters["median_us"] = Percentile(total, 0.5);
  state.counters["p95_us"] = Percentile(total, 0.95);
  // The command without the repaint: the micro-step and the views' own refresh.
  state.counters["command_median_us"] = Percentile(command, 0.5);
}

}  // namespace

BENCHMARK_CAPTURE(TraceCommand, MicroProgramPage, "uM 微程序")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TraceCommand, TracePage, "跟踪")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TraceCommand, AnalyserPage, "逻辑分析")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  edumac8::InitialiseApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
