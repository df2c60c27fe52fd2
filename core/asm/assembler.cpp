#include "asm/assembler.h"

namespace edumac8 {

class AssemblerTables {
 public:
  bool ok = false;
  std::string error;
  int errorLine = 0;
};

Assembler::Assembler(const InstructionSystem&, const MicroProgram&, ProgramMemory&,
                     BoxOperations&)
    : tables_(std::make_unique<AssemblerTables>()) {}
Assembler::~Assembler() = default;
bool Assembler::AssembleSource(const std::string&) { return false; }
const std::string& Assembler::ErrorText() const { return tables_->error; }
int Assembler::ErrorLine() const { return tables_->errorLine; }
bool Assembler::AssembledOK() const { return tables_->ok; }
void Assembler::ClearAssembledOK() { tables_->ok = false; }
std::optional<SourceLine> Assembler::AddressToLine(std::uint32_t) const { return std::nullopt; }
std::optional<std::uint32_t> Assembler::LineToAddress(int) const { return std::nullopt; }

}  // namespace edumac8
