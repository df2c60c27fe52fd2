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

// Reads a file into the system, all or nothing: the system and uM are replaced only when the
// whole file was read and every record holds. A file that cannot be opened or is cut short
// gives "读文件错误：" and the name; a foreign signature, a defined byte other than 0 or 1, an
// operand kind above 5, or a control character (below 20H, or 7FH) in a mnemonic or a comment
// gives "文件格式错误：" and the name. Returns the error text, or nothing.
std::optional<std::string> LoadInsFile(const std::string& path, InstructionSystem& isa,
                                       MicroProgram& uM);

extern const char kInsSignature[34];

}  // namespace edumac8
