// The controller VHDL of the whole machine in its two styles, micro-programmed (the
// micro-program as a ROM indexed by uPC) and combinational (every control signal decoded from
// the op-code and a step counter), and the image of EM that the memory of both designs loads.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "isa/instruction_system.h"
#include "machine/machine.h"

namespace edumac8 {

inline constexpr const char* kMicroVhdlFile = "EDUMAC8_U.VHD";
inline constexpr const char* kCombinationalVhdlFile = "EDUMAC8_C.VHD";
inline constexpr const char* kMemoryImageFile = "EDUMAC8.mem";

// The lines of the three files, UTF-8, without line ends.
struct VhdlFiles {
  std::vector<std::string> micro;          // EDUMAC8_U.VHD
  std::vector<std::string> combinational;  // EDUMAC8_C.VHD
  std::vector<std::string> memory;         // EDUMAC8.mem
};

// Both VHDL files from one pass over the skeleton. `steps` must be the StepCountTable of `uM`;
// the texts of the groups come from isa.InstrTextTable.
VhdlFiles GenerateVhdl(const InstructionSystem& isa, const MicroProgram& uM,
                       const StepCounts& steps, const ProgramMemory& em);

// The generation command: rebuilds the machine's StepCountTable first.
VhdlFiles GenerateVhdl(const InstructionSystem& isa, Machine& machine);

// Writes the three files into `dir` (created when missing) as GB2312 text with CR LF, as one
// set: all three are written under temporary names before any replaces its old version, so a
// failure leaves the old set as it was. Returns the path of the file that failed; nothing
// when all were written. An empty `dir` fails.
std::optional<std::string> WriteVhdlFiles(const std::string& dir, const VhdlFiles& files);

}  // namespace edumac8
