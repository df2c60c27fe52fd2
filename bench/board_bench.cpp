// The FPGA board window's costs: one test-mode tick (Timer1, every 100 ms) with 500
// components of every kind, and opening a mode of 1000 components. Offscreen when there is
// no display; measured one operation at a time so that the median can be read.
//
//   build/bin/edumac8_board_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <vector>

#include "fpga/mode_file.h"
#include "fpga/tstruc_fpgaf.h"
#include "ui/application.h"
#include "ui/user_dialogs.h"

namespace {

using namespace edumac8;
using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> samples, double p) {
  std::sort(samples.begin(), samples.end());
  const std::size_t i = std::min(samples.size() - 1, std::size_t(p * (samples.size() - 1) + 0.5));
  return samples[i];
}

double Us(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::micro>(to - from).count();
}

// Answers every file dialog with one path.
class FixedPath : public UserDialogs {
 public:
  QString path;
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return path;
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return path;
  }
  Answer Question(QWidget*, const QString&) override { return Answer::No; }
  Answer YesNo(QWidget*, const QString&) override { return Answer::No; }
  void Error(QWidget*, const QString& text) override { qFatal("%s", qPrintable(text)); }
  void Information(QWidget*, const QString&) override {}
};

// `count` components cycling through the kinds 1-7 and the 48 groups, spread over the board.
BoardMode ModeOf(int count) {
  BoardMode mode;
  for (int i = 0; i < count; ++i) {
    CList c = CreateNewRec(i * 70 % 900, i * 70 / 900 * 60 % 640, 1 + i % 7);
    c.IOGroup = i % kIOGroupCount;
    c.Bit = i % 8;
    c.Colour = static_cast<std::uint8_t>(i % 4);
    mode.components.push_back(c);
  }
  return mode;
}

struct Board {
  Host host;
  Workbench workbench{host};
  FixedPath dialogs;
  TStrucFPGAF window{workbench, [this]() -> UserDialogs& { return dialogs; }};
  QTemporaryDir dir;

  explicit Board(int components) {
    dialogs.path = dir.filePath("bench.MD8");
    SaveModeFile(dialogs.path.toStdString(), ModeOf(components));
    window.show();
    QApplication::processEvents();
  }
};

void TestTick(benchmark::State& state) {
  Board board(static_cast<int>(state.range(0)));
  board.window.OpenMode();
  board.window.SetRandomSeed(1);
  QApplication::processEvents();
  std::vector<double> total, tick;
  for (auto _ : state) {
    const auto start = Clock::now();
    board.window.Timer1Timer();
    const auto ticked = Clock::now();
    QApplication::processEvents();  // the repaint of the pictures that changed
    const auto end = Clock::now();
    tick.push_back(Us(start, ticked));
    total.push_back(Us(start, end));
  }
  state.counters["tick_median_us"] = Percentile(tick, 0.5);
  state.counters["median_us"] = Percentile(total, 0.5);
  state.counters["p95_us"] = Percentile(total, 0.95);
}

void OpenMode(benchmark::State& state) {
  Board board(static_cast<int>(state.range(0)));
  std::vector<double> open, shown;
  for (auto _ : state) {
    const auto start = Clock::now();
    board.window.OpenMode();
    const auto opened = Clock::now();
    QApplication::processEvents();  // the first paint of the new controls
    const auto end = Clock::now();
    open.push_back(Us(start, opened));
    shown.push_back(Us(start, end));
  }
  state.counters["open_median_ms"] = Percentile(open, 0.5) / 1000;
  state.counters["shown_median_ms"] = Percentile(shown, 0.5) / 1000;
}

// The reader alone, on the same file's bytes.
void ReadModeFile(benchmark::State& state) {
  const std::string bytes = WriteMode(ModeOf(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    BoardMode mode;
    benchmark::DoNotOptimize(ReadMode(bytes, mode));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

}  // namespace

BENCHMARK(TestTick)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenMode)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(ReadModeFile)->Arg(1000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InitialiseApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
