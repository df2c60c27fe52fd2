// The FPGA board window's costs: one test-mode tick (Timer1, every 100 ms) with 500
// components of every kind, and opening a mode of 1000 components. Offscreen when there is
// no display; measured one operation at a time so that the median can be read, in wall-clock
// time and in the thread's processor time (which a busy machine does not inflate).
//
//   build/bin/edumac8_board_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "fpga/mode_file.h"
#include "fpga/tstruc_fpgaf.h"
#include "ui/user_dialogs.h"

namespace {

using namespace edumac8;
using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> samples, double p) {
  std::sort(samples.begin(), samples.end());
  const std::size_t i = std::min(samples.size() - 1, std::size_t(p * (samples.size() - 1) + 0.5));
  return samples[i];
}

// A moment in wall-clock time and in this thread's processor time.
struct Stamp {
  Clock::time_point wall = Clock::now();
  double cpuUs = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
  }();
};

struct Samples {
  std::vector<double> wall, cpu;
  void Add(const Stamp& from, const Stamp& to) {
    wall.push_back(std::chrono::duration<double, std::micro>(to.wall - from.wall).count());
    cpu.push_back(to.cpuUs - from.cpuUs);
  }
};

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
  Samples total, tick;
  for (auto _ : state) {
    const Stamp start;
    board.window.Timer1Timer();
    const Stamp ticked;
    QApplication::processEvents();  // the repaint of the pictures that changed
    const Stamp end;
    tick.Add(start, ticked);
    total.Add(start, end);
  }
  state.counters["tick_median_us"] = Percentile(tick.wall, 0.5);
  state.counters["tick_cpu_median_us"] = Percentile(tick.cpu, 0.5);
  state.counters["median_us"] = Percentile(total.wall, 0.5);
  state.counters["p95_us"] = Percentile(total.wall, 0.95);
  state.counters["cpu_median_us"] = Percentile(total.cpu, 0.5);
}

void OpenMode(benchmark::State& state) {
  Board board(static_cast<int>(state.range(0)));
  Samples open, shown;
  for (auto _ : state) {
    const Stamp start;
    board.window.OpenMode();
    const Stamp opened;
    QApplication::processEvents();  // the first paint of the new controls
    const Stamp end;
    open.Add(start, opened);
    shown.Add(start, end);
  }
  state.counters["open_median_ms"] = Percentile(open.wall, 0.5) / 1000;
  state.counters["open_cpu_median_ms"] = Percentile(open.cpu, 0.5) / 1000;
  state.counters["shown_median_ms"] = Percentile(shown.wall, 0.5) / 1000;
  state.counters["shown_cpu_median_ms"] = Percentile(shown.cpu, 0.5) / 1000;
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
