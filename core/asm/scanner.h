// The scanner of the assembly language: characters to tokens. Works on the source's bytes as
// read (GB2312 is fine: only comments and strings normally hold bytes of 128 or more).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "isa/keyword_table.h"

namespace edumac8 {

constexpr int kNameLength = 32;  // significant characters of a name
constexpr char kEndOfSource = 26;

struct Token {
  int kind = EndOfLine;  // a TokenKind or, for a single-character token, its code
  std::uint16_t value = 0;
  std::string text;          // a name (upper case, at most 32) or a string as read
  bool endOfSource = false;  // KwEnd produced by the end of the source, not by END
  int line = 0;              // line of the token's first character
};

// The two-character index over a sorted KeywordTable.
class KeywordIndex {
 public:
  void Build(const KeywordTable& table);
  // The entry whose whole spelling equals `name` (a one-letter name with its blank), if any.
  const KeywordEntry* Find(std::string_view name) const;

 private:
  const KeywordTable* table_ = nullptr;
  std::array<std::uint16_t, 32 * 64> cells_{};
};

class Scanner {
 public:
  // Decides, for a name that is not a keyword, between Number (defined) and NewSymbol.
  using SymbolLookup = std::function<void(const std::string& name, Token& token)>;

  Scanner(const KeywordIndex& keywords, SymbolLookup lookup)
      : keywords_(keywords), lookup_(std::move(lookup)) {}

  // The source's bytes; the end-of-source character is appended here.
  void Open(std::string_view source);
  void SetStatementStart(std::uint16_t address) { statementStart_ = address; }

  // Skips blanks and scans the next token into current().
  const Token& NextToken();
  const Token& current() const { return token_; }
  int line() const { return line_; }

 private:
  int Peek() const { return Upper(source_[pos_]); }
  static int Upper(char c);
  void ScanName();
  void ScanNumber();
  void ScanString(char quote);
  void EndLine();

  const KeywordIndex& keywords_;
  SymbolLookup lookup_;
  std::string source_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::uint16_t statementStart_ = 0;
  Token token_;
};

// Character classes (by code with bit 7 cleared).
namespace charclass {
constexpr std::uint8_t IdentStart = 0x01;
constexpr std::uint8_t NumberStart = 0x02;
constexpr std::uint8_t Single = 0x04;
constexpr std::uint8_t IdentCont = 0x08;
constexpr std::uint8_t NumberCont = 0x10;
constexpr std::uint8_t MulOp = 0x20;
constexpr std::uint8_t AddOp = 0x40;
}  // namespace charclass
std::uint8_t CharClass(int c);

}  // namespace edumac8
