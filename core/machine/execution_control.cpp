#include "machine/execution_control.h"

namespace edumac8 {

ExecutionControl::ExecutionControl(Machine& machine, Host& host, BoxOperations& box,
                                   const ProgramMap& program)
    : machine_(machine), host_(host), box_(box), program_(program) {}

ExecutionControl::~ExecutionControl() {
  terminate_ = true;
  WakeWorker();
  if (worker_.joinable()) worker_.join();
}

bool ExecutionControl::CheckDebug() {
  bool make = SourceModified;
  bool ask = Stepped && SourceModified;
  if (!program_.AssembledOK()) {
    make = true;
    ask = false;
  }
  if (!SourceLoaded()) return true;
  if (ask) {
    switch (host_.AskReassemble()) {
      case Answer::Cancel: make = false; break;
      case Answer::No: make = false; SourceModified = false; break;
      case Answer::Yes: break;
    }
  }
  if (make && !Running()) host_.Make();
  return program_.AssembledOK() && !SourceModified;
}

void ExecutionControl::DoMicroStep() {
  StepLeavingLiveBehind();
  SyncLiveRecords();
}

void ExecutionControl::StepLeavingLiveBehind() {
  if (Simulation.load(std::memory_order_relaxed)) {
    machine_.StepCurrentRecord();
    liveBehind_ = true;
    return;
  }
  SyncLiveRecords();  // the box's reply completes the live state
  machine_.InstrFetched = false;
  box_.BoxStep();
  box_.BoxReadState(machine_.state);
  BoxDerive();
  // Bits 7 and 6 tell a conditional jump's outcome, not a fetch.
  if (machine_.state[Field::BoxStatus] & 0x3F) machine_.InstrFetched = true;
  machine_.InstrAddr = machine_.state[Field::PC];
  machine_.SnapshotTo(machine_.CurrentRecord);
  machine_.AppendTrace(machine_.CurrentRecord);
}

void ExecutionControl::SyncLiveRecords() {
  if (!liveBehind_) return;
  machine_.RestoreFrom(machine_.CurrentRecord);
  liveBehind_ = false;
}

void ExecutionControl::BoxDerive() {
  MachineState& s = machine_.state;
  const std::uint32_t w = machine_.CurrentMicroWord();
  std::uint8_t a = 0xFF;
  if (Asserted(w, Signal::PCOE)) a = s[Field::PC];
  if (Asserted(w, Signal::MAROE)) a = s[Field::MAR];
  const bool pcinc = Asserted(w, Signal::PCOE);
  machine_.IAckNow = s[Field::STATUS] & status::IACK;
  const bool entering = machine_.IAckNow && !machine_.IAckSeen;
  machine_.IAckSeen = machine_.IAckNow;
  bool loaded = entering;
  // Jump codes 0x08 and 0x0C always load. For the conditional codes the box reports the
  // outcome in bits 7 and 6 of BoxStatus (carry jump and zero jump taken).
  if (Asserted(w, Signal::ELP)) {
    switch (s[Field::IR] & 0x0C) {
      case 0x00: loaded = loaded || (s[Field::BoxStatus] & 0x80); break;
      case 0x04: loaded = loaded || (s[Field::BoxStatus] & 0x40); break;
      default: loaded = true; break;
    }
  }
  if (entering) s[Field::IBUS] = 0xB8;
  if (box_.IntRequest.exchange(false)) box_.BoxIntPulse();
  s[Field::ABUS] = a;
  std::uint8_t st = s[Field::STATUS] & ~(status::PCInc | status::ICOE | status::ELPC);
  if (pcinc) st |= status::PCInc;
  if (!entering) st |= status::ICOE;
  if (!loaded) st |= status::ELPC;
  s[Field::STATUS] = st;
}

void ExecutionControl::RefreshAfterStep() {
  host_.RefreshMicroViews();
  host_.BuildLAChannels();
  host_.RefreshDiagram();
  GotoPC(machine_.InstrAddr, kProgramCounterMark);
}

void ExecutionControl::GotoPC(std::uint32_t address, int mark) {
  host_.UpdateButtons();
  host_.ShowDisassemblyAt(address);
  const std::optional<SourceLine> line = program_.AddressToLine(address);
  if (!line) {
    if (address != 0) host_.ShowDisassemblyAt(address);
    return;
  }
  if (line->file == 0 || !SourceLoaded()) return;
  host_.OpenSource(SourcePath, line->line, mark, 1);
  host_.ShowDisassemblyAt(address);
}

void ExecutionControl::SyncMemoryAfterSteps() {
  if (!Simulation) box_.BoxReadEM(machine_.EM);
  machine_.CurrentRecord.EM = machine_.EM;
  machine_.SnapshotTo(machine_.history.Newest());
}

void ExecutionControl::Trace() {
  if (!CheckDebug()) return;
  baseline_ = machine_.CurrentRecord;
  AnimationEnabled = false;
  host_.DecodeTransfer();
  DoMicroStep();
  SyncMemoryAfterSteps();
  host_.RepaintMemory();
  RefreshAfterStep();
  AnimationEnabled = true;
  Stepped = true;
}

void ExecutionControl::Step() {
  if (!CheckDebug()) return;
  baseline_ = machine_.CurrentRecord;
  for (int i = 0; i < 4; ++i) {
    AnimationEnabled = false;
    host_.DecodeTransfer();
    DoMicroStep();
    RefreshAfterStep();
    if (machine_.InstrFetched) break;
  }
  SyncMemoryAfterSteps();
  host_.RepaintMemory();
  AnimationEnabled = true;
  Stepped = true;
}

void ExecutionControl::Run() {
  if (Running() || !CheckDebug()) return;
  StartRun(std::nullopt);
}

void ExecutionControl::RunToLine(int line) {
  if (Running() || !CheckDebug()) return;
  if (const std::optional<CodeLine> code = program_.FirstCodeLineFrom(line))
    StartRun(static_cast<std::uint8_t>(code->address));
}

void ExecutionControl::StartRun(std::optional<std::uint8_t> oneShot) {
  if (worker_.joinable()) worker_.join();  // a finished run whose epilogue has not run yet
  terminate_ = false;
  stoppedAt_.reset();
  runSteps_ = 0;
  oneShot_ = oneShot;
  runBreaks_ = breakpoints_;
  if (oneShot) runBreaks_.set(*oneShot);
  baseline_ = machine_.CurrentRecord;
  running_ = true;
  host_.UpdateButtons();
  if (RunSpeed() != kFullSpeed) {
    // As a step command does: the diagram shows the transfer about to happen.
    AnimationEnabled = false;
    host_.DecodeTransfer();
  }
  worker_ = std::thread([this] { RunLoop(); });
  Stepped = true;
}

bool ExecutionControl::GoOn() const {
  return running_.load(std::memory_order_relaxed) && !box_.LinkFailed();
}

void ExecutionControl::EndStepOfRun() {
  if (StopsAtBreakpoint(machine_, runBreaks_)) {
    stoppedAt_ = static_cast<std::uint8_t>(machine_.InstrAddr);
    running_.store(false);
  }
  if (terminate_.load(std::memory_order_relaxed)) running_.store(false);
}

void ExecutionControl::RunLoop() {
  std::uint64_t steps = 0;
  while (GoOn()) {
    if (const int speed = RunSpeed(); speed != kFullSpeed) {
      RunInstructionSlowly(speed, steps);
      continue;
    }
    OuterLock.LockForWorker();
    InnerLock.LockForWorker();
    do {
      StepLeavingLiveBehind();
      ++steps;
      EndStepOfRun();
    } while (GoOn() && !OuterLock.Contended() && !InnerLock.Contended());
    SyncLiveRecords();
    InnerLock.unlock();
    OuterLock.unlock();
    OuterLock.YieldToWaiters();
    InnerLock.YieldToWaiters();
  }
  runSteps_ = steps;
  host_.RunLoopEnded();
}

void ExecutionControl::RunInstructionSlowly(int speed, std::uint64_t& steps) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const auto period =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / speed));
  int planned = 1;
  {
    std::lock_guard outer(OuterLock);
    std::lock_guard inner(InnerLock);
    // The instruction's micro-steps up to and including the next fetch share its time.
    planned = 1 + StepCountAt(machine_.uM, machine_.CurrentRecord.state[Field::uPC]);
    baseline_ = machine_.CurrentRecord;
  }
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && i < planned && !PaceUntil(start + period * i / planned, speed)) return;
    bool fetched = false;
    {
      std::lock_guard outer(OuterLock);
      std::lock_guard inner(InnerLock);
      DoMicroStep();
      ++steps;
      EndStepOfRun();
      fetched = machine_.InstrFetched;
      if (fetched || i == 3) SyncMemoryAfterSteps();
    }
    // A breakpoint, a pause or a failed link: the epilogue shows the machine.
    if (!GoOn()) return;
    if (host_.RunStepDone() && !WaitUntilShown()) return;
    if (fetched) break;
  }
  PaceUntil(start + period, speed);
}

