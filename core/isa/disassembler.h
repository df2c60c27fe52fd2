// Machine code back to text with the current instruction set.
#pragma once

#include <cstdint>
#include <string>

#include "isa/instruction_system.h"
#include "machine/machine_state.h"

namespace edumac8 {

struct DisassembledLine {
  std::string text;
  int length = 1;
};

// One line of the disassembly window: address, code bytes, mnemonic field of 7, operands.
DisassembledLine DisassembleAt(const InstructionSystem& isa, const ProgramMemory& em,
                               std::uint8_t address);

// An instruction from bytes handed in, for the trace window: address, mnemonic field of 6,
// operands.
std::string FormatInstruction(const InstructionSystem& isa, std::uint8_t address,
                              std::uint8_t opcode, std::uint8_t operand1, std::uint8_t operand2);

}  // namespace edumac8
