// The scanner at the edges of its character classes and line ends: the first and last letter
// and digit of each range, every line-end convention, names and strings at their length limits.
#include <gtest/gtest.h>

#include "support/assembly_fixture.h"

namespace edumac8 {
namespace {

struct Case {
  const char* name;
  std::string source;
  int error;  // 0: assembles
  int line;   // the error's line, or the first byte the source gives
};

class ScannerBoundaries : public ::testing::TestWithParam<Case> {};

TEST_P(ScannerBoundaries, AtEachEdge) {
  test::AssemblyFixture f;
  const Case& c = GetParam();
  const bool ok = f.Assemble(c.source);
  if (c.error == 0) {
    ASSERT_TRUE(ok) << f.assembler.ErrorText();
    EXPECT_EQ(f.m.EM[0], c.line);
    return;
  }
  ASSERT_FALSE(ok);
  EXPECT_EQ(f.ErrorNumber(), c.error) << f.assembler.ErrorText();
  EXPECT_EQ(f.assembler.ErrorLine(), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ScannerBoundaries,
    ::testing::Values(
        // Lower-case letters at both ends of the alphabet are the upper-case ones.
        Case{"LowerZ", "zed EQU 7\nDB ZED\n", 0, 7}, Case{"LowerA", "abc EQU 9\nDB ABC\n", 0, 9},
        Case{"HexDigitsAToF", "DB 0AFH\n", 0, 0xAF},
        Case{"HexDigitGIsNoDigit", "DB 0AGH\n", 332, 1},
        Case{"DecimalDigitsZeroToNine", "DB 90\n", 0, 90},
        Case{"OctalDigitEightIsNoDigit", "DB 18O\n", 332, 1},
        Case{"BinaryDigitTwoIsNoDigit", "DB 102B\n", 332, 1},
        // Every line-end convention counts one line ('?' begins no token).
        Case{"CrLfLines", "NOP\r\nNOP\r\nNOP\r\n?\r\n", 336, 4},
        Case{"LfLinesWithBlankOnes", "NOP\n\n\n?\n", 336, 4},
        Case{"CrLines", "NOP\rNOP\r?\r", 336, 3}, Case{"CrLfThenBlankLf", "NOP\r\n\n?\n", 336, 3},
        // Names: 32 significant characters; one letter is a name of its own.
        Case{"NameCutAt32", std::string(32, 'N') + "A EQU 3\nDB " + std::string(32, 'N') + "B\n", 0,
             3},
        Case{"OneLetterName", "Z EQU 4\nDB Z\n", 0, 4},
        // Numbers: 254 digits kept, the rest read and ignored.
        Case{"NumberCutAt254Digits", "DB " + std::string(254, '0') + "7\n", 0, 0},
        Case{"Number253DigitsKept", "DB " + std::string(253, '0') + "7\n", 0, 7},
        // Strings: 255 characters at most; one character is its code, two make a word.
        Case{"String255", "DB '" + std::string(255, 'x') + "'\n", 0, 'x'},
        Case{"String256", "DB '" + std::string(256, 'x') + "'\n", 358, 1},
        Case{"OneCharacterString", "X EQU 'A'+1\nDB X\n", 0, 'B'},
        Case{"TwoCharacterString", "X EQU 'AB'/256\nDB X\n", 0, 'A'}),
    [](const auto& info) { return info.param.name; });

TEST(ScannerBoundaries, ALoneCrEndsTheLineWithoutSwallowingTheNextCharacter) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble("DB 1\rDB 2\rDB 3\r")) << f.assembler.ErrorText();
  EXPECT_EQ(f.m.EM[0], 1);
  EXPECT_EQ(f.m.EM[1], 2);
  EXPECT_EQ(f.m.EM[2], 3);
}

// An instruction-system file may name a mnemonic with any printable characters; those the
// keyword index has no row or column for are left out of it, and the rest still assemble.
TEST(ScannerBoundaries, MnemonicsOutsideTheKeywordIndexAreLeftOut) {
  test::AssemblyFixture f;
  f.isa.SetEntry("`Q", 0x60, 0, 0, "");
  f.isa.SetEntry("Q`", 0x64, 0, 0, "");
  f.isa.SetEntry("_`", 0x68, 0, 0, "");
  f.isa.RebuildDerived();
  ASSERT_TRUE(f.Assemble("NOP\nQQQ EQU 1\nDB QQQ\n")) << f.assembler.ErrorText();
  EXPECT_EQ(f.m.EM[0], 0xE0);
  EXPECT_EQ(f.m.EM[1], 1);
}

}  // namespace
}  // namespace edumac8
