#include "machine/value_changes.h"

namespace edumac8 {

StateChanges CompareStates(const MachineState& before, const MachineState& after) {
  StateChanges changes;
  for (std::size_t i = 0; i < before.bytes.size(); ++i)
    changes.bytes[i] = before.bytes[i] != after.bytes[i];
  const std::uint8_t flags = before[Field::F] ^ after[Field::F];
  changes.carry = flags & flag::RCy;
  changes.zero = flags & flag::RZ;
  return changes;
}

std::bitset<256> CompareMemory(const ProgramMemory& before, const ProgramMemory& after) {
  std::bitset<256> changed;
  for (std::size_t a = 0; a < before.size(); ++a) changed[a] = before[a] != after[a];
  return changed;
}

}  // namespace edumac8
