// The assembler against hostile sources and file systems: deep nesting, outputs that cannot be
// written, sources named like their own outputs, sources too large to be real.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "asm/assembler.h"
#include "support/assembly_fixture.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

struct Nesting {
  const char* name;
  std::string source;
  int number;  // 0: assembles
};

class NestingDepth : public ::testing::TestWithParam<Nesting> {};

TEST_P(NestingDepth, IsBoundedAndReportedAtItsLine) {
  test::AssemblyFixture f;
  const Nesting& c = GetParam();
  const bool ok = f.Assemble(c.source);
  if (c.number == 0) {
    EXPECT_TRUE(ok) << f.assembler.ErrorText();
    return;
  }
  ASSERT_FALSE(ok);
  EXPECT_EQ(f.ErrorNumber(), c.number) << f.assembler.ErrorText();
  EXPECT_EQ(f.assembler.ErrorLine(), 2);
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Sources, NestingDepth,
    ::testing::Values(
        Nesting{"SixtyFourParentheses",
                "NOP\nX EQU " + Repeat("(", 64) + "1" + Repeat(")", 64) + "\n", 0},
        Nesting{"SixtyFiveParentheses",
                "NOP\nX EQU " + Repeat("(", 65) + "1" + Repeat(")", 65) + "\n", 348},
        Nesting{"SixtyFourNots", "NOP\nDB " + Repeat("!", 64) + "1\n", 0},
        Nesting{"SixtyFiveNots", "NOP\nDB " + Repeat("!", 65) + "1\n", 348},
        Nesting{"MixedDeep", "NOP\nMOV A,#" + Repeat("!(", 40) + "1" + Repeat(")", 40) + "\n", 348},
        Nesting{"TenThousandParentheses", "NOP\nX EQU " + Repeat("(", 10000) + "\n", 348},
        Nesting{"TenThousandNots", "NOP\nX EQU " + Repeat("!", 10000) + "\n", 348},
        Nesting{"ManyShallowGroups", "NOP\nX EQU " + Repeat("(1)+", 5000) + "1\n", 0}),
    [](const auto& info) { return info.param.name; });

TEST(AssemblerOutputs, AnOutputThatCannotBeWrittenFailsTheAssembly) {
  for (const char* blocked : {"T.BIN", "T.LST"}) {
    SCOPED_TRACE(blocked);
    test::AssemblyFixture f;
    std::ofstream(f.PathOf("T.BIN")) << "stale";
    fs::remove(f.PathOf(blocked));
    fs::create_directory(f.PathOf(blocked));  // a directory where the file should go
    EXPECT_FALSE(f.Assemble("NOP\n"));
    EXPECT_EQ(f.assembler.ErrorText(), "写文件错误：" + f.PathOf(blocked));
    EXPECT_EQ(f.assembler.ErrorLine(), 0);
    EXPECT_FALSE(f.assembler.AssembledOK());
    if (std::string(blocked) == "T.LST") {
      EXPECT_EQ(ReadWholeFile(f.PathOf("T.BIN")), "stale") << "no image after a failed listing";
    }
  }
}

// A full disk, as a file-size limit shows it: the listing's write fails.
TEST(AssemblerOutputs, AFullDiskFailsTheAssembly) {
  test::AssemblyFixture f;
  std::string source;
  for (int i = 0; i < 100; ++i) source += "NOP ; one of many lines\n";
  std::ofstream(f.PathOf("T.ASM")) << source;
  const pid_t pid = fork();
  if (pid == 0) {
    IgnoreFileSizeSignal();
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool ok = f.assembler.AssembleSource(f.PathOf("T.ASM"));
    _exit(!ok && f.assembler.ErrorText() == "写文件错误：" + f.PathOf("T.LST") ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists(f.PathOf("T.LST")));
  EXPECT_FALSE(fs::exists(f.PathOf("T.BIN")));
}

TEST(AssemblerOutputs, ASourceNamedLikeItsOutputIsNeverOverwritten) {
  struct Case {
    const char* source;
    const char* derived;
  };
  for (const Case& c : {Case{"X.LST", "X.LST"}, Case{"x.lst", "x.lst"}, Case{"X.BIN", "X.BIN"},
                        Case{"y.bin", "y.bin"}}) {
    SCOPED_TRACE(c.source);
    test::AssemblyFixture f;
    const std::string text = "NOP\n";
    std::ofstream(f.PathOf(c.source)) << text;
    EXPECT_FALSE(f.assembler.AssembleSource(f.PathOf(c.source)));
    EXPECT_EQ(f.assembler.ErrorText(), "写文件错误：" + f.PathOf(c.derived));
    EXPECT_EQ(ReadWholeFile(f.PathOf(c.source)), text);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(f.dir)) ++files;
    EXPECT_EQ(files, 1u) << "nothing is written";
  }
}

TEST(AssemblerOutputs, ASourceReachedThroughItsOutputsNameIsNeverOverwritten) {
  test::AssemblyFixture f;
  std::ofstream(f.PathOf("P.ASM")) << "NOP\n";
  fs::create_symlink(f.PathOf("P.ASM"), f.PathOf("P.LST"));
  EXPECT_FALSE(f.assembler.AssembleSource(f.PathOf("P.ASM")));
  EXPECT_EQ(f.assembler.ErrorText(), "写文件错误：" + f.PathOf("P.LST"));
  EXPECT_EQ(ReadWholeFile(f.PathOf("P.ASM")), "NOP\n");

  std::ofstream(f.PathOf("Q.ASM")) << "NOP\n";
  fs::create_hard_link(f.PathOf("Q.ASM"), f.PathOf("Q.BIN"));
  EXPECT_FALSE(f.assembler.AssembleSource(f.PathOf("Q.ASM")));
  EXPECT_EQ(f.assembler.ErrorText(), "写文件错误：" + f.PathOf("Q.BIN"));
  EXPECT_EQ(ReadWholeFile(f.PathOf("Q.ASM")), "NOP\n");
}

TEST(AssemblerOutputs, SourcesThatAreNoRealFileAreRefusedBeforeReading) {
  test::AssemblyFixture f;
  fs::create_directory(f.PathOf("DIR.ASM"));
  fs::create_symlink("/dev/zero", f.PathOf("ZERO.ASM"));
  {
    std::ofstream(f.PathOf("HUGE.ASM"));
    fs::resize_file(f.PathOf("HUGE.ASM"), kMaxInputFileBytes + 1);
  }
  for (const char* name : {"DIR.ASM", "ZERO.ASM", "HUGE.ASM"}) {
    EXPECT_FALSE(f.assembler.AssembleSource(f.PathOf(name)));
    EXPECT_EQ(f.assembler.ErrorText(), "行: 0, 错误 102: 读文件错:  " + f.PathOf(name));
  }
}

}  // namespace
}  // namespace edumac8
