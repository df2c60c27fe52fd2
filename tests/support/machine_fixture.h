// Helpers shared by the core tests: a machine with the default instruction system and
// micro-words written from signal lists.
#pragma once

#include <initializer_list>

#include "isa/instruction_system.h"
#include "machine/machine.h"

namespace edumac8::test {

// The micro-word with exactly these signals asserted (CN: bit set), ALU code `s` and bus
// source `x`.
inline std::uint32_t Word(std::initializer_list<Signal> asserted, unsigned x = 7, unsigned s = 7) {
  std::uint32_t w = kWordMask & ~(1u << static_cast<int>(Signal::CN));
  w = (w & ~0xE7u) | (x << 5) | s;
  for (Signal sig : asserted) w ^= 1u << static_cast<int>(sig);
  return w;
}

// A machine loaded with the default instruction system and reset.
struct DefaultMachine {
  Machine m;
  InstructionSystem isa;
  DefaultMachine() {
    isa.LoadDefaults(m.uM);
    m.ResetMachine();
  }
  // Puts bytes into EM from address 0 and resets.
  void Load(std::initializer_list<std::uint8_t> bytes) {
    m.EM.fill(0);
    int a = 0;
    for (std::uint8_t b : bytes) m.EM[a++] = b;
    m.SnapshotTo(m.CurrentRecord);
    m.ResetMachine();
  }
  // Runs micro-steps until `n` instructions have been fetched after the first fetch.
  void Instructions(int n) {
    for (int fetched = -1; fetched < n;) {
      m.MicroStep();
      if (m.InstrFetched) ++fetched;
    }
  }
  std::uint8_t operator[](Field f) const { return m.state[f]; }
};

}  // namespace edumac8::test