bool ExecutionControl::PaceUntil(std::chrono::steady_clock::time_point deadline, int speed) {
  std::unique_lock lock(paceMutex_);
  const bool interrupted = pace_.wait_until(
      lock, deadline, [&] { return terminate_.load() || !running_.load() || RunSpeed() != speed; });
  if (terminate_.load()) running_.store(false);
  return !interrupted;
}

bool ExecutionControl::WaitUntilShown() {
  std::unique_lock lock(paceMutex_);
  pace_.wait(lock, [&] { return stepShown_ || terminate_.load() || !running_.load(); });
  stepShown_ = false;
  if (terminate_.load()) running_.store(false);
  return running_.load();
}

void ExecutionControl::WakeWorker() {
  // Taking the mutex orders the change before the worker's next look at it.
  { std::lock_guard lock(paceMutex_); }
  pace_.notify_all();
}

void ExecutionControl::ShowRunStep() {
  if (Running()) {
    refreshing_ = true;
    AnimationEnabled = false;
    host_.RepaintMemory();
    RefreshAfterStep();
    host_.DecodeTransfer();
    refreshing_ = false;
  }
  {
    std::lock_guard lock(paceMutex_);
    stepShown_ = true;
  }
  pace_.notify_all();
}

void ExecutionControl::RefreshDuringRun() {
  if (!Running() || RunSpeed() != kFullSpeed || refreshing_) return;
  // A message box opened by a view runs a nested event loop: its timer ticks must not come
  // back here while this thread holds the locks.
  refreshing_ = true;
  {
    std::lock_guard outer(OuterLock);
    std::lock_guard inner(InnerLock);
    const bool animation = AnimationEnabled;
    AnimationEnabled = false;
    host_.RepaintMemory();
    RefreshAfterStep();
    AnimationEnabled = animation;
    baseline_ = machine_.CurrentRecord;
  }
  refreshing_ = false;
}

