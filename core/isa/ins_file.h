// The instruction-system file (.INS): signature, 64 entry records, the 256 uM cells.
#pragma once

#include <optional>
#include <string>

#include "isa/instruction_system.h"
#include "machine/machine_state.h"

namespace edumac8 {

// The file's bytes for the given system.
std::string EncodeInsFile(const InstructionSystem& isa, const MicroProgram& uM);

// Writes atomically. Returns the error text ("写文件错误：" and the name) on failure. Either
// way the name is remembered and UMModified cleared.
std::optional<std::string> SaveInsFile(const std::string& path, InstructionSystem& isa,
                                       const MicroProgram& uM);

// Reads a file into the system. A file that cannot be opened or has a foreign signature
// changes nothing; a file cut short keeps what was read (entries after it undefined, uM cells
// after it as they were). A record with an operand kind above 5 cannot be a valid instruction
// and is passed over, leaving its entry undefined. Returns the error text, or nothing.
std::optional<std::string> LoadInsFile(const std::string& path, InstructionSystem& isa,
                                       MicroProgram& uM);

extern const char kInsSignature[34];

}  // namespace edumac8
