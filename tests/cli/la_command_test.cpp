// edumac8-cli la: the dump agrees with the run's own history, and a failure leaves nothing
// behind and nothing damaged.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "la/vcd_reader.h"

namespace edumac8 {
namespace {

using test::ReadVcd;
using test::VcdDump;

constexpr const char* kProgram = "MOV A,#5\nL: ADD A,#1\nOUT\nJMP L\n";

unsigned HexByte(const std::string& line, int offset) {
  return static_cast<unsigned>(std::stoul(line.substr(2 * offset, 2), nullptr, 16));
}

int VariableNamed(const VcdDump& dump, const std::string& name) {
  for (std::size_t v = 0; v < dump.variables.size(); ++v)
    if (dump.variables[v].name == name) return static_cast<int>(v);
  return -1;
}

TEST_F(CliFixture, LaWritesTheRunsSamples) {
  Write("P.ASM", kProgram);
  const Result r = Cli("la " + Path("P.VCD") + " " + Path("P.ASM") + " --steps 20");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  const VcdDump dump = ReadVcd(ReadWholeFile(Path("P.VCD")).value_or(""));
  ASSERT_TRUE(dump.errors.empty()) << dump.errors.front();
  ASSERT_EQ(dump.variables.size(), 61u);
  EXPECT_EQ(dump.closingTime, 41);  // 21 records

  // The same run's history, record by record: each record's bytes at #2j and #2j + 1.
  const Result run = Cli("run " + Path("P.ASM") + " --steps 20 --dump");
  const auto records = Lines(run.out);
  ASSERT_EQ(records.size(), 22u);
  const int out = VariableNamed(dump, "OUT"), pc = VariableNamed(dump, "PC");
  const int ibus = VariableNamed(dump, "IBUS"), ck = VariableNamed(dump, "CK");
  for (int t = 0; t < 41; ++t) {
    const std::string& record = records[t / 2];
    EXPECT_EQ(dump.values[t][out], HexByte(record, 12)) << t;
    EXPECT_EQ(dump.values[t][pc], HexByte(record, 6)) << t;
    EXPECT_EQ(dump.values[t][ibus], HexByte(record, 27)) << t;
    EXPECT_EQ(dump.values[t][ck], t % 2 == 0 ? 1u : 0u) << t;
  }
  EXPECT_EQ(dump.values[40][out], 7u) << "5 + 1 + 1 by the twentieth step";
}

TEST_F(CliFixture, LaBitsAndInterrupts) {
  fs::copy_file(fs::path(EDUMAC8_SAMPLES_DIR) / "interrupt.asm", Path("interrupt.asm"));
  const Result r = Cli("la " + Path("I.VCD") + " " + Path("interrupt.asm") +
                       " --steps 60 --irq-after 30 --bits");
  ASSERT_EQ(r.status, 0) << r.err;
  const VcdDump dump = ReadVcd(ReadWholeFile(Path("I.VCD")).value_or(""));
  ASSERT_TRUE(dump.errors.empty()) << dump.errors.front();
  ASSERT_EQ(dump.variables.size(), 196u);
  for (const auto& v : dump.variables) EXPECT_EQ(v.width, 1) << v.name;
  const int ireq = VariableNamed(dump, "IREQ");
  ASSERT_GE(ireq, 0);
  EXPECT_EQ(dump.values[0][ireq], 0u);
  EXPECT_EQ(dump.values[60][ireq], 1u) << "raised right after micro-step 30";
}

TEST_F(CliFixture, LaFailuresLeaveNothingAndDamageNothing) {
  Write("P.ASM", kProgram);
  Write("BAD.ASM", "JMP NOWHERE\n");
  Write("OLD.VCD", "an older dump");
  struct Case {
    std::string args;
    int status;
    std::string message;
  };
  const std::string old = Path("OLD.VCD"), fresh = Path("NEW.VCD"), source = Path("P.ASM");
  const std::string unwritable = Path("none/OUT.VCD");
  for (const Case& c : {
           Case{"la", 2, "usage:"},
           Case{"la " + fresh, 2, "usage:"},
           Case{"la " + fresh + " " + source + " " + source, 2, "usage:"},
           Case{"la " + fresh + " " + source + " --steps many", 2, "usage:"},
           Case{"la " + fresh + " " + source + " --dump", 2, "usage:"},
           Case{"la " + fresh + " " + source + " --bogus", 2, "usage:"},
           Case{"la " + old + " " + source + " --irq-after", 2, "usage:"},
           Case{"la " + old + " " + Path("BAD.ASM"), 1, "错误 353"},
           Case{"la " + old + " " + Path("NONE.BIN"), 1, "读文件错误："},
           Case{"la " + unwritable + " " + source, 1, "写文件错误：" + unwritable + "\n"},
       }) {
    const Result r = Cli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.args;
  }
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_FALSE(fs::exists(Path("none")));
  EXPECT_EQ(ReadWholeFile(old), "an older dump");

  // A good run replaces the old dump, and leaves no temporary file beside it.
  ASSERT_EQ(Cli("la " + old + " " + source + " --steps 3").status, 0);
  EXPECT_EQ(ReadVcd(ReadWholeFile(old).value_or("")).closingTime, 7);
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find(".VCD."), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace edumac8
