// edumac8-cli guide as a teacher checks a catalogue before a lab.
#include <cstdlib>

#include "cli/cli_fixture.h"
#include "platform/text_codec.h"

namespace edumac8 {
namespace {

// A catalogue written in UTF-8 with \n, stored as GB2312 with CR LF.
std::string Catalogue(const std::string& utf8) {
  std::string text;
  for (char c : utf8) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return Utf8ToGb2312(text);
}

const char* const kTwoExperiments =
    "实验定义 = {\n"
    "  名称 = \"运算器实验\"\n"
    "  电路 = \"alu_s.jpg\"\n"
    "  连线 = { {0, 34}, \"S0 接 ALU\", {300, 69}, \"\" }\n"
    "  操作 = { {'111', 5, \"置 S2 S1 S0\"}, {4294967295, 268435456, \"全部\"} }\n"
    "  要求 = {\n"
    "\t第一行\n"
    "    Keep case\n"
    "  }\n"
    "}\n"
    "实验定义 = {\n"
    "  名称 = \"Shift\"\n"
    "}\n";

TEST_F(CliFixture, GuideListsTheNamesInUtf8WhateverTheLocale) {
  Write("EX.INI", Catalogue(kTwoExperiments));
  setenv("LC_ALL", "C", 1);
  const Result r = Cli("guide " + Path("EX.INI"));
  unsetenv("LC_ALL");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "运算器实验\nSHIFT\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliFixture, GuideDumpShowsEveryField) {
  Write("EX.INI", Catalogue(kTwoExperiments));
  const std::string expected =
      "EXP 1\n"
      "NAME 运算器实验\n"
      "SCHEMATIC ALU_S.JPG\n"
      "TIMING \n"
      "WIRES 2\n"
      "WIRE 0 34 S0 接 ALU\n"
      "WIRE 44 69 \n"
      "OPS 2\n"
      "OP 00000007 00000005 置 S2 S1 S0\n"
      "OP FFFFFFFF 10000000 全部\n"
      "REQUIREMENT 2\n"
      "|\t第一行\n"
      "|    Keep case\n"
      "PURPOSE 0\n"
      "NOTES 0\n"
      "EXP 2\n"
      "NAME SHIFT\n"
      "SCHEMATIC \n"
      "TIMING \n"
      "WIRES 0\n"
      "OPS 0\n"
      "REQUIREMENT 0\n"
      "PURPOSE 0\n"
      "NOTES 0\n";
  for (const std::string& args :
       {"guide " + Path("EX.INI") + " --dump", "guide --dump " + Path("EX.INI")}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 0) << args << r.err;
    EXPECT_EQ(r.out, expected) << args;
  }
}

TEST_F(CliFixture, GuideReportsErrorsAfterWhatItRead) {
  Write("EX.INI", Catalogue(std::string(kTwoExperiments) + "实验定义 = {\n名称 = \"Third\"\n@\n"));
  const Result plain = Cli("guide " + Path("EX.INI"));
  EXPECT_EQ(plain.status, 1);
  EXPECT_EQ(plain.out, "运算器实验\nSHIFT\nTHIRD\n");
  EXPECT_EQ(plain.err, "非法字符   行：16\n");

  const Result dump = Cli("guide --dump " + Path("EX.INI"));
  EXPECT_EQ(dump.status, 1);
  EXPECT_NE(dump.out.find("EXP 3\nNAME THIRD\n"), std::string::npos) << dump.out;
  EXPECT_EQ(dump.err, "非法字符   行：16\n");

  Write("EMPTY.INI", "");
  const Result empty = Cli("guide " + Path("EMPTY.INI"));
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.out, "");
  EXPECT_EQ(empty.err, "命令错   行：0\n");
}

TEST_F(CliFixture, GuideUnreadableFileAndUsage) {
  const Result missing = Cli("guide " + Path("NONE.INI") + " --dump");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "读文件错: " + Path("NONE.INI") + "\n");

  for (const char* args : {"guide a.ini b.ini", "guide --ins X.INS", "guide --bogus"}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("guide [EX.INI] [--dump]"), std::string::npos) << args;
  }
}

}  // namespace
}  // namespace edumac8
