// Execution control: the debugging commands (trace, step, run, pause, reset, interrupt) on top
// of one micro-step dispatcher that uses either the own engine or the box. It is the logic of
// the main window's execution commands without the window: views and questions go through
// Host, box operations through BoxOperations.
//
// Threads: every method runs on the user-interface thread except the run loop, which runs on
// the worker and holds OuterLock then InnerLock around the micro-steps. Anything else that
// touches the machine during a run takes the two locks in the same order (std::lock_guard on
// OuterLock, then InnerLock); it gets them as soon as the step in progress has finished.
//
// A run stops by itself at a breakpoint. At full speed the views follow it through
// RefreshDuringRun, which the front end calls about 20 times a second; at a slow speed the
// worker lets go of the machine after every micro-step and waits until the front end has shown
// it (Host::RunStepDone, ShowRunStep) and until the step's share of the instruction's time has
// passed.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "machine/box_operations.h"
#include "machine/breakpoints.h"
#include "machine/host.h"
#include "machine/machine.h"
#include "machine/step_mutex.h"

namespace edumac8 {

class ExecutionControl {
 public:
  ExecutionControl(Machine& machine, Host& host, BoxOperations& box, const ProgramMap& program);
  ~ExecutionControl();
  ExecutionControl(const ExecutionControl&) = delete;
  ExecutionControl& operator=(const ExecutionControl&) = delete;

  bool CheckDebug();
  void Trace();      // one micro-step
  void Step();       // one instruction: at most four micro-steps, stopping at the fetch
  void Run();        // start the worker
  // A run with a one-shot breakpoint at the code of `line` of the main source, or of the
  // first line after it that holds code; nothing when there is none.
  void RunToLine(int line);
  void Pause();      // ask the worker to finish its step and stop
  void Reset();
  void Interrupt();  // interrupt request
  void GotoPC(std::uint32_t address, int mark);

  // The run worker's epilogue; call on the user-interface thread after Host::RunLoopEnded.
  // Joins the worker first, so it may also be called to wait for a paused run.
  void FinishRun();

  void DoMicroStep();
  void BoxDerive();
  void RefreshAfterStep();
  // The views after a reset or an assembly: disassembly cache cleared, diagram, micro views,
  // program memory, analyser, then GotoPC(InstrAddr).
  void ShowResetViews();

  bool Running() const { return running_.load(std::memory_order_acquire); }
  // From the start of a run until its epilogue (FinishRun): the run may already have stopped
  // by itself, its epilogue still on the way.
  bool RunAwaitingEpilogue() const { return worker_.joinable(); }
  // For the link: a failed heartbeat ends a run in progress.
  void ClearRunning();

  // Breakpoints. Changing them during a run waits for the step in progress.
  void SetBreakpoints(const BreakpointSet& breakpoints);
  const BreakpointSet& Breakpoints() const { return breakpoints_; }
  // The breakpoints at the code of these lines of the main source (1-based) after the last
  // assembly; a line without code adds none. Call again after every assembly.
  void SetBreakpointLines(const std::vector<int>& lines);
  // The stop rule on the machine as it stands, for front ends that step by themselves.
  bool AtBreakpoint() const { return StopsAtBreakpoint(machine_, breakpoints_); }
  // The address where the last run stopped at a breakpoint; nothing when it was paused or
  // the link failed. Valid once Running() is false.
  std::optional<std::uint8_t> StoppedAtBreakpoint() const { return stoppedAt_; }
  // The micro-steps the last run executed. Valid after FinishRun.
  std::uint64_t RunMicroSteps() const { return runSteps_; }

  // Instructions per second of a run; kFullSpeed runs without pausing between steps. May be
  // changed during a run.
  static constexpr int kFullSpeed = 0;
  void SetRunSpeed(int instructionsPerSecond);
  int RunSpeed() const { return speed_.load(std::memory_order_relaxed); }

  // User-interface thread, during a run at full speed: refreshes what a step refreshes,
  // holding OuterLock and InnerLock while the views take their copies of the machine.
  void RefreshDuringRun();
  // User-interface thread, after Host::RunStepDone: the views of a slow run's micro-step, as
  // a step command shows it, then the transfer of the next one; the worker then goes on.
  void ShowRunStep();
  // Whether the views may read the machine now: no run is in progress, or one of the two
  // refreshes above holds the worker off.
  bool MachineReadable() const { return !Running() || refreshing_; }
  // The record the views compare with to mark changed values: the machine as it stood when
  // the last step command began, or at the previous refresh of a run.
  const TraceRecord& ChangeBaseline() const { return baseline_; }

  StepMutex OuterLock;
  StepMutex InnerLock;

  std::atomic<bool> Simulation{true};
  bool Stepped = false;
  bool SourceModified = false;
  bool AnimationEnabled = true;
  std::string SourcePath;  // SourceLoaded: not empty
  bool SourceLoaded() const { return !SourcePath.empty(); }

 private:
  void StartRun(std::optional<std::uint8_t> oneShot);
  void RunLoop();
  // One instruction of a slow run: at most four micro-steps spread over its share of time.
  void RunInstructionSlowly(int speed, std::uint64_t& steps);
  // After each micro-step of a run, with the locks held: the stop rule and a pause request.
  void EndStepOfRun();
  bool GoOn() const;
  // Slow run: waits until `deadline`; false when the run must stop or its speed changed.
  bool PaceUntil(std::chrono::steady_clock::time_point deadline, int speed);
  // Slow run: waits until ShowRunStep has shown the step; false when the run must stop.
  bool WaitUntilShown();
  void WakeWorker();
  // A micro-step that, in simulation, leaves the live records behind CurrentRecord until
  // SyncLiveRecords: nobody else looks at them while the worker holds the locks.
  void StepLeavingLiveBehind();
  void SyncLiveRecords();
  // After stepping: box memory into EM, EM into CurrentRecord and the newest record.
  void SyncMemoryAfterSteps();

  Machine& machine_;
  Host& host_;
  BoxOperations& box_;
  const ProgramMap& program_;
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> terminate_{false};
  bool liveBehind_ = false;

  BreakpointSet breakpoints_;
  // What the worker tests: the breakpoints and the one-shot address of RunToLine.
  BreakpointSet runBreaks_;
  std::optional<std::uint8_t> oneShot_;
  std::optional<std::uint8_t> stoppedAt_;
  std::uint64_t runSteps_ = 0;
  std::atomic<int> speed_{kFullSpeed};
  // A slow run's worker waits on these between steps.
  std::mutex paceMutex_;
  std::condition_variable pace_;
  bool stepShown_ = false;
  bool refreshing_ = false;
  TraceRecord baseline_;
};

}  // namespace edumac8
