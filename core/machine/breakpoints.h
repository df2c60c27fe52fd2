// Breakpoints: one bit per EM address. A run stops after the micro-step that fetches the
// instruction at a breakpoint, which leaves the machine where a sequence of step commands
// would show that instruction as the current one.
#pragma once

#include <bitset>

#include "machine/machine.h"

namespace edumac8 {

using BreakpointSet = std::bitset<256>;

inline bool StopsAtBreakpoint(const Machine& m, const BreakpointSet& breakpoints) {
  return m.InstrFetched && breakpoints[m.InstrAddr & 0xFF];
}

}  // namespace edumac8
