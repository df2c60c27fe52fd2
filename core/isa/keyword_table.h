// The assembler's reserved words and mnemonics (KeywordTable) and, per mnemonic, the op-codes
// of its operand forms (OperandFormTable). The instruction system fills the mnemonic part
// whenever the instruction set changes; the assembler only reads them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace edumac8 {

// Token kind codes, shared by the scanner and the keyword table.
enum TokenKind : std::uint8_t {
  EndOfLine = 0,
  StringLit = 1,
  KwOrg = 4,
  KwA = 5,
  KwReg = 6,
  KwMnemonic = 11,
  NewSymbol = 12,
  Number = 13,
  KwEqu = 16,
  KwEnd = 20,
  KwIndirect = 25,
  KwDb = 27,
  KwDw = 28,
  KwIf = 48,
  KwElse = 49,
  KwEndif = 50,
  KwDs = 63,
};

enum OperandKind : std::uint8_t { OpNone = 0, OpA = 1, OpReg = 2, OpIndirect = 3, OpImm = 4, OpMem = 5 };
constexpr int kOperandKinds = 6;

// "A", "R?", "@R?", "#II", "MM"; empty for kind 0 and for out-of-range kinds.
const char* OperandKindText(int kind);

struct KeywordEntry {
  std::string name;       // at most 7 characters; a one-letter name carries a trailing blank
  std::uint8_t kind = KwMnemonic;
  std::uint16_t value = 0;
  // The whole spelling the scanner must see. For the fixed words it is the name; for a
  // mnemonic it is the mnemonic itself (blank-padded when one letter), so that mnemonics of
  // 8 to 12 characters, whose names are cut to 7, stay distinct and assemble.
  std::string spelling;
};

constexpr int kFixedKeywords = 18;
constexpr int kMaxMnemonics = 70;
constexpr int kKeywordCapacity = kFixedKeywords + kMaxMnemonics;  // 88

const std::array<KeywordEntry, kFixedKeywords>& FixedKeywords();

// The keyword name under which the scanner looks a word up: one letter gets a blank.
std::string ScannerName(std::string_view word);

struct OperandForm {
  bool defined = false;
  std::uint8_t opcode = 0;  // low two bits 0
};
using OperandFormGrid = std::array<std::array<OperandForm, kOperandKinds>, kOperandKinds>;

struct KeywordTable {
  std::array<KeywordEntry, kKeywordCapacity> entries;
  int size = kFixedKeywords;  // entries in use
};

}  // namespace edumac8
