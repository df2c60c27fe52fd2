// The EX.INI reader: the catalogue it builds, every error with its line, and the limits.
#include "guide/experiment_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/text_codec.h"

namespace edumac8 {
namespace {

// A catalogue written in UTF-8 with \n, stored as the workbench's files are: GB2312, CR LF.
std::string File(const std::string& utf8, const char* lineEnd = "\r\n") {
  std::string text;
  for (char c : utf8) {
    if (c == '\n')
      text += lineEnd;
    else
      text += c;
  }
  return Utf8ToGb2312(text);
}

std::string Gb(const std::string& utf8) { return Utf8ToGb2312(utf8); }

struct Parsed {
  ExperimentCatalogue catalogue;
  std::optional<CatalogueError> error;
};

Parsed Parse(const std::string& utf8, const char* lineEnd = "\r\n") {
  Parsed p;
  p.error = ParseExperiments(File(utf8, lineEnd), p.catalogue);
  return p;
}

const TExperiment& First(const Parsed& p) { return p.catalogue.Entries.at(0); }

TEST(ExperimentReader, ReadsEveryField) {
  const Parsed p = Parse(
      "; 教学实验\n"
      "实验定义 = {\n"
      "  名称 = \"Exp 1 运算器\"\n"
      "\n"
      "  ; a comment between fields\n"
      "  连线 = { {300, 2}, \"Wire a\", {'101', 24}, \"wire b\" }\n"
      "  操作 = { {7, '0101', \"set\"}, {4294967295, 16, \"all\"} }\n"
      "  要求 = {\n"
      "    Keep\tCase\n"
      "  }\n"
      "  目的 = { this rest is ignored\n"
      "line\n"
      "}\n"
      "  说明 = {\n"
      "}\n"
      "  电路 = \"alu.jpg\" 波形 = \"t.jpg\"\n"
      "}\n");
  ASSERT_FALSE(p.error) << p.error->number << " at " << p.error->line;
  ASSERT_EQ(p.catalogue.ExpCount(), 1);
  EXPECT_EQ(p.catalogue.CurrentExp, 1);
  const TExperiment& e = First(p);
  EXPECT_EQ(e.Name, Gb("EXP 1 运算器"));
  ASSERT_EQ(e.WireCount(), 2);
  EXPECT_EQ(e.Wires[0].first, 44);  // the low byte of 300
  EXPECT_EQ(e.Wires[0].second, 2);
  EXPECT_EQ(e.Wires[0].text, "WIRE A");
  EXPECT_EQ(e.Wires[1].first, 5);
  EXPECT_EQ(e.Wires[1].second, 24);
  ASSERT_EQ(e.OpCount(), 2);
  EXPECT_EQ(e.Ops[0].marked, 7);
  EXPECT_EQ(e.Ops[0].position, 5);
  EXPECT_EQ(e.Ops[0].text, "SET");
  EXPECT_EQ(e.Ops[1].marked, -1);
  EXPECT_EQ(e.Requirement, std::vector<std::string>{"    Keep\tCase"});
  EXPECT_EQ(e.Purpose, std::vector<std::string>{"line"});
  EXPECT_TRUE(e.Notes.empty());
  EXPECT_EQ(e.SchematicPicture, "ALU.JPG");
  EXPECT_EQ(e.TimingPicture, "T.JPG");
}

TEST(ExperimentReader, LineEndsAndStrings) {
  const std::string text = "实验定义 = {\n名称 = \"ab\n\tcd\"\n要求 = {\nx\n}\n}\n";
  const Parsed crlf = Parse(text, "\r\n");
  const Parsed lf = Parse(text, "\n");
  ASSERT_FALSE(crlf.error);
  ASSERT_FALSE(lf.error);
  // A string may span lines: the line end and the tab are spaces.
  EXPECT_EQ(First(crlf).Name, "AB  CD");
  EXPECT_EQ(First(lf).Name, First(crlf).Name);
  EXPECT_EQ(First(lf).Requirement, First(crlf).Requirement);
  EXPECT_EQ(First(crlf).Requirement, std::vector<std::string>{"x"});
}

TEST(ExperimentReader, DefinitionBraceLine) {
  // The rest of the definition's "{" line is ignored; when "{" ends it, the next line is read.
  const Parsed ignored = Parse("实验定义 = { 名称 = \"X\"\n}\n");
  ASSERT_FALSE(ignored.error);
  EXPECT_EQ(First(ignored).Name, "");
  const Parsed next = Parse("实验定义 = {\n名称 = \"X\"}\n");
  ASSERT_FALSE(next.error);
  EXPECT_EQ(First(next).Name, "X");
}

TEST(ExperimentReader, TextBlocks) {
  struct Case {
    const char* what;
    const char* block;  // the lines after "要求 = {"
    std::vector<std::string> lines;
    const char* nameAfter;
  };
  const Case cases[] = {
      {"two lines, then a line holding only }", "  one\n  two\n}\n", {"  one", "  two"}, ""},
      {"a first line containing } is text", "a } b\n}\n", {"a } b"}, ""},
      {"a first line holding { is text", "{ braces }\n}\n", {"{ braces }"}, ""},
      {"empty block: reading goes on after }", "} 名称 = \"N\"\n", {}, "N"},
      {"} after blanks and tabs ends it", "x\n \t } 名称 = \"M\"\n", {"x"}, "M"},
      {"; is text inside a block", "; not a comment\n}\n", {"; not a comment"}, ""},
  };
  for (const Case& c : cases) {
    const Parsed p = Parse(std::string("实验定义 = {\n要求 = {\n") + c.block + "}\n");
    ASSERT_FALSE(p.error) << c.what << ": " << p.error->number << " at " << p.error->line;
    EXPECT_EQ(First(p).Requirement, c.lines) << c.what;
    EXPECT_EQ(First(p).Name, c.nameAfter) << c.what;
  }
}

TEST(ExperimentReader, RepeatedFieldsAddOrReplace) {
  const Parsed p = Parse(
      "实验定义 = {\n"
      "名称 = \"A\" 名称 = \"B\"\n"
      "连线 = { {1, 2}, \"x\" } 连线 = { {3, 4}, \"y\" }\n"
      "要求 = {\nold\n}\n要求 = {\nnew\n}\n"
      "}\n实验定义 = {\n名称 = \"C\"\n}\n");
  ASSERT_FALSE(p.error);
  ASSERT_EQ(p.catalogue.ExpCount(), 2);
  EXPECT_EQ(First(p).Name, "B");
  EXPECT_EQ(First(p).WireCount(), 2);
  EXPECT_EQ(First(p).Requirement, std::vector<std::string>{"new"});
  EXPECT_EQ(p.catalogue.Entries[1].Name, "C");
}

TEST(ExperimentReader, NumbersWrapAt32Bits) {
  const Parsed p = Parse(
      "实验定义 = {\n操作 = { {4294967296, 4294967297, \"\"}, {2147483648, "
      "'111111111111111111111111111111111', \"\"} }\n连线 = { {256, 511}, \"\" }\n}\n");
  ASSERT_FALSE(p.error);
  EXPECT_EQ(First(p).Ops[0].marked, 0);
  EXPECT_EQ(First(p).Ops[0].position, 1);
  EXPECT_EQ(First(p).Ops[1].marked, INT32_MIN);
  EXPECT_EQ(First(p).Ops[1].position, -1);  // 33 ones
  EXPECT_EQ(First(p).Wires[0].first, 0);
  EXPECT_EQ(First(p).Wires[0].second, 255);
  // Other characters inside a base-2 number are skipped, across lines too.
  const Parsed spaced = Parse("实验定义 = {\n连线 = { {'1 0\n1x1', 1}, \"\" }\n}\n");
  ASSERT_FALSE(spaced.error);
  EXPECT_EQ(First(spaced).Wires[0].first, 11);
}

TEST(ExperimentReader, StringsKeepWholeCharactersUpTo255Bytes) {
  const std::string chinese = "汉";  // two bytes in GB2312
  struct Case {
    std::string text;      // UTF-8, inside the quotes
    std::size_t expected;  // bytes kept
  };
  const Case cases[] = {
      {std::string(255, 'A'), 255},
      {std::string(256, 'A'), 255},
      {std::string(253, 'A') + chinese, 255},
      {std::string(254, 'A') + chinese, 254},  // the character would be cut in half
      {std::string(254, 'A') + chinese + "B", 254},
  };
  for (const Case& c : cases) {
    const std::string kept = Gb(c.text).substr(0, c.expected);
    const Parsed name = Parse("实验定义 = {\n名称 = \"" + c.text + "\"\n}\n");
    ASSERT_FALSE(name.error);
    EXPECT_EQ(First(name).Name, kept) << c.text.size();
    const Parsed block = Parse("实验定义 = {\n要求 = {\n" + c.text + "\n}\n}\n");
    ASSERT_FALSE(block.error);
    ASSERT_EQ(First(block).Requirement.size(), 1u);
    EXPECT_EQ(First(block).Requirement[0], kept) << c.text.size();
  }
}

TEST(ExperimentReader, SecondBytesOfCharactersAreNotUpperCased) {
  // GBK allows a–z as the second byte of a character; only single letters are upper-cased.
  const std::string file =
      "\xCA\xB5\xD1\xE9\xB6\xA8\xD2\xE5 = {\r\n"  // 实验定义
      "\xC3\xFB\xB3\xC6 = \"a\x81"
      "a\"\r\n}\r\n";  // 名称
  ExperimentCatalogue catalogue;
  ASSERT_FALSE(ParseExperiments(file, catalogue));
  EXPECT_EQ(catalogue.Entries.at(0).Name,
            "A\x81"
            "a");
}

TEST(ExperimentReader, BytesBelowKeywordsAreIllegal) {
  // Bytes 128 to 159 start no GB2312 character: outside strings they are illegal.
  ExperimentCatalogue catalogue;
  const auto error = ParseExperiments(Gb("实验定义 = {\r\n") + "\x90\r\n}\r\n", catalogue);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number, 1474);
  EXPECT_EQ(error->line, 2);
}

struct ErrorCase {
  const char* what;
  std::string file;  // UTF-8 with \n
  int number;
  int line;
};

TEST(ExperimentReader, ErrorsAndTheirLines) {
  const ErrorCase cases[] = {
      {"empty file", "", 1478, 0},
      {"only comments", "; nothing\n\n", 1478, 2},
      {"first word", "\n名字 = {\n", 1478, 2},
      {"junk after the last definition", "实验定义 = {\n}\n名称\n", 1478, 3},
      {"missing =", "实验定义\n{\n", 1472, 2},
      {"missing { at a line end", "实验定义 =\n名称 = \"A\"\n", 1470, 2},
      {"missing } before an unknown word", "实验定义 = {\n名称 = \"A\"\n名字 = \"B\"\n}\n", 1471,
       3},
      {"end of file inside a definition", "实验定义 = {\n名称 = \"A\"\n", 1471, 2},
      {"end of file after LF-less last line", "实验定义 = {\n名称 = \"A\"", 1471, 2},
      {"illegal character", "实验定义 = {\n名称 = \"A\"\n@\n}\n", 1474, 3},
      {"unterminated string: its quote's line", "实验定义 = {\n名称 = \"A\n\nB\n", 1476, 2},
      {"unterminated base-2 number", "实验定义 = {\n连线 = { {'01\n1, 2}, \"\" }\n}\n", 1477, 2},
      {"number where a string belongs, ending its line", "实验定义 = {\n名称 = 12\n}\n", 1477, 2},
      {"string expected, end of file", "实验定义 = {\n名称 =", 1477, 2},
      {"text block never closed", "实验定义 = {\n要求 = {\nx\ny\n", 1477, 4},
      {"missing = after a field", "实验定义 = {\n名称\n\"A\"\n}\n", 1472, 3},
      {"missing { of a list", "实验定义 = {\n连线 = \n{1, 2}\n}\n", 1470, 3},
      {"missing { of a step", "实验定义 = {\n连线 = { 1, 2 }\n}\n", 1470, 2},
      {"missing , in a wiring step", "实验定义 = {\n连线 = { {1\n2}, \"\" }\n}\n", 1473, 3},
      {"missing , before the wiring text", "实验定义 = {\n连线 = { {1, 2}\n\"\" }\n}\n", 1473, 3},
      {"missing } of a wiring step", "实验定义 = {\n连线 = { {1, 2, \"\" }\n}\n", 1471, 2},
      {"list neither continues nor ends", "实验定义 = {\n连线 = { {1, 2}, \"\"\n名称 }\n}\n", 1471,
       3},
      {"missing } of an operation step", "实验定义 = {\n操作 = { {1, 2, \"\" , }\n}\n", 1471, 2},
      {"number expected", "实验定义 = {\n操作 = { {\n\"x\", 2, \"\"} }\n}\n", 1479, 3},
      {"string where a number belongs", "实验定义 = {\n连线 = { {1, x}, \"\" }\n}\n", 1474, 2},
  };
  for (const ErrorCase& c : cases) {
    const Parsed p = Parse(c.file);
    ASSERT_TRUE(p.error) << c.what;
    EXPECT_EQ(p.error->number, c.number) << c.what;
    EXPECT_EQ(p.error->line, c.line) << c.what;
  }
}

TEST(ExperimentReader, WhatWasReadBeforeAnErrorStays) {
  const Parsed p = Parse(
      "实验定义 = {\n名称 = \"ONE\"\n}\n"
      "实验定义 = {\n名称 = \"TWO\"\n连线 = { {1, 2}, \"A\", {3, 4}, \"B\", {5 6}, \"C\" }\n"
      "要求 = {\nkept\n");
  ASSERT_TRUE(p.error);
  EXPECT_EQ(p.error->number, 1473);
  ASSERT_EQ(p.catalogue.ExpCount(), 2);
  EXPECT_EQ(p.catalogue.CurrentExp, 1);
  EXPECT_EQ(p.catalogue.Entries[1].Name, "TWO");
  EXPECT_EQ(p.catalogue.Entries[1].WireCount(), 2);

  const Parsed block = Parse("实验定义 = {\n要求 = {\nkept\nalso\n");
  ASSERT_TRUE(block.error);
  EXPECT_EQ(First(block).Requirement, (std::vector<std::string>{"kept", "also"}));

  const Parsed none = Parse("名称");
  EXPECT_EQ(none.catalogue.ExpCount(), 0);
  EXPECT_EQ(none.catalogue.CurrentExp, 0);
}

std::string Definitions(int n) {
  std::string text;
  for (int i = 0; i < n; ++i)
    text += "实验定义 = {\n名称 = \"E" + std::to_string(i + 1) + "\"\n}\n";
  return text;
}

std::string Steps(const char* field, int n, bool wiring) {
  std::string text = std::string("实验定义 = {\n") + field + " = {\n";
  for (int i = 0; i < n; ++i) {
    if (i > 0) text += ",\n";
    text += wiring ? "{1, 2}, \"s\"" : "{1, 2, \"s\"}";
  }
  return text + "\n}\n}\n";
}

std::string BlockOf(int lines) {
  std::string text = "实验定义 = {\n说明 = {\n";
  for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\n";
  return text + "}\n}\n";
}

TEST(ExperimentReader, Limits) {
  const Parsed full = Parse(Definitions(64));
  ASSERT_FALSE(full.error);
  EXPECT_EQ(full.catalogue.ExpCount(), 64);
  const Parsed over = Parse(Definitions(65));
  ASSERT_TRUE(over.error);
  EXPECT_EQ(over.error->number, 1480);
  EXPECT_EQ(over.error->line, 64 * 3 + 1);  // the 65th 实验定义
  EXPECT_EQ(over.catalogue.ExpCount(), 64);

  struct StepCase {
    const char* field;
    bool wiring;
    int error;
  };
  for (const StepCase& c : {StepCase{"连线", true, 1481}, StepCase{"操作", false, 1482}}) {
    const Parsed ok = Parse(Steps(c.field, 64, c.wiring));
    ASSERT_FALSE(ok.error) << c.field;
    EXPECT_EQ(c.wiring ? First(ok).WireCount() : First(ok).OpCount(), 64);
    const Parsed excess = Parse(Steps(c.field, 65, c.wiring));
    ASSERT_TRUE(excess.error) << c.field;
    EXPECT_EQ(excess.error->number, c.error);
    EXPECT_EQ(excess.error->line, 2 + 65);  // the 65th step's "{"
    EXPECT_EQ(c.wiring ? First(excess).WireCount() : First(excess).OpCount(), 64);
  }

  const Parsed fifty = Parse(BlockOf(50));
  ASSERT_FALSE(fifty.error);
  EXPECT_EQ(First(fifty).Notes.size(), 50u);
  const Parsed fiftyOne = Parse(BlockOf(51));
  ASSERT_TRUE(fiftyOne.error);
  EXPECT_EQ(fiftyOne.error->number, 1483);
  EXPECT_EQ(fiftyOne.error->line, 2 + 51);
  EXPECT_EQ(First(fiftyOne).Notes.size(), 50u);
}

TEST(ExperimentReader, ErrorBoxTexts) {
  EXPECT_EQ(ErrorBoxText({1478, 3}), "命令错   行：3");
  EXPECT_EQ(ErrorBoxText({1470, 1}), "缺 \"{\"   行：1");
  EXPECT_EQ(ErrorBoxText({1476, 2}), "字符串错   行：2");
  EXPECT_EQ(ErrorBoxText({1483, 60}), "文字超过 50 行   行：60");
}

TEST(ExperimentReader, LoadExperimentsFromTheHelpDirectory) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("guide_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string help = dir.string() + "/";
  ExperimentCatalogue catalogue;
  catalogue.Entries.emplace_back();
  EXPECT_EQ(LoadExperiments(help, catalogue), "读文件错: " + help + "EX.INI");
  EXPECT_EQ(catalogue.ExpCount(), 0);
  EXPECT_EQ(catalogue.CurrentExp, 0);

  fs::create_directories(dir / "EX.INI");  // a directory is not a readable catalogue
  EXPECT_EQ(LoadExperiments(help, catalogue), "读文件错: " + help + "EX.INI");
  fs::remove(dir / "EX.INI");

  std::ofstream(dir / "EX.INI", std::ios::binary) << File(Definitions(2) + "?\n");
  EXPECT_EQ(LoadExperiments(help, catalogue), "非法字符   行：7");
  EXPECT_EQ(catalogue.ExpCount(), 2);
  EXPECT_EQ(catalogue.CurrentExp, 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace edumac8
