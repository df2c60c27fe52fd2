// Any bytes as an assembly source: the assembler must report an error or succeed, never
// crash, read or write out of bounds, or leave EM.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "asm/assembler.h"
#include "platform/file_io.h"

namespace {

struct Target {
  edumac8::InstructionSystem isa;
  edumac8::MicroProgram uM{};
  edumac8::ProgramMemory em{};
  edumac8::BoxOperations box;
  edumac8::Assembler assembler{isa, uM, em, box};
  std::string path = "/dev/shm/edumac8_fuzz_" + std::to_string(getpid()) + ".ASM";
  Target() {
    isa.LoadDefaults(uM);
    // A few unusual mnemonics, so the keyword index sees long and one-letter names too.
    isa.ModifyEntry(1, "LONGNAME1", edumac8::OpA, edumac8::OpMem);
    isa.ModifyEntry(2, "X", edumac8::OpImm, edumac8::OpMem);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Target t;
  if (!edumac8::WriteFileAtomic(t.path, {reinterpret_cast<const char*>(data), size},
                                edumac8::Durability::Derived))
    return 0;
  if (t.assembler.AssembleSource(t.path)) {
    for (std::uint32_t a = 0; a < 256; ++a) (void)t.assembler.AddressToLine(a);
  } else if (t.assembler.ErrorText().empty()) {
    __builtin_trap();  // a failure always has its text
  }
  for (int line = 0; line < 1005; line += 7) (void)t.assembler.LineToAddress(line);
  return 0;
}
