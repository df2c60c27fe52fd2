// The assembler: source text (GB2312) into EM, with the listing, the program image and the
// line map that ties program addresses to source lines.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "isa/instruction_system.h"
#include "machine/box_operations.h"
#include "machine/host.h"
#include "machine/machine_state.h"

namespace edumac8 {

class AssemblerTables;  // the fixed-size work tables, allocated once

class Assembler : public ProgramMap {
 public:
  Assembler(const InstructionSystem& isa, const MicroProgram& uM, ProgramMemory& em,
            BoxOperations& box);
  ~Assembler() override;

  // Assembles the file into EM, which starts all zeros once the source has been read, and,
  // on success, writes the .BIN beside the source and downloads to the box; the listing
  // (.LST) is written whenever pass 1 succeeds. A listing or image that cannot be written, or
  // that would replace the source itself, fails the assembly with "写文件错误：" and its path.
  // A path without an extension gets ".ASM". Returns AssembledOK. An empty path only
  // downloads.
  bool AssembleSource(const std::string& path);

  // The failed assembly's text, exactly as the workbench shows it ("行: 3, 错误 353: ..."),
  // and the line to put the caret on (0 when none).
  const std::string& ErrorText() const;
  int ErrorLine() const;
  // The number of bytes the last assembly placed in EM.
  int ProgramBytes() const;

  bool AssembledOK() const override;
  void ClearAssembledOK();  // when Make begins
  std::optional<SourceLine> AddressToLine(std::uint32_t address) const override;
  std::optional<std::uint32_t> LineToAddress(int line) const override;
  std::optional<CodeLine> FirstCodeLineFrom(int line) const override;
  // The address of a label of the last successful assembly (any letter case), if it has one.
  std::optional<std::uint16_t> LabelValue(const std::string& name) const;

 private:
  std::unique_ptr<AssemblerTables> tables_;
};

}  // namespace edumac8
