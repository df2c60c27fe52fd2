// edumac8-cli given what a careless or hostile user gives it: odd numbers, empty names, files
// that are no files, outputs that cannot be written. It never hangs, crashes or damages files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "cli/cli_fixture.h"

namespace edumac8 {
namespace {


// Every command runs under a time limit: a hang shows as a failure (status 124), not as a
// test that never ends.
constexpr const char* kLimit = "timeout 60";

std::string Deep(int levels) { return "X EQU " + std::string(levels, '(') + "\n"; }

TEST_F(CliFixture, NumbersAreDigitsWithinTheirRange) {
  Write("P.ASM", "L: JMP L\n");
  const std::string run = "run " + Path("P.ASM");
  for (const char* option :
       {"--steps 99999999999999999999", "--steps 100000001", "--steps -1", "--steps +5",
        "--steps ' 5'", "--steps '5 '", "--steps 0x10", "--steps 5x", "--steps ''",
        "--irq-after 100000001", "--irq-after 1e3", "--irq-after -0", "--irq-after"}) {
    const Result r = Cli(run + " " + option, kLimit);
    EXPECT_EQ(r.status, 2) << option;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << option;
  }
  for (const char* option : {"--steps 0", "--steps 007", "--irq-after 100000000 --steps 3"}) {
    const Result r = Cli(run + " " + option, kLimit);
    EXPECT_EQ(r.status, 0) << option << ": " << r.err;
  }
}

TEST_F(CliFixture, AnEmptyNameIsAUsageError) {
  Write("P.ASM", "NOP\n");
  const std::string cd = std::string(kLimit) + " env --chdir=" + dir.string();
  for (const std::string& args : std::vector<std::string>{
           "asm ''", "run ''", "disasm ''", "ins-save ''", "vhdl ''", "vhdl '' " + Path("P.ASM"),
           "export inst ''", "la '' " + Path("P.ASM"), "run " + Path("P.ASM") + " --ins ''"}) {
    const Result r = Cli(args, cd);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << args;
  }
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 2u) << "only P.ASM and the captured stderr";
}

TEST_F(CliFixture, WhatIsNoPlainFileIsAReadErrorWithoutWaitingOrReading) {
  Write("P.ASM", "NOP\n");
  fs::create_directory(Path("DIR.BIN"));
  fs::create_directory(Path("DIR.INS"));
  fs::create_directory(Path("DIR.ASM"));
  fs::create_symlink("/dev/zero", Path("ZERO.BIN"));
  fs::create_symlink("/dev/zero", Path("ZERO.INS"));
  mkfifo(Path("FIFO.INS").c_str(), 0600);
  mkfifo(Path("FIFO.BIN").c_str(), 0600);
  {
    std::ofstream(Path("HUGE.BIN"));
    fs::resize_file(Path("HUGE.BIN"), 2147483648u);  // sparse
  }
  struct Case {
    std::string args, message;
  };
  const std::string p = Path("P.ASM");
  for (const Case& c : {
           Case{"run " + Path("DIR.BIN"), "读文件错误：" + Path("DIR.BIN")},
           Case{"disasm " + Path("DIR.BIN"), "读文件错误：" + Path("DIR.BIN")},
           Case{"run " + Path("ZERO.BIN"), "读文件错误：" + Path("ZERO.BIN")},
           Case{"run " + Path("FIFO.BIN"), "读文件错误：" + Path("FIFO.BIN")},
           Case{"run " + Path("HUGE.BIN"), "(2147483648 字节)"},
           Case{"run " + p + " --ins " + Path("DIR.INS"), "读文件错误：" + Path("DIR.INS")},
           Case{"run " + p + " --ins " + Path("ZERO.INS"), "读文件错误：" + Path("ZERO.INS")},
           Case{"run " + p + " --ins " + Path("FIFO.INS"), "读文件错误：" + Path("FIFO.INS")},
           Case{"asm " + Path("DIR.ASM"), "错误 102: 读文件错:  " + Path("DIR.ASM")},
       }) {
    const Result r = Cli(c.args, kLimit);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
  }
}

TEST_F(CliFixture, DeepNestingIsAnAssemblyErrorInEveryCommand) {
  Write("DEEP.ASM", Deep(10000));
  for (const std::string& command :
       std::vector<std::string>{"asm " + Path("DEEP.ASM"), "run " + Path("DEEP.ASM"),
                                "vhdl " + Path("OUT") + " " + Path("DEEP.ASM"),
                                "export trace " + Path("T.CSV") + " " + Path("DEEP.ASM"),
                                "la " + Path("T.VCD") + " " + Path("DEEP.ASM")}) {
    const Result r = Cli(command, kLimit);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.err, "行: 1, 错误 348: 程序中符号太多\n") << command;
  }
  EXPECT_FALSE(fs::exists(Path("OUT")));
  EXPECT_FALSE(fs::exists(Path("T.CSV")));
  EXPECT_FALSE(fs::exists(Path("T.VCD")));
}