void ExecutionControl::SetRunSpeed(int instructionsPerSecond) {
  {
    // A run at full speed looks at the speed only when it lets go of the machine, which it
    // does for a waiter.
    std::unique_lock<StepMutex> outer, inner;
    if (Running()) {
      outer = std::unique_lock(OuterLock);
      inner = std::unique_lock(InnerLock);
    }
    speed_ = instructionsPerSecond < 0 ? kFullSpeed : instructionsPerSecond;
  }
  WakeWorker();
}

void ExecutionControl::SetBreakpoints(const BreakpointSet& breakpoints) {
  std::unique_lock<StepMutex> outer, inner;
  if (Running()) {
    outer = std::unique_lock(OuterLock);
    inner = std::unique_lock(InnerLock);
  }
  breakpoints_ = breakpoints;
  runBreaks_ = breakpoints;
  if (oneShot_) runBreaks_.set(*oneShot_);
}

void ExecutionControl::SetBreakpointLines(const std::vector<int>& lines) {
  BreakpointSet set;
  if (program_.AssembledOK())
    for (int line : lines)
      if (const std::optional<std::uint32_t> address = program_.LineToAddress(line))
        set.set(*address & 0xFF);
  SetBreakpoints(set);
}

void ExecutionControl::ClearRunning() {
  running_.store(false, std::memory_order_release);
  WakeWorker();
}

void ExecutionControl::FinishRun() {
  if (worker_.joinable()) worker_.join();
  oneShot_.reset();
  runBreaks_ = breakpoints_;
  AnimationEnabled = true;
  SyncMemoryAfterSteps();
  host_.RepaintMemory();
  host_.RefreshMicroViews();
  host_.BuildLAChannels();
  // The diagram shows the word the next step executes and the values the run left.
  host_.DecodeTransfer();
  host_.RefreshDiagram();
  host_.UpdateButtons();
  GotoPC(machine_.InstrAddr, kProgramCounterMark);
}

void ExecutionControl::Pause() {
  if (Running()) {
    terminate_ = true;
    WakeWorker();
  }
  Stepped = true;
}

void ExecutionControl::Reset() {
  if (!CheckDebug()) return;
  Stepped = true;
  machine_.InstrAddr = 0;
  machine_.ResetMachine();
  box_.BoxReset();
  ShowResetViews();
}

void ExecutionControl::ShowResetViews() {
  baseline_ = machine_.CurrentRecord;
  host_.ClearDisassemblyCache();
  host_.DecodeTransfer();
  host_.RefreshMicroViews();
  host_.RepaintMemory();  // an assembly changes EM without a step
  host_.ResetLAView();
  host_.BuildLAChannels();
  host_.RefreshDiagram();
  GotoPC(machine_.InstrAddr, kProgramCounterMark);
}

void ExecutionControl::Interrupt() {
  {
    // The worker copies CurrentRecord in and out around every step; setting the bit between
    // two steps keeps it from being lost.
    std::lock_guard outer(OuterLock);
    std::lock_guard inner(InnerLock);
    machine_.history.Newest().state[Field::STATUS] |= status::IREQ;
    if (Simulation) {
      machine_.CurrentRecord.state[Field::STATUS] |= status::IREQ;
      machine_.state[Field::STATUS] |= status::IREQ;
    }
  }
  if (!Simulation) {
    if (Running()) box_.IntRequest = true;
    else box_.BoxIntPulse();
  }
  host_.RefreshDiagram();
}

}  // namespace edumac8
