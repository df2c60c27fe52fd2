// Execution control: the debugging commands (trace, step, run, pause, reset, interrupt) on top
// of one micro-step dispatcher that uses either the own engine or the box. It is the logic of
// the main window's execution commands without the window: views and questions go through
// Host, box operations through BoxOperations.
//
// Threads: every method runs on the user-interface thread except the run loop, which runs on
// the worker and holds OuterLock then InnerLock around the micro-steps. Anything else that
// touches the machine during a run takes the two locks in the same order (std::lock_guard on
// OuterLock, then InnerLock); it gets them as soon as the step in progress has finished.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "machine/box_operations.h"
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
  // For the link: a failed heartbeat ends a run in progress.
  void ClearRunning() { running_.store(false, std::memory_order_release); }

  StepMutex OuterLock;
  StepMutex InnerLock;

  std::atomic<bool> Simulation{true};
  bool Stepped = false;
  bool SourceModified = false;
  bool AnimationEnabled = true;
  std::string SourcePath;  // SourceLoaded: not empty
  bool SourceLoaded() const { return !SourcePath.empty(); }

 private:
  void RunLoop();
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
};

}  // namespace edumac8
