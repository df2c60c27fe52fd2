// The cell texts of the instruction-set grid, the micro-program grid and the trace grid. The
// windows and the CSV exports both take their rows from here.
#pragma once

#include <array>
#include <string>

#include "isa/instruction_system.h"
#include "machine/machine.h"

namespace edumac8 {

using InstrGridRow = std::array<std::string, 5>;
using MicroGridRow = std::array<std::string, 11>;

InstrGridRow InstrGridHeader();
InstrGridRow InstrGridRowOf(const InstructionSystem& isa, int entry);
// Column 1 of an entry's row: the op-code in binary and its range in hex.
std::string OpcodeBinaryText(std::uint8_t opcode);
// Columns 2 and 3 for the given kinds: "II", "MM" or empty.
std::string OperandByteText(std::uint8_t kind1, std::uint8_t kind2);
std::string SecondOperandByteText(std::uint8_t kind1, std::uint8_t kind2);

MicroGridRow MicroGridHeader();
// Row of micro-address a; `uPC` marks the current one. Needs an up-to-date StepCountTable.
MicroGridRow MicroGridRowOf(const InstructionSystem& isa, const Machine& m, int a);
// Row of history record i (empty cells beyond the history).
MicroGridRow TraceGridRowOf(const InstructionSystem& isa, const Machine& m, int i);

}  // namespace edumac8
