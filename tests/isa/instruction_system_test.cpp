#include "isa/instruction_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "machine/micro_word.h"

namespace edumac8 {
namespace {

struct IsaFixture : ::testing::Test {
  InstructionSystem isa;
  MicroProgram uM{};
  void SetUp() override { isa.LoadDefaults(uM); }

  int KeywordsNamed(const std::string& name) const {
    return static_cast<int>(std::count_if(
        isa.keywords.entries.begin(), isa.keywords.entries.begin() + isa.keywords.size,
        [&](const KeywordEntry& k) { return k.name == name; }));
  }
  const KeywordEntry* Keyword(const std::string& spelling) const {
    for (int i = 0; i < isa.keywords.size; ++i)
      if (isa.keywords.entries[i].spelling == spelling) return &isa.keywords.entries[i];
    return nullptr;
  }
};

TEST_F(IsaFixture, DefaultLengthsAndTexts) {
  for (int op = 0x10; op <= 0x17; ++op) EXPECT_EQ(isa.OpLengthTable[op], 1) << op;
  for (int op = 0x18; op <= 0x1F; ++op) EXPECT_EQ(isa.OpLengthTable[op], 2) << op;
  for (int op = 0xA8; op <= 0xAB; ++op) EXPECT_EQ(isa.OpLengthTable[op], 1) << op;
  for (int op = 0xAC; op <= 0xAF; ++op) EXPECT_EQ(isa.OpLengthTable[op], 2) << op;
  EXPECT_EQ(isa.InstrTextTable[2], "UNDEF");
  EXPECT_EQ(isa.InstrTextTable[4], "ADD      A, R?");
  EXPECT_EQ(std::count_if(isa.InstrTable.begin(), isa.InstrTable.end(),
                          [](const InstrEntry& e) { return e.defined; }),
            50);
}

TEST_F(IsaFixture, EntryTexts) {
  EXPECT_EQ(isa.EntryText(0x10 / 4), "ADD      A, R?");
  EXPECT_EQ(isa.EntryText(0x10 / 4).size(), 14u);
  EXPECT_EQ(isa.EntryText(0xE0 / 4), "NOP      ");
  EXPECT_EQ(isa.EntryText(0xD0 / 4), "RR       A");
}

TEST_F(IsaFixture, MovHasOneKeywordAndEightForms) {
  const KeywordEntry* mov = Keyword("MOV");
  ASSERT_NE(mov, nullptr);
  EXPECT_EQ(KeywordsNamed("MOV"), 1);
  const OperandFormGrid& g = isa.OperandFormTable[mov->value];
  const struct { int k1, k2, op; } kForms[] = {{OpA, OpReg, 0x70},    {OpA, OpIndirect, 0x74},
                                               {OpA, OpMem, 0x78},    {OpA, OpImm, 0x7C},
                                               {OpReg, OpA, 0x80},    {OpIndirect, OpA, 0x84},
                                               {OpMem, OpA, 0x88},    {OpReg, OpImm, 0x8C}};
  int defined = 0;
  for (const auto& row : g)
    for (const OperandForm& cell : row) defined += cell.defined;
  EXPECT_EQ(defined, 8);
  for (const auto& f : kForms) {
    EXPECT_TRUE(g[f.k1][f.k2].defined);
    EXPECT_EQ(g[f.k1][f.k2].opcode, f.op);
  }
}

TEST_F(IsaFixture, KeywordTableIsSortedWithTheFixedWords) {
  EXPECT_EQ(isa.keywords.size, 18 + 25);  // 25 distinct mnemonics besides the fixed words
  for (int i = 1; i < isa.keywords.size; ++i)
    EXPECT_LE(isa.keywords.entries[i - 1].name, isa.keywords.entries[i].name);
  ASSERT_NE(Keyword("A "), nullptr);
  EXPECT_EQ(Keyword("A ")->kind, KwA);
  EXPECT_EQ(Keyword("@R2")->value, 2);
}

TEST_F(IsaFixture, EditorKeywordList) {
  const std::string& list = isa.EditorKeywordList;
  EXPECT_EQ(list.substr(0, 5), "\xFForg\xFF");
  EXPECT_EQ(list.substr(64, 14), "\xFFmask\xFF_fatch_\xFF");
  EXPECT_EQ(list.substr(list.size() - 7), "reti\xFF" + std::string(2, '\0'));
}

TEST_F(IsaFixture, ModificationRules) {
  struct Case {
    int row;
    const char* mnemonic;
    std::uint8_t k1, k2;
    const char* error;  // nullptr: accepted
  };
  const Case kCases[] = {
      {1, "", 0, 0, "请输入助记符"},
      {1, "1ABC", 0, 0, "助记符必须由字符或\"_\"开头"},
      {1, "AB-C", 0, 0, "助记符只能有字符，数字及\"_\"组成"},
      {1, "ABCDEFGHIJKLM", 0, 0, "助记符不能大于12个字符"},
      {1, "ADD", OpA, OpReg, "\"ADD      A, R?\" 已定义, 机器码: 10-13"},
      {1, "ORG", 0, 0, "\"ORG\" 是保留字"},
      {1, "org", 0, 0, "\"ORG\" 是保留字"},
      {1, "A", 0, 0, nullptr},
      {1, "LONGNAME9", OpA, 0, nullptr},
      {4, "ADD", OpA, OpReg, nullptr},  // its own row
      {kFetchEntry, "XX", 0, 0, "实验机占用，不可修改。复位后，所有寄存器清0，首先执行 _FATCH_ 指令取指"},
  };
  for (const Case& c : kCases) {
    InstructionSystem fresh;
    const auto error = fresh.ModifyEntry(c.row, c.mnemonic, c.k1, c.k2);
    if (c.error) {
      EXPECT_EQ(error.value_or("accepted"), c.error) << c.mnemonic;
      EXPECT_EQ(fresh.InstrTable[c.row].defined, c.row == kFetchEntry || c.row == 4);
    } else {
      EXPECT_FALSE(error) << c.mnemonic << ": " << *error;
    }
  }
}

TEST_F(IsaFixture, ModifyErasesTheCommentAndRebuilds) {
  isa.InstrTable[1].comment = "old";
  ASSERT_FALSE(isa.ModifyEntry(1, "swap  ", OpA, OpMem));
  const InstrEntry& e = isa.InstrTable[1];
  EXPECT_EQ(e.mnemonic, "SWAP");
  EXPECT_TRUE(e.comment.empty());
  EXPECT_EQ(e.opcode, 0x04);
  EXPECT_EQ(isa.OpLengthTable[0x05], 2);
}

TEST_F(IsaFixture, LongMnemonicKeepsSevenCharacterNameButDistinctSpelling) {
  ASSERT_FALSE(isa.ModifyEntry(1, "LONGNAME1", OpA, 0));
  ASSERT_FALSE(isa.ModifyEntry(2, "LONGNAME2", OpA, 0));
  EXPECT_EQ(isa.EntryText(1), "LONGNAME A");
  EXPECT_EQ(KeywordsNamed("LONGNAM"), 2) << "one entry per distinct mnemonic";
  ASSERT_NE(Keyword("LONGNAME1"), nullptr);
  ASSERT_NE(Keyword("LONGNAME2"), nullptr);
  EXPECT_NE(Keyword("LONGNAME1")->value, Keyword("LONGNAME2")->value);
}

TEST_F(IsaFixture, OneLetterMnemonicIsStoredAsTheScannerLooksItUp) {
  ASSERT_FALSE(isa.ModifyEntry(1, "X", 0, 0));
  const KeywordEntry* x = Keyword("X ");
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->name, "X ");
  ASSERT_FALSE(isa.ModifyEntry(2, "A", 0, 0));
  EXPECT_EQ(KeywordsNamed("A "), 1) << "A keeps its fixed meaning";
}

TEST_F(IsaFixture, MnemonicSpelledLikeAFixedWordGetsNoKeyword) {
  isa.SetEntry("ORG", 0x04, 0, 0, "");  // a loaded file may hold it
  isa.RebuildDerived();
  EXPECT_EQ(KeywordsNamed("ORG"), 1);
  EXPECT_EQ(Keyword("ORG")->kind, KwOrg);
  ASSERT_NE(Keyword("MOV"), nullptr);
  EXPECT_TRUE(isa.OperandFormTable[Keyword("MOV")->value][OpA][OpImm].defined);
}

TEST_F(IsaFixture, DeletionOfProtectedEntries) {
  EXPECT_EQ(isa.DeleteEntry(kFetchEntry).value_or(""), isa.CommentText(kFetchEntry));
  EXPECT_TRUE(isa.InstrTable[kFetchEntry].defined);
  ASSERT_FALSE(isa.DeleteEntry(0x10 / 4));
  EXPECT_FALSE(isa.InstrTable[4].defined);
  EXPECT_EQ(isa.InstrTextTable[4], "UNDEF");
  EXPECT_EQ(isa.OpLengthTable[0x10], 1) << "an undefined group keeps its length";
  isa.InstrTable[kInterruptEntry].comment.clear();
  EXPECT_FALSE(isa.DeleteEntry(kInterruptEntry)) << "without its comment it is unprotected";
}

TEST_F(IsaFixture, NewSystemHasOnlyTheProtectedEntries) {
  isa.MakeNew(uM);
  EXPECT_TRUE(isa.InstrTable[kFetchEntry].defined);
  EXPECT_TRUE(isa.InstrTable[kInterruptEntry].defined);
  EXPECT_EQ(std::count_if(isa.InstrTable.begin(), isa.InstrTable.end(),
                          [](const InstrEntry& e) { return e.defined; }),
            2);
  EXPECT_TRUE(std::all_of(uM.begin(), uM.end(), [](std::uint32_t c) { return c == kEmptyCell; }));
  EXPECT_TRUE(isa.InsFileName.empty());
}

}  // namespace
}  // namespace edumac8
