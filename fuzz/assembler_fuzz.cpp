// Any bytes as an assembly source: the assembler must report an error or succeed, never
// crash, read or write out of bounds, exhaust the stack, or leave EM.
//
// The source and its listing and image live in a private directory that every run empties and
// that is removed at exit, so a fuzzing session leaves no files behind.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "asm/assembler.h"
#include "platform/file_io.h"

namespace {

class Target {
 public:
  Target() {
    isa.LoadDefaults(uM);
    // A few unusual mnemonics, so the keyword index sees long and one-letter names too. The
    // one-letter one is not X: seeds name their constants X.
    isa.ModifyEntry(1, "LONGNAME1", edumac8::OpA, edumac8::OpMem);
    isa.ModifyEntry(2, "Q", edumac8::OpImm, edumac8::OpMem);
    std::string templ = "/dev/shm/edumac8-fuzz-XXXXXX";
    if (!mkdtemp(templ.data())) std::abort();
    dir_ = templ;
  }
  ~Target() {
    RemoveOutputs();
    rmdir(dir_.c_str());
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  std::string Source() const { return dir_ + "/F.ASM"; }
  void RemoveOutputs() const {
    for (const char* name : {"/F.ASM", "/F.LST", "/F.BIN"}) unlink((dir_ + name).c_str());
  }

  edumac8::InstructionSystem isa;
  edumac8::MicroProgram uM{};
  edumac8::ProgramMemory em{};
  edumac8::BoxOperations box;
  edumac8::Assembler assembler{isa, uM, em, box};

 private:
  std::string dir_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Target t;
  if (!edumac8::WriteFileAtomic(t.Source(), {reinterpret_cast<const char*>(data), size},
                                edumac8::Durability::Derived))
    return 0;
  if (t.assembler.AssembleSource(t.Source())) {
    for (std::uint32_t a = 0; a < 256; ++a) (void)t.assembler.AddressToLine(a);
  } else if (t.assembler.ErrorText().empty()) {
    __builtin_trap();  // a failure always has its text
  }
  for (int line = 0; line < 1005; line += 7) (void)t.assembler.LineToAddress(line);
  t.RemoveOutputs();
  return 0;
}
