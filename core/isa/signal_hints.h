// The hints that teach what a micro-word's bits and the micro-word grids' columns mean, in the
// words of the micro-word texts. Shown by the micro-program and trace windows.
#pragma once

#include <string>

namespace edumac8 {

// Bit n (0-23) of the micro-word: its name, what it does when asserted, and, for the
// active-low signals, "低电平有效" with what ticking its box means.
std::string SignalHint(int bit);

// Column c (0-10) of the micro-program and trace grids.
std::string MicroColumnHint(int column);

}  // namespace edumac8
