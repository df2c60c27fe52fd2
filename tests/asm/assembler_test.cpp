#include "asm/assembler.h"

#include <gtest/gtest.h>

#include "asm/symbol_table.h"
#include "support/assembly_fixture.h"

namespace edumac8 {
namespace {

using Bytes = std::vector<int>;

Bytes EmAt(const Machine& m, int from, int count) {
  return Bytes(m.EM.begin() + from, m.EM.begin() + from + count);
}

// Sources that assemble, with the bytes they give from address 0.
struct Good {
  const char* name;
  const char* source;
  Bytes bytes;
};

class Assembles : public ::testing::TestWithParam<Good> {};

TEST_P(Assembles, IntoTheExpectedBytes) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble(GetParam().source)) << f.assembler.ErrorText();
  EXPECT_EQ(EmAt(f.m, 0, static_cast<int>(GetParam().bytes.size())), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Assembles,
    ::testing::Values(
        Good{"CaseInsensitive", "mov a, #0ffh\nMOV A,#0FFH\n", {0x7C, 0xFF, 0x7C, 0xFF}},
        Good{"StringsKeepCase", "DB 'a','A'\n", {0x61, 0x41}},
        Good{"Radixes", "DB 0FFH, 0BH, 101B, 12D, 17O, 10\n", {0xFF, 0x0B, 0x05, 0x0C, 0x0F, 0x0A}},
        Good{"Expressions",
             "DB 1+2*3, -2*3, !0, 1<4, 2*3>1, (1+2)*3, 7%4, 6&3, 6^3, 5|8\n",
             {7, 0xFA, 0xFF, 16, 3, 9, 3, 2, 5, 13}},
        Good{"SixteenBitWrap", "DB 0FFFFH*0FFFFH, 0FFFFH+2, 1<15>14, 0-1\n", {1, 1, 2, 0xFF}},
        Good{"TwoCharacterString", "X EQU \"AB\"/256\nY EQU \"ABC\"&255\nDB X, Y\n", {0x41, 0x42}},
        Good{"DbStringAndOperator",
             "DB 'Hi', 0\nDB 'A'+1\nDB 1 2\nDB\n",
             {0x48, 0x69, 0, 0x41, 1, 1, 2}},
        Good{"ByteOperandsWrap", "MOV A,#300\nMOV A,#-1\n", {0x7C, 0x2C, 0x7C, 0xFF}},
        Good{"Registers",
             "ADD A,R3\nMOV @R2,A\nMOV R1,#5\nMOV A,@R0\n",
             {0x13, 0x86, 0x8D, 5, 0x74}},
        Good{"BackwardAndForwardJumps",
             "LOOP: JMP LOOP\nJMP NEXT\nNOP\nNEXT: NOP\n",
             {0xAC, 0x00, 0xAC, 0x05, 0xE0, 0xE0}},
        Good{"TwoLabelsOneStatement",
             "NOP\nL1: L2: NOP\nJMP L1\nJMP L2\n",
             {0xE0, 0xE0, 0xAC, 1, 0xAC, 1}},
        Good{"ConstantsAndOrg", "BASE = 10H\nORG BASE\nMOV A,BASE+1\n", {0}},
        Good{"DollarIsTheStatementStart", "NOP\nJMP $\nX EQU $\nDB X\n", {0xE0, 0xAC, 1, 1}},
        Good{"NoFinalLineBreak", "NOP\nRET", {0xE0, 0xCC}},
        Good{"OrgToTheCurrentAddress", "NOP\nORG 1\nNOP\n", {0xE0, 0xE0}},
        Good{"ChineseComment", "NOP ; 空操作\n; 注释行\nOUT\n", {0xE0, 0xC4}},
        Good{"ThirtyTwoSignificantCharacters",
             "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456X EQU 5\n"
             "DB ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456Y\n",
             {5}},
        Good{"EndStopsReading", "NOP\nEND\nthis is not read\n", {0xE0}}),
    [](const auto& info) { return info.param.name; });

TEST(Assembler, OrgPlacesCode) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble("BASE = 10H\nORG BASE\nMOV A,BASE+1\n"));
  EXPECT_EQ(EmAt(f.m, 0x10, 2), (Bytes{0x78, 0x11}));
}

// Sources that fail, with the error number and line.
struct Bad {
  const char* name;
  std::string source;
  int number;
  int line;
};

class Fails : public ::testing::TestWithParam<Bad> {};

