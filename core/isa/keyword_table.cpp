#include "isa/keyword_table.h"

namespace edumac8 {

const char* OperandKindText(int kind) {
  static const char* const kTexts[kOperandKinds] = {"", "A", "R?", "@R?", "#II", "MM"};
  return kind >= 0 && kind < kOperandKinds ? kTexts[kind] : "";
}

std::string ScannerName(std::string_view word) {
  std::string name(word);
  if (name.size() == 1) name += ' ';
  return name;
}

const std::array<KeywordEntry, kFixedKeywords>& FixedKeywords() {
  static const std::array<KeywordEntry, kFixedKeywords> kFixed = [] {
    struct Def { const char* name; TokenKind kind; std::uint16_t value; };
    static constexpr Def kDefs[kFixedKeywords] = {
        {"@R0", KwIndirect, 0}, {"@R1", KwIndirect, 1}, {"@R2", KwIndirect, 2},
        {"@R3", KwIndirect, 3}, {"A ", KwA, 224},       {"DB", KwDb, 0},
        {"DS", KwDs, 0},        {"DW", KwDw, 0},        {"ELSE", KwElse, 0},
        {"END", KwEnd, 0},      {"ENDIF", KwEndif, 0},  {"EQU", KwEqu, 0},
        {"IF", KwIf, 0},        {"ORG", KwOrg, 0},      {"R0", KwReg, 0},
        {"R1", KwReg, 1},       {"R2", KwReg, 2},       {"R3", KwReg, 3},
    };
    std::array<KeywordEntry, kFixedKeywords> table;
    for (int i = 0; i < kFixedKeywords; ++i)
      table[i] = {kDefs[i].name, kDefs[i].kind, kDefs[i].value, kDefs[i].name};
    return table;
  }();
  return kFixed;
}

}  // namespace edumac8
