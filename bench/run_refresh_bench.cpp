// What the views' refresh during a run costs the run: the real main window with every view,
// a counting program running at full speed, with and without the 20-times-a-second refresh.
//
//   build/bin/edumac8_run_refresh_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "platform/file_io.h"
#include "ui/tman_form.h"

namespace {

constexpr int kRunMs = 500;
constexpr int kRefreshMs = 50;

// Runs for kRunMs with the window's events processed. Argument 1: the refresh runs every
// kRefreshMs, timed here instead of by the window's own timer so that its cost can be read.
void WindowRun(benchmark::State& state) {
  QTemporaryDir dir;
  const QString source = dir.filePath("COUNT.ASM");
  edumac8::WriteFileAtomic(source.toStdString(),
                           "        ORG 0\r\n        MOV A, #0\r\nLOOP:   ADD A, #1\r\n"
                           "        OUT\r\n        JMP LOOP\r\n        END\r\n");
  edumac8::TMANForm form;
  form.resize(1280, 800);
  form.show();
  form.OpenFile(source);
  form.Make1Click();
  QApplication::processEvents();
  edumac8::ExecutionControl& control = form.workbench().control;
  QTimer* windowRefresh = form.findChild<QTimer*>("RunRefreshTimer");
  const bool refresh = state.range(0) == 1;

  std::uint64_t steps = 0;
  double seconds = 0;
  std::vector<double> refreshUs;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    form.RunBtnClick();
    windowRefresh->stop();
    qint64 next = kRefreshMs;
    while (clock.elapsed() < kRunMs) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
      if (refresh && clock.elapsed() >= next) {
        next += kRefreshMs;
        QElapsedTimer one;
        one.start();
        control.RefreshDuringRun();
        refreshUs.push_back(one.nsecsElapsed() / 1000.0);
      }
    }
    form.PauseBtnClick();
    const double ran = clock.nsecsElapsed() / 1e9;
    while (control.RunAwaitingEpilogue()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    steps += control.RunMicroSteps();
    seconds += ran;
    state.SetIterationTime(ran);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(steps));
  state.counters["steps_per_second"] = steps / seconds;
  if (!refreshUs.empty()) {
    std::sort(refreshUs.begin(), refreshUs.end());
    const double median = refreshUs[refreshUs.size() / 2];
    state.counters["refresh_median_us"] = median;
    state.counters["refresh_p95_us"] = refreshUs[refreshUs.size() * 95 / 100];
    // The share of each second the refresh holds the worker off.
    state.counters["refresh_share"] = median * (1000.0 / kRefreshMs) / 1e6;
  }
}

}  // namespace

BENCHMARK(WindowRun)->Arg(0)->Arg(1)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
