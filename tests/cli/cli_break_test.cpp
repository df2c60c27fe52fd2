// edumac8-cli run --break: where the run stops, how ADDR is written, and what is printed.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"

namespace edumac8 {
namespace {

struct BreakFixture : CliFixture {
  std::string Sample(const std::string& name) {
    fs::copy_file(fs::path(EDUMAC8_SAMPLES_DIR) / name, Path(name),
                  fs::copy_options::overwrite_existing);
    return Path(name);
  }
  std::string RunLoop(const std::string& options) {
    return Cli("run " + Sample("loop.asm") + " " + options).out;
  }
};

// The loop head NEXT of loop.asm is at 06H, fetched by the seventh micro-step.
TEST_F(BreakFixture, AnAddressInEveryRadixOrALabel) {
  const std::string expected = RunLoop("--steps 7");
  for (const char* addr : {"6", "06H", "6h", "110B", "6O", "6D", "NEXT", "next"}) {
    const Result r = Cli("run " + Sample("loop.asm") + " --break " + addr);
    ASSERT_EQ(r.status, 0) << addr << ": " << r.err;
    EXPECT_EQ(r.out, "break at 06H after 7 micro-steps\n" + expected) << addr;
  }
}

TEST_F(BreakFixture, TheFirstBreakpointReachedStopsTheRun) {
  const auto first = Lines(RunLoop("--break DONE --break NEXT --break HALT"));
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first[0], "break at 06H after 7 micro-steps");
  EXPECT_EQ(Lines(RunLoop("--break 0"))[0], "break at 00H after 1 micro-steps");
}

TEST_F(BreakFixture, StepsRunOutBeforeTheBreakpoint) {
  EXPECT_EQ(RunLoop("--steps 6 --break NEXT"), RunLoop("--steps 6"));
}

TEST_F(BreakFixture, DumpEndsAtTheStoppingMicroStep) {
  const auto stopped = Lines(RunLoop("--break NEXT --dump"));
  const auto counted = Lines(RunLoop("--steps 7 --dump"));
  ASSERT_EQ(stopped.size(), 9u) << "the reset record, seven steps, the memory";
  EXPECT_EQ(stopped, counted);
}

TEST_F(BreakFixture, ABreakpointInTheInterruptRoutine) {
  const std::string source = Sample("interrupt.asm");
  const Result r = Cli("run " + source + " --irq-after 30 --break 0E3H");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  const std::string prefix = "break at E3H after ";
  ASSERT_EQ(lines[0].substr(0, prefix.size()), prefix);
  const std::string steps =
      lines[0].substr(prefix.size(), lines[0].find(' ', prefix.size()) - prefix.size());
  EXPECT_GT(std::stoi(steps), 30);
  // The same machine as a run of that many steps, inside the routine.
  const Result counted = Cli("run " + source + " --irq-after 30 --steps " + steps);
  EXPECT_EQ(lines[1] + "\n" + lines[2] + "\n", counted.out);
  EXPECT_NE(lines[1].find("PC=E4"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("IACK=1"), std::string::npos) << lines[2];
}

TEST_F(BreakFixture, BadAddressesAreUsageErrors) {
  const std::string source = Sample("loop.asm");
  fs::copy_file(fs::path(EDUMAC8_SAMPLES_DIR) / "loop.asm", Path("L.ASM"));
  ASSERT_EQ(Cli("asm " + Path("L.ASM")).status, 0);
  struct Case {
    std::string args, message;
  };
  for (const Case& c : {Case{"run " + source + " --break NOWHERE", "unknown label 'NOWHERE'"},
                        Case{"run " + source + " --break 100H", "'100H'"},
                        Case{"run " + source + " --break 0GH", "'0GH'"},
                        Case{"run " + source + " --break 12B", "'12B'"},
                        Case{"run " + source + " --break", "--break needs a value"},
                        Case{"run " + Path("L.BIN") + " --break NEXT", "needs a SOURCE"}}) {
    const Result r = Cli(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << c.args;
  }
  // An image takes numbers.
  EXPECT_EQ(Lines(Cli("run " + Path("L.BIN") + " --break 06H").out)[0],
            "break at 06H after 7 micro-steps");
}

}  // namespace
}  // namespace edumac8