TEST_F(CliFixture, OutputsThatCannotBeWrittenFailTheCommand) {
  Write("P.ASM", "NOP\n");
  Write("P.BIN", "stale");
  fs::create_directory(Path("P.LST"));
  Result r = Cli("asm " + Path("P.ASM"), kLimit);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "写文件错误：" + Path("P.LST") + "\n");
  EXPECT_EQ(ReadWholeFile(Path("P.BIN")), "stale");
  fs::remove(Path("P.LST"));
  fs::remove(Path("P.BIN"));
  fs::create_directory(Path("P.BIN"));
  r = Cli("asm " + Path("P.ASM"), kLimit);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "写文件错误：" + Path("P.BIN") + "\n");

  Write("SELF.LST", "NOP\n");
  r = Cli("asm " + Path("SELF.LST"), kLimit);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "写文件错误：" + Path("SELF.LST") + "\n");
  EXPECT_EQ(ReadWholeFile(Path("SELF.LST")), "NOP\n");
}

TEST_F(CliFixture, AFullStandardOutputFailsTheCommand) {
  Write("P.ASM", "NOP\n");
  for (const std::string& args :
       std::vector<std::string>{"run " + Path("P.ASM") + " --steps 5",
                                "run " + Path("P.ASM") + " --dump", "disasm " + Path("P.BIN")}) {
    const Result r = Cli(args + " >/dev/full", kLimit);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_EQ(r.err, "写文件错误：标准输出\n") << args;
  }
}

TEST_F(CliFixture, AFileSizeLimitFailsTheSaveAndLeavesNoTemporaryFile) {
  Write("D.INS", "old");
  const Result r = Cli("ins-save " + Path("D.INS"), std::string("ulimit -f 1;") + kLimit);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "写文件错误：" + Path("D.INS") + "\n");
  EXPECT_EQ(ReadWholeFile(Path("D.INS")), "old");
  for (const auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string().rfind(".edumac8-", 0), 0u) << e.path();
}

TEST_F(CliFixture, VhdlWritesAllThreeFilesOrNone) {
  Write("P.ASM", "NOP\n");
  fs::create_directory(Path("OUT"));
  std::ofstream(Path("OUT/EDUMAC8_U.VHD")) << "old U";
  fs::create_directory(Path("OUT/EDUMAC8.mem"));
  const Result r = Cli("vhdl " + Path("OUT") + " " + Path("P.ASM"), kLimit);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "写文件错误：" + Path("OUT/EDUMAC8.mem") + "\n");
  EXPECT_EQ(ReadWholeFile(Path("OUT/EDUMAC8_U.VHD")), "old U");
  EXPECT_FALSE(fs::exists(Path("OUT/EDUMAC8_C.VHD")));
}

}  // namespace
}  // namespace edumac8
