// The run worker beyond the plain run: breakpoints set during a run, the slow speeds with their
// handshake with the user-interface thread, and the record the views mark changes against.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

#include "machine/execution_control.h"
#include "support/machine_fixture.h"
#include "support/recording_host.h"

namespace edumac8 {
namespace {

using Clock = std::chrono::steady_clock;

// MOV A,#1; loop: ADD A,#1; JMP loop.
constexpr std::initializer_list<std::uint8_t> kLoop = {0x7C, 0x01, 0x1C, 0x01, 0xAC, 0x02};

// A front end whose user-interface thread is the test's: the worker's reports queue up and
// the test handles them one by one, as an event loop would.
class QueuedHost : public test::RecordingHost {
 public:
  enum Event { kShowStep, kEnded };

  bool RunStepDone() override {
    Post(kShowStep);
    return true;
  }
  void RunLoopEnded() override { Post(kEnded); }

  // The next report; kEnded after ten seconds without one, with a failure.
  Event Next() {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::seconds(10), [&] { return !events_.empty(); })) {
      ADD_FAILURE() << "the worker reported nothing";
      return kEnded;
    }
    const Event e = events_.front();
    events_.pop_front();
    return e;
  }

 private:
  void Post(Event e) {
    {
      std::lock_guard lock(mutex_);
      events_.push_back(e);
    }
    cv_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Event> events_;
};

struct RunFixture : ::testing::Test {
  test::DefaultMachine d;
  QueuedHost host;
  BoxOperations box;
  test::FakeProgramMap program;
  ExecutionControl control{d.m, host, box, program};

  // Plays the user-interface thread until the run has ended: `beforeShow` sees each step
  // the worker reports before it is shown. Returns the number of steps shown.
  int Drive(const std::function<void(int shown)>& beforeShow = {}) {
    for (int shown = 0;; ++shown) {
      if (host.Next() == QueuedHost::kEnded) {
        control.Pause();  // only matters after a failure
        control.FinishRun();
        return shown;
      }
      if (beforeShow) beforeShow(shown);
      control.ShowRunStep();
    }
  }
};

// Trace commands on a machine like `d` before its run: the history they leave.
std::vector<TraceRecord> TraceReplay(std::initializer_list<std::uint8_t> program,
                                     std::uint64_t steps) {
  test::DefaultMachine replay;
  replay.Load(program);
  Host quiet;
  BoxOperations box;
  test::FakeProgramMap map;
  ExecutionControl control(replay.m, quiet, box, map);
  for (std::uint64_t i = 0; i < steps; ++i) control.Trace();
  std::vector<TraceRecord> records;
  for (int i = 0; i < replay.m.history.Count(); ++i) records.push_back(replay.m.history[i]);
  return records;
}

void ExpectSameHistory(const TraceHistory& a, const std::vector<TraceRecord>& b) {
  ASSERT_EQ(static_cast<std::size_t>(a.Count()), b.size());
  for (int i = 0; i < a.Count(); ++i) ASSERT_EQ(a[i], b[i]) << "record " << i;
}

TEST_F(RunFixture, AFullSpeedRunWithoutBreakpointsLeavesTheHistoryOfTraceCommands) {
  d.Load(kLoop);
  control.Run();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  control.Pause();
  EXPECT_EQ(Drive(), 0) << "nothing is shown step by step at full speed";
  EXPECT_EQ(control.StoppedAtBreakpoint(), std::nullopt);
  ASSERT_GT(control.RunMicroSteps(), 0u);
  ExpectSameHistory(d.m.history, TraceReplay(kLoop, control.RunMicroSteps()));
}

TEST_F(RunFixture, ABreakpointSetDuringARunStopsIt) {
  d.Load(kLoop);
  control.Run();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(control.Running());
  BreakpointSet set;
  set.set(0x04);
  control.SetBreakpoints(set);
  Drive();
  EXPECT_EQ(control.StoppedAtBreakpoint(), 0x04);
  EXPECT_EQ(d.m.InstrAddr, 0x04u);
}

TEST_F(RunFixture, ASlowRunShowsEveryMicroStepAsAStepCommandDoes) {
  d.Load(kLoop);
  BreakpointSet set;
  set.set(0x04);  // the first JMP: MOV A,#1 and ADD A,#1 before it
  control.SetBreakpoints(set);
  control.SetRunSpeed(20);
  const Clock::time_point start = Clock::now();
  control.Run();
  EXPECT_EQ(host.calls, std::vector<std::string>({"UpdateButtons", "DecodeTransfer"}));
  host.calls.clear();
  std::vector<std::vector<std::string>> shown;
  Drive([&](int) {
    shown.push_back(host.calls);
    host.calls.clear();
  });
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  ASSERT_EQ(control.StoppedAtBreakpoint(), 0x04);
  // Fetch 00; MOV A,#1 in two steps, the second fetching 02; ADD A,#1 in three, fetching 04.
  EXPECT_EQ(control.RunMicroSteps(), 6u);
  ASSERT_EQ(shown.size(), 5u) << "each step before the breakpoint's; the epilogue shows that";
  const std::vector<std::string> stepViews = {
      "RepaintMemory", "RefreshMicroViews",   "BuildLAChannels", "RefreshDiagram",
      "UpdateButtons", "ShowDisassemblyAt 0", "DecodeTransfer"};
  EXPECT_EQ(shown[1], stepViews) << "the first step's views, then the next transfer";
  EXPECT_EQ(host.calls.back(), "ShowDisassemblyAt 4") << "the epilogue";
  EXPECT_TRUE(control.AnimationEnabled);
  // Three instructions begun at 20 a second: the third begins 100 ms after the first.
  EXPECT_GE(seconds, 0.1);
  ExpectSameHistory(d.m.history, TraceReplay(kLoop, 6));
}

TEST_F(RunFixture, PauseEndsASlowRunBeforeItsNextStep) {
  d.Load(kLoop);
  control.SetRunSpeed(20);
  control.Run();
  const int shown = Drive([&](int n) {
    if (n == 2) control.Pause();
  });
  EXPECT_EQ(shown, 3);
  EXPECT_EQ(control.RunMicroSteps(), 3u) << "no step after the pause";
  EXPECT_EQ(d.m.history.Count(), 4);
  EXPECT_EQ(control.StoppedAtBreakpoint(), std::nullopt);
}

TEST_F(RunFixture, TheSpeedChangesDuringARun) {
  d.Load(kLoop);
  control.SetRunSpeed(1);
  control.Run();
  int shown = 0;
  Drive([&](int n) {
    shown = n + 1;
    if (n == 0) {
      control.SetRunSpeed(ExecutionControl::kFullSpeed);
      BreakpointSet set;
      set.set(0x04);
      control.SetBreakpoints(set);
    }
  });
  EXPECT_EQ(shown, 1) << "a second at one instruction a second would have shown more";
  EXPECT_EQ(control.StoppedAtBreakpoint(), 0x04);
  ExpectSameHistory(d.m.history, TraceReplay(kLoop, control.RunMicroSteps()));
}

TEST_F(RunFixture, ChangesAreMarkedAgainstTheRecordBeforeTheCommand) {
  d.Load(kLoop);
  control.Step();  // the first fetch
  const TraceRecord beforeAdd = d.m.CurrentRecord;
  control.Step();  // MOV A,#1: two micro-steps
  EXPECT_EQ(control.ChangeBaseline(), beforeAdd);
  control.Reset();
  EXPECT_EQ(control.ChangeBaseline(), d.m.CurrentRecord) << "nothing is marked after a reset";
}

}  // namespace
}  // namespace edumac8
