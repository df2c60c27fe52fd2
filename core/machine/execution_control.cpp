#include "machine/execution_control.h"

namespace edumac8 {

ExecutionControl::ExecutionControl(Machine& machine, Host& host, BoxOperations& box,
                                   const ProgramMap& program)
    : machine_(machine), host_(host), box_(box), program_(program) {}

ExecutionControl::~ExecutionControl() {
  terminate_ = true;
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
  if (worker_.joinable()) worker_.join();  // a finished run whose epilogue has not run yet
  terminate_ = false;
  running_ = true;
  host_.UpdateButtons();
  worker_ = std::thread([this] { RunLoop(); });
  Stepped = true;
}

void ExecutionControl::RunLoop() {
  const auto goOn = [this] { return running_.load(std::memory_order_relaxed) && !box_.LinkFailed(); };
  while (goOn()) {
    OuterLock.LockForWorker();
    InnerLock.LockForWorker();
    do {
      StepLeavingLiveBehind();
      if (terminate_.load(std::memory_order_relaxed)) running_.store(false);
    } while (goOn() && !OuterLock.Contended() && !InnerLock.Contended());
    SyncLiveRecords();
    InnerLock.unlock();
    OuterLock.unlock();
    OuterLock.YieldToWaiters();
    InnerLock.YieldToWaiters();
  }
  host_.RunLoopEnded();
}

void ExecutionControl::FinishRun() {
  if (worker_.joinable()) worker_.join();
  SyncMemoryAfterSteps();
  host_.RepaintMemory();
  host_.RefreshMicroViews();
  host_.BuildLAChannels();
  host_.UpdateButtons();
  GotoPC(machine_.InstrAddr, kProgramCounterMark);
}

void ExecutionControl::Pause() {
  if (Running()) terminate_ = true;
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