TEST_P(Fails, WithItsErrorAndLine) {
  test::AssemblyFixture f;
  EXPECT_FALSE(f.Assemble(GetParam().source));
  EXPECT_EQ(f.ErrorNumber(), GetParam().number) << f.assembler.ErrorText();
  EXPECT_EQ(f.assembler.ErrorLine(), GetParam().line) << f.assembler.ErrorText();
  EXPECT_FALSE(f.assembler.AssembledOK());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Fails,
    ::testing::Values(
        Bad{"NumberEndingInALetter", "NOP\nDB 1E\n", 332, 2},
        Bad{"NumberFollowedByLetter", "DB 12G\n", 332, 1}, Bad{"BadBinary", "DB 102B\n", 332, 1},
        Bad{"EmptyString", "DB ''\n", 337, 1}, Bad{"UnclosedString", "DB 'abc\nNOP\n", 333, 1},
        Bad{"LongString", "DB '" + std::string(256, 'x') + "'\n", 358, 1},
        Bad{"RedefinedConstant", "X EQU 5\nX EQU 6\n", 334, 2},
        Bad{"UnsupportedWord", "DW 1\n", 334, 1}, Bad{"NameWithoutColon", "INCLUDE X\n", 330, 1},
        Bad{"DotOperator", "DB 1.5\n", 1007, 1},
        Bad{"ForwardReferenceInExpression", "JMP NEXT+1\nNEXT: NOP\n", 341, 1},
        Bad{"ForwardReferenceInEqu", "X EQU Y\nY EQU 1\n", 303, 1},
        Bad{"EndAsOperand", "NOP END\n", 331, 1}, Bad{"MissingOperandForm", "ADD R0,A\n", 331, 1},
        Bad{"RegisterAfterRegister", "MOV R1,R2\n", 331, 1},
        Bad{"MissingComma", "ADD A R0\n", 342, 1}, Bad{"ExtraText", "NOP NOP\n", 331, 1},
        Bad{"TrailingText", "MOV A,#1 2\n", 341, 1},
        Bad{"UnclosedParenthesis", "DB (1+2\n", 339, 1}, Bad{"DivideByZero", "DB 1/0\n", 335, 1},
        Bad{"IllegalCharacter", "DB 1 ? 2\n", 336, 1},
        Bad{"OrgBackwards", "ORG 20H\nDB 1\nORG 10H\n", 346, 3},
        Bad{"DbTooLarge", "DB '" + std::string(200, 'x') + "', '" + std::string(56, 'y') + "'\n",
            355, 1},
        Bad{"DbBeyondMemory", "ORG 250\nDB '" + std::string(7, 'x') + "'\n", 354, 2},
        // The first operand's form is checked before its expression is read.
        Bad{"FormBeforeDivision", "NOP 1/0\n", 331, 1},
        Bad{"FormBeforeParenthesis", "JMP #(1\n", 331, 1},
        Bad{"FormBeforeEmittingAtTheLastAddress", "ORG 255\nNOP 5\n", 331, 2},
        Bad{"FormBeforeUndefinedName", "NOP #LATER\nLATER: NOP\n", 331, 1},
        Bad{"SecondOperandStillReadFirst", "MOV A,#(1\n", 339, 1}),
    [](const auto& info) { return info.param.name; });

TEST(Assembler, ErrorTextFormat) {
  test::AssemblyFixture f;
  EXPECT_FALSE(f.Assemble("NOP\nNOP\nJMP NOWHERE\n"));
  EXPECT_EQ(f.assembler.ErrorText(),
            "行: 3, 错误 353: 符号未定义: NOWHERE                         ");
  EXPECT_EQ(f.assembler.ErrorLine(), 3);
}

TEST(Assembler, UndefinedNamesReportTheAlphabeticallyLastAtItsEarliestReference) {
  test::AssemblyFixture f;
  EXPECT_FALSE(f.Assemble("JMP ALPHA\nNOP\nJMP ZED\nJMP ZED\n"));
  EXPECT_TRUE(f.assembler.ErrorText().starts_with("行: 3, 错误 353: 符号未定义: ZED "))
      << f.assembler.ErrorText();
  EXPECT_EQ(f.assembler.ErrorLine(), 3);
}

TEST(Assembler, MissingSourceFile) {
  test::AssemblyFixture f;
  const std::string path = f.PathOf("NONE.ASM");
  EXPECT_FALSE(f.assembler.AssembleSource(path));
  EXPECT_EQ(f.assembler.ErrorText(), "行: 0, 错误 102: 读文件错:  " + path);
  EXPECT_EQ(f.assembler.ErrorLine(), 0);
}

TEST(Assembler, PathWithoutExtensionGetsAsm) {
  test::AssemblyFixture f;
  std::ofstream(f.PathOf("P.ASM")) << "NOP\n";
  EXPECT_TRUE(f.assembler.AssembleSource(f.PathOf("P")));
  EXPECT_TRUE(std::filesystem::exists(f.PathOf("P.BIN")));
}

