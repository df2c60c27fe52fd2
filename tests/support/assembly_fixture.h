// Assembles source texts written to a temporary directory with the default instruction set.
#pragma once

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "asm/assembler.h"
#include "machine/machine.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace edumac8::test {

struct AssemblyFixture {
  std::filesystem::path dir;
  InstructionSystem isa;
  Machine m;
  BoxOperations box;
  Assembler assembler{isa, m.uM, m.EM, box};

  AssemblyFixture() {
    // A fresh directory each time: one left behind by a killed run must not be reused.
    std::string name = (std::filesystem::temp_directory_path() / "asm_XXXXXX").string();
    if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
    dir = name;
    isa.LoadDefaults(m.uM);
  }
  ~AssemblyFixture() { std::filesystem::remove_all(dir); }

  std::string PathOf(const std::string& name) const { return (dir / name).string(); }

  // Writes the UTF-8 text as a GB2312 file and assembles it.
  bool Assemble(const std::string& utf8Source, const std::string& name = "T.ASM") {
    std::ofstream(PathOf(name), std::ios::binary) << Utf8ToGb2312(utf8Source);
    return assembler.AssembleSource(PathOf(name));
  }
  std::string Listing(const std::string& name = "T.LST") const {
    return Gb2312ToUtf8(ReadWholeFile(PathOf(name)).value_or(""));
  }
  // The error number of the failed assembly's text ("行: 3, 错误 353: ...").
  int ErrorNumber() const {
    const std::string& t = assembler.ErrorText();
    const std::size_t at = t.find("错误 ");
    return at == std::string::npos ? -1 : std::stoi(t.substr(at + std::string("错误 ").size()));
  }
};

}  // namespace edumac8::test
