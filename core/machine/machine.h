// Machine: the records of the model machine and the micro-step engine that works on them.
// The live EM and MachineState are what views display; every micro-step starts from
// CurrentRecord and leaves its result in the live state, CurrentRecord and the history.
#pragma once

#include <cstdint>

#include "machine/machine_state.h"
#include "machine/micro_word.h"
#include "machine/trace_history.h"

namespace edumac8 {

class Machine {
 public:
  Machine();

  // Live records.
  ProgramMemory EM{};
  MicroProgram uM{};
  MachineState state;
  TraceRecord CurrentRecord;
  TraceHistory history;
  StepCounts StepCountTable{};
  std::uint32_t InstrAddr = 0;
  bool InstrFetched = false;
  // Box-mode interrupt edge memory.
  bool IAckNow = false;
  bool IAckSeen = false;

  void LoadMicroWord(std::uint32_t cell);
  std::uint32_t CurrentMicroWord() const { return WordOf(state); }
  void SnapshotTo(TraceRecord& record) const;
  void RestoreFrom(const TraceRecord& record);
  void BuildStepCountTable();
  void AppendTrace(const TraceRecord& record) { history.Append(record); }
  // Micro-steps executed since the last ResetMachine, in simulation and on the box (every
  // step appends one record after the reset's own). Safe to read during a run.
  std::uint64_t MicroStepsSinceReset() const {
    const std::uint64_t records = history.Appended();
    return records > 0 ? records - 1 : 0;
  }

  // Combinational phase: F bits 5-4, D, L, R, the driver counts, the three buses, EMData.
  void Evaluate();
  // Latch phase: register, memory and sequencer updates, using the buses Evaluate left.
  void Latch();
  // One complete simulated micro-step, appended to the history.
  void MicroStep();
  // The same step leaving the live records as they were; MicroStep is this followed by
  // RestoreFrom(CurrentRecord). For the run worker, which brings the live records up to date
  // only when it lets go of the locks.
  void StepCurrentRecord();
  void ResetMachine();

 private:
  static void LoadWordInto(MachineState& s, std::uint32_t cell);
  static void EvaluateOn(MachineState& s, const ProgramMemory& em);
  void LatchOn(MachineState& s, ProgramMemory& em);
};

// The remaining micro-steps of the instruction at micro-address `a`, by the rule the
// StepCountTable follows.
std::uint8_t StepCountAt(const MicroProgram& uM, int a);

}  // namespace edumac8
