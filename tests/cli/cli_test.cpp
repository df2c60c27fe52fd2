// edumac8-cli as a teacher's script would use it: exit codes, messages and output formats.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_fixture.h"
#include "isa/ins_file.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "support/machine_fixture.h"

namespace edumac8 {
namespace {

TEST_F(CliFixture, UsageErrorsExitTwo) {
  for (const char* args : {"", "frobnicate", "run", "run a.bin --steps x", "run a.bin --bogus",
                           "export nothing out.csv"}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << args;
  }
}

TEST_F(CliFixture, BadInputGivesAMessageAndExitOne) {
  Write("SHORT.BIN", std::string(100, '\0'));
  Write("FOREIGN.INS", "not an instruction system");
  struct Case {
    std::string args, message;
  };
  for (const Case& c :
       {Case{"run " + Path("NONE.BIN"), "读文件错误：" + Path("NONE.BIN")},
        Case{"run " + Path("SHORT.BIN"), "256"}, Case{"disasm " + Path("NONE.BIN"), "读文件错误："},
        Case{"ins-save /nonexistent/dir/X.INS", "写文件错误：/nonexistent/dir/X.INS"},
        Case{"run " + Path("SHORT.BIN") + " --ins " + Path("FOREIGN.INS"),
             "文件格式错误：" + Path("FOREIGN.INS")}}) {
    const Result r = Cli(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
  }
}

TEST_F(CliFixture, FailedAssemblyPrintsTheWorkbenchText) {
  Write("BAD.ASM", "NOP\nNOP\nJMP NOWHERE\n");
  const Result r = Cli("asm " + Path("BAD.ASM"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "行: 3, 错误 353: 符号未定义: NOWHERE" + std::string(25, ' ') + "\n");
  EXPECT_FALSE(fs::exists(Path("BAD.BIN")));
}

TEST_F(CliFixture, AsmWritesImageAndListing) {
  Write("OK.asm", "MOV A,#12H\n");
  EXPECT_EQ(Cli("asm " + Path("OK.asm")).status, 0);
  EXPECT_EQ(fs::file_size(Path("OK.bin")), 256u);
  EXPECT_TRUE(fs::exists(Path("OK.lst")));
}

TEST_F(CliFixture, DumpIsTheHistoryThenTheMemory) {
  Write("P.ASM", "MOV A,#5\nL: ADD A,#1\nJMP L\n");
  const Result r = Cli("run " + Path("P.ASM") + " --steps 10 --dump");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 12u) << "the reset record, ten steps, the memory";

  test::DefaultMachine d;
  d.Load({0x7C, 0x05, 0x1C, 0x01, 0xAC, 0x02});
  for (int i = 0; i < 10; ++i) d.m.MicroStep();
  const auto hex = [](const std::uint8_t* bytes, std::size_t n) {
    std::string s;
    char b[3];
    for (std::size_t i = 0; i < n; ++i) {
      std::snprintf(b, sizeof b, "%02X", bytes[i]);
      s += b;
    }
    return s;
  };
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(lines[i], hex(d.m.history[i].state.bytes.data(), 48));
  EXPECT_EQ(lines[11], "EM " + hex(d.m.EM.data(), 256));
}

TEST_F(CliFixture, RunPrintsRegistersAndTakesInterrupts) {
  fs::copy_file(fs::path(EDUMAC8_SAMPLES_DIR) / "interrupt.asm", Path("interrupt.asm"));
  const Result r =
      Cli("run " + Path("interrupt.asm") + " --steps 300 --irq-after 30 --irq-after 150");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("R0=02"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("OUT=02"), std::string::npos) << r.out;
}

TEST_F(CliFixture, InsSaveWritesTheDefaultSystem) {
  ASSERT_EQ(Cli("ins-save " + Path("D.INS")).status, 0);
  InstructionSystem isa;
  MicroProgram uM{};
  isa.LoadDefaults(uM);
  EXPECT_EQ(ReadWholeFile(Path("D.INS")).value_or(""), EncodeInsFile(isa, uM));
}

TEST_F(CliFixture, ExportsAndDisassembly) {
  ASSERT_EQ(Cli("export inst " + Path("I.CSV")).status, 0);
  EXPECT_EQ(Lines(*ReadWholeFile(Path("I.CSV"))).size(), 66u);
  Write("T.ASM", "NOP\nNOP\n");
  ASSERT_EQ(Cli("export trace " + Path("T.CSV") + " " + Path("T.ASM") + " --steps 3").status, 0);
  EXPECT_EQ(Lines(*ReadWholeFile(Path("T.CSV"))).size(), 2u + 4u);
  const Result d = Cli("disasm " + Path("T.BIN"));
  ASSERT_EQ(d.status, 0);
  const auto lines = Lines(d.out);
  ASSERT_EQ(lines.size(), 256u) << "254 one-byte _FATCH_ op-codes after the two NOPs";
  EXPECT_EQ(lines[0], "00 E0     NOP    ");
}

}  // namespace
}  // namespace edumac8
