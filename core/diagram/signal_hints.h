// The hints of the structure diagram's blocks: a title line, then one line per sentence that
// explains a control signal of the decoded micro-word concerning the block.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "diagram/flow_layout.h"

namespace edumac8 {

// By block index; the ALU's entry is the hint of the ALU symbol.
using SignalHints = std::array<std::string, kBlockCount>;

// Before the first decoding: each block's name.
SignalHints StartupHints();
// For micro-word `u`; the register blocks also tell whether IR selects them.
SignalHints UpdateSignalHints(std::uint32_t u, std::uint8_t ir);

}  // namespace edumac8
