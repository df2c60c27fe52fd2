// Which of the values the views show differ between two records, so that they can mark what
// a step changed: the registers, the flags C and Z, the bytes of EM.
#pragma once

#include <bitset>

#include "machine/machine_state.h"

namespace edumac8 {

struct StateChanges {
  std::bitset<48> bytes;  // by MachineState byte offset
  bool carry = false;     // RCy
  bool zero = false;      // RZ

  bool Changed(Field f) const { return bytes[static_cast<std::size_t>(f)]; }
};

StateChanges CompareStates(const MachineState& before, const MachineState& after);
std::bitset<256> CompareMemory(const ProgramMemory& before, const ProgramMemory& after);

}  // namespace edumac8