TEST(Assembler, ExactlyFullMemoryAndOneByteMore) {
  test::AssemblyFixture f;
  std::string full;
  for (int i = 0; i < 128; ++i) full += "MOV A,#1\n";
  EXPECT_TRUE(f.Assemble(full)) << f.assembler.ErrorText();
  EXPECT_FALSE(f.Assemble(full + "NOP\n"));
  EXPECT_EQ(f.ErrorNumber(), 354);
  EXPECT_EQ(f.assembler.ErrorLine(), 129);
  EXPECT_EQ(f.m.EM[0xFF], 0x01) << "nothing was written beyond the last address";
}

TEST(Assembler, ImageAndListingFiles) {
  test::AssemblyFixture f;
  f.m.EM.fill(0xEE);  // bytes no statement writes are 0, whatever EM held
  ASSERT_TRUE(f.Assemble("ORG 5\nMOV A,#12H ; 注释\nORG 20H\nDB 1,2,3,4,5,6,7\nEND\n"));
  EXPECT_EQ(f.assembler.ProgramBytes(), 9);
  const std::string image = *ReadWholeFile(f.PathOf("T.BIN"));
  ASSERT_EQ(image.size(), 256u);
  EXPECT_EQ(static_cast<unsigned char>(image[0]), 0x00);
  EXPECT_EQ(static_cast<unsigned char>(image[5]), 0x7C);
  EXPECT_EQ(f.Listing(),
            "            ORG 5\r\n"
            "05 7C12     MOV A,#12H ; 注释\r\n"
            "            ORG 20H\r\n"
            "20 010203   \r\n"
            "23 040506   \r\n"
            "26 07       DB 1,2,3,4,5,6,7\r\n"
            "            END\r\n");
}

// The listing and the line map: every source line is a listed line, the line of the end of
// the source included when it is a line of its own.
struct Listed {
  const char* name;
  const char* source;
  const char* listing;
  std::vector<int> lineAddresses;  // LineToAddress of lines 1, 2, …; -1 for none
};

class Lists : public ::testing::TestWithParam<Listed> {};

TEST_P(Lists, EveryLine) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble(GetParam().source)) << f.assembler.ErrorText();
  EXPECT_EQ(f.Listing(), GetParam().listing);
  const std::vector<int>& expected = GetParam().lineAddresses;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto address = f.assembler.LineToAddress(static_cast<int>(i + 1));
    EXPECT_EQ(address ? static_cast<int>(*address) : -1, expected[i]) << "line " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Lists,
    ::testing::Values(
        Listed{"FinalLineBreak", "NOP\r\n", "00 E0       NOP\r\n            \r\n", {0, -1}},
        Listed{"NoFinalLineBreak", "NOP", "00 E0       NOP\r\n", {0}},
        Listed{"EmptySource", "", "            \r\n", {-1}},
        Listed{"OnlyALineBreak", "\n", "            \r\n            \r\n", {-1, -1}},
        Listed{"EndStatement", "NOP\nEND\n", "00 E0       NOP\r\n            END\r\n", {0, -1}},
        Listed{"EndOfSourceCharacter",
               "NOP\n\x1A\nNOP\n",
               "00 E0       NOP\r\n            \r\n",
               {0, -1}}),
    [](const auto& info) { return info.param.name; });

TEST(Assembler, TheImageIsTheProgramAlone) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble("ORG 10H\nDB 1,2,3\n"));
  f.m.EM[0xFF] = 0x77;  // as a memory edit would leave it
  ASSERT_TRUE(f.Assemble("NOP\n"));
  EXPECT_EQ(f.assembler.ProgramBytes(), 1);
  const std::string image = *ReadWholeFile(f.PathOf("T.BIN"));
  std::string expected(256, '\0');
  expected[0] = '\xE0';
  EXPECT_EQ(image, expected) << "nothing of the earlier program, nor of the edit";
  EXPECT_EQ(std::string(f.m.EM.begin(), f.m.EM.end()), expected);
  // A source that cannot be read assembles nothing and leaves EM alone.
  f.m.EM[0x20] = 0x55;
  EXPECT_FALSE(f.assembler.AssembleSource(f.PathOf("NONE.ASM")));
  EXPECT_EQ(f.m.EM[0x20], 0x55);
}

TEST(Assembler, LowerCaseExtensionGivesLowerCaseDerivedFiles) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble("NOP\n", "t.asm"));
  EXPECT_TRUE(std::filesystem::exists(f.PathOf("t.bin")));
  EXPECT_TRUE(std::filesystem::exists(f.PathOf("t.lst")));
}

