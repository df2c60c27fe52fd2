// The box operations that execution control uses in box mode. The default does nothing and
// never fails, which is what a workbench without a box link sees.
#pragma once

#include <atomic>

#include "machine/machine_state.h"

namespace edumac8 {

class BoxOperations {
 public:
  virtual ~BoxOperations() = default;

  virtual void BoxStep() {}
  // Copies the box's 32-byte state reply over bytes 0-31 of `state`.
  virtual void BoxReadState(MachineState& /*state*/) {}
  virtual void BoxReadEM(ProgramMemory& /*em*/) {}
  // In simulation this only clears IntRequest.
  virtual void BoxReset() { IntRequest = false; }
  virtual void BoxIntPulse() {}
  // After a successful assembly: micro-program and program to the box, then a box reset.
  virtual void BoxDownload(const MicroProgram& /*uM*/, const ProgramMemory& /*em*/) {}
  virtual bool LinkFailed() const { return false; }

  // An interrupt pulse is owed to the box; the run worker sends it after its next state read.
  std::atomic<bool> IntRequest{false};
};

}  // namespace edumac8
