#include "asm/number_syntax.h"

#include <gtest/gtest.h>

#include "support/assembly_fixture.h"

namespace edumac8 {
namespace {

TEST(NumberSyntax, TheAssemblersNumbersAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<std::uint16_t> value;
  };
  for (const Case& c :
       {Case{"0", 0}, Case{"255", 255}, Case{"0FFH", 0xFF}, Case{"0ffh", 0xFF}, Case{"0BH", 0x0B},
        Case{"101B", 5}, Case{"17O", 15}, Case{"17o", 15}, Case{"19D", 19}, Case{"65537", 1},
        Case{"FFH", std::nullopt}, Case{"12B", std::nullopt}, Case{"9O", std::nullopt},
        Case{"0GH", std::nullopt}, Case{"1H2", std::nullopt}, Case{"", std::nullopt},
        Case{"-1", std::nullopt}, Case{" 1", std::nullopt}, Case{"1 ", std::nullopt}})
    EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
}

struct ProgramLookup : test::AssemblyFixture, ::testing::Test {};

TEST_F(ProgramLookup, LabelsAndCodeLinesOfTheLastAssembly) {
  ASSERT_TRUE(
      Assemble("; start\n"
               "N       EQU 3\n"
               "        ORG 10H\n"
               "Loop:   MOV A,#N\n"
               "\n"
               "X:      JMP Loop\n"
               "        END\n"));
  EXPECT_EQ(assembler.LabelValue("LOOP"), 0x10);
  EXPECT_EQ(assembler.LabelValue("loop"), 0x10);
  EXPECT_EQ(assembler.LabelValue("x"), 0x12) << "a one-letter name";
  EXPECT_EQ(assembler.LabelValue("N"), std::nullopt) << "a constant is no label";
  EXPECT_EQ(assembler.LabelValue("NOWHERE"), std::nullopt);

  EXPECT_EQ(assembler.LineToAddress(4), 0x10u);
  EXPECT_EQ(assembler.LineToAddress(5), std::nullopt);
  const auto first = assembler.FirstCodeLineFrom(1);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->line, 4);
  EXPECT_EQ(first->address, 0x10u);
  EXPECT_EQ(assembler.FirstCodeLineFrom(5)->line, 6);
  EXPECT_EQ(assembler.FirstCodeLineFrom(7), std::nullopt);

  ASSERT_FALSE(Assemble("Loop: JMP NOWHERE\n"));
  EXPECT_EQ(assembler.LabelValue("LOOP"), std::nullopt) << "only a successful assembly";
  EXPECT_EQ(assembler.FirstCodeLineFrom(1), std::nullopt);
}

}  // namespace
}  // namespace edumac8