TEST(Assembler, LineMap) {
  test::AssemblyFixture f;
  ASSERT_TRUE(f.Assemble("; start\nMOV A,#1\nLOOP: ADD A,#1\nJMP LOOP\n"));
  EXPECT_EQ(f.assembler.AddressToLine(0)->line, 2);
  EXPECT_EQ(f.assembler.AddressToLine(2)->line, 3);
  EXPECT_EQ(f.assembler.AddressToLine(4)->line, 4);
  EXPECT_EQ(f.assembler.AddressToLine(4)->file, 1);
  EXPECT_FALSE(f.assembler.AddressToLine(1)) << "the middle of an instruction";
  EXPECT_EQ(f.assembler.LineToAddress(3), 2u);
  EXPECT_FALSE(f.assembler.LineToAddress(1));
  EXPECT_FALSE(f.assembler.LineToAddress(9));
  f.assembler.ClearAssembledOK();
  EXPECT_FALSE(f.assembler.AddressToLine(0));
}

TEST(Assembler, LongSourceStopsTheListingAfter1001Lines) {
  test::AssemblyFixture f;
  std::string source;
  for (int i = 0; i < 1100; ++i) source += "; comment line\n";
  for (int i = 0; i < 100; ++i) source += "NOP\n";
  ASSERT_TRUE(f.Assemble(source)) << f.assembler.ErrorText();
  EXPECT_FALSE(f.assembler.AddressToLine(0));
  const std::string listing = f.Listing();
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 1001);
}

TEST(Assembler, MnemonicsOfEightToTwelveCharactersAndOneLetterAssemble) {
  test::AssemblyFixture f;
  ASSERT_FALSE(f.isa.ModifyEntry(1, "LONGNAME1", OpA, 0));
  ASSERT_FALSE(f.isa.ModifyEntry(2, "LONGNAME2", OpA, 0));
  ASSERT_FALSE(f.isa.ModifyEntry(3, "X", 0, 0));
  ASSERT_TRUE(f.Assemble("LONGNAME2 A\nLONGNAME1 A\nX\nlongname2 a\n")) << f.assembler.ErrorText();
  EXPECT_EQ(EmAt(f.m, 0, 4), (Bytes{0x08, 0x04, 0x0C, 0x08}));
  EXPECT_FALSE(f.Assemble("LONGNAME A\n")) << "seven characters are not the mnemonic";
}

TEST(Assembler, InstructionSetChangesHowTheSameTextAssembles) {
  test::AssemblyFixture f;
  ASSERT_FALSE(f.isa.ModifyEntry(1, "SWAP", OpA, OpMem));
  ASSERT_TRUE(f.Assemble("SWAP A, 33H\n"));
  EXPECT_EQ(EmAt(f.m, 0, 2), (Bytes{0x04, 0x33}));
  ASSERT_FALSE(f.isa.DeleteEntry(1));
  EXPECT_FALSE(f.Assemble("SWAP A, 33H\n"));
  EXPECT_EQ(f.ErrorNumber(), 330) << "an ordinary name now";
}

TEST(Assembler, SymbolTableFull) {
  test::AssemblyFixture f;
  std::string source;
  for (int i = 0; i <= 1024; ++i) source += "N" + std::to_string(i) + " EQU 1\n";
  EXPECT_FALSE(f.Assemble(source));
  EXPECT_EQ(f.ErrorNumber(), 348);
  EXPECT_EQ(f.assembler.ErrorLine(), 1025);
}

}  // namespace
}  // namespace edumac8

namespace edumac8 {
namespace {

TEST(SymbolTable, HashIsSixteenBitArithmetic) {
  // h starts at 13 and adds c*h*c*i for the i-th character, all modulo 65536.
  const auto reference = [](const std::string& name) {
    unsigned long long h = 13;
    for (std::size_t i = 0; i < name.size(); ++i) {
      const unsigned long long c = static_cast<unsigned char>(name[i]);
      h = (h + c * h * c * (i + 1)) % 65536;
    }
    return static_cast<std::uint16_t>(h);
  };
  for (const std::string& name :
       std::vector<std::string>{"A ", "LOOP", std::string(32, 'Z'), "\xC1\xFE_9"})
    EXPECT_EQ(SymbolTable::Hash(name), reference(name)) << name;
}

TEST(Assembler, NamesThatCollideInTheHashStayApart) {
  test::AssemblyFixture f;
  std::string source;
  for (int i = 0; i < 300; ++i)
    source += "N" + std::to_string(i) + " EQU " + std::to_string(i) + "\n";
  source += "DB N0, N77, N299\n";
  ASSERT_TRUE(f.Assemble(source)) << f.assembler.ErrorText();
  EXPECT_EQ(EmAt(f.m, 0, 3), (Bytes{0, 77, 299 & 0xFF}));
}

}  // namespace
}  // namespace edumac8
