#include "asm/scanner.h"

#include "asm/assemble_error.h"
#include "asm/number_syntax.h"

namespace edumac8 {
namespace {

constexpr std::array<std::uint8_t, 128> MakeClasses() {
  using namespace charclass;
  std::array<std::uint8_t, 128> c{};
  c['@'] = IdentStart;
  for (int x = 'A'; x <= 'Z'; ++x) c[x] = IdentStart | IdentCont;
  for (int x = 'A'; x <= 'F'; ++x) c[x] |= NumberCont;
  c['_'] = IdentStart | IdentCont;
  for (int x = '0'; x <= '9'; ++x) c[x] = NumberStart | IdentCont | NumberCont;
  for (char x : std::string_view("!#(),:=[]")) c[static_cast<int>(x)] = Single;
  for (char x : std::string_view("%&*./<>^")) c[static_cast<int>(x)] = Single | MulOp;
  for (char x : std::string_view("+-|")) c[static_cast<int>(x)] = Single | AddOp;
  return c;
}

constexpr std::array<std::uint8_t, 128> kClasses = MakeClasses();

}  // namespace

std::uint8_t CharClass(int c) { return kClasses[c & 0x7F]; }

void KeywordIndex::Build(const KeywordTable& table) {
  table_ = &table;
  cells_.fill(0);
  for (int t = 0; t < table.size; ++t) {
    const std::string& name = table.entries[t].name;
    if (name.size() < 2) continue;
    const int row = static_cast<unsigned char>(name[0]) - 64;
    const int col = static_cast<unsigned char>(name[1]) - 32;
    if (row < 0 || row >= 32 || col < 0 || col >= 64) continue;
    std::uint16_t& cell = cells_[row * 64 + col];
    if (cell == 0) cell = static_cast<std::uint16_t>((t + 1) << 8 | 1);
    else ++cell;
  }
}

const KeywordEntry* KeywordIndex::Find(std::string_view name) const {
  if (!table_ || name.size() < 2) return nullptr;
  const int row = static_cast<unsigned char>(name[0]) - 64;
  const int col = static_cast<unsigned char>(name[1]) - 32;
  if (row < 0 || row >= 32 || col < 0 || col >= 64) return nullptr;
  const std::uint16_t cell = cells_[row * 64 + col];
  const int first = (cell >> 8) - 1, count = cell & 0xFF;
  for (int t = first; t < first + count; ++t)
    if (table_->entries[t].spelling == name) return &table_->entries[t];
  return nullptr;
}

int Scanner::Upper(char c) {
  const int u = static_cast<unsigned char>(c);
  return u >= 'a' && u <= 'z' ? u - 'a' + 'A' : u;
}

void Scanner::Open(std::string_view source) {
  source_.assign(source);
  source_ += kEndOfSource;
  pos_ = 0;
  line_ = 1;
  statementStart_ = 0;
}

void Scanner::EndLine() {
  const char c = source_[pos_++];
  if (c == '\r' && source_[pos_] == '\n') ++pos_;
  ++line_;
}

const Token& Scanner::NextToken() {
  while (source_[pos_] == ' ' || source_[pos_] == '\t') ++pos_;
  token_ = Token{};
  token_.line = line_;
  const int c = Peek();
  if (CharClass(c) & charclass::IdentStart) {
    ScanName();
  } else if (CharClass(c) & charclass::NumberStart) {
    ScanNumber();
  } else if (c == ';' || c == '\r' || c == '\n') {
    while (source_[pos_] != '\r' && source_[pos_] != '\n' && source_[pos_] != kEndOfSource)
      ++pos_;
    if (source_[pos_] == kEndOfSource) {
      token_.kind = KwEnd;
      token_.endOfSource = true;
    } else {
      EndLine();
      token_.kind = EndOfLine;
    }
  } else if (CharClass(c) & charclass::Single) {
    token_.kind = c;
    ++pos_;
  } else if (c == '"' || c == '\'') {
    ScanString(static_cast<char>(c));
  } else if (c == '$') {
    ++pos_;
    token_.kind = Number;
    token_.value = statementStart_;
  } else if (c == kEndOfSource) {
    token_.kind = KwEnd;
    token_.endOfSource = true;
  } else {
    throw EAssembleException(336);
  }
  return token_;
}

void Scanner::ScanName() {
  std::string name;
  while (CharClass(Peek()) & (charclass::IdentStart | charclass::IdentCont)) {
    if (name.size() < kNameLength) name += static_cast<char>(Peek());
    ++pos_;
  }
  if (name.size() == 1) name += ' ';
  if (const KeywordEntry* k = keywords_.Find(name)) {
    token_.kind = k->kind;
    token_.value = k->value;
    token_.text = name;
    return;
  }
  token_.text = name;
  lookup_(name, token_);
}

void Scanner::ScanNumber() {
  std::string digits;
  while (CharClass(Peek()) & charclass::NumberCont) {
    if (digits.size() < 254) digits += static_cast<char>(Peek());
    ++pos_;
  }
  if (Peek() == 'H' || Peek() == 'O') {
    digits += static_cast<char>(Peek());
    ++pos_;
  }
  if (CharClass(Peek()) & charclass::IdentCont) throw EAssembleException(332);
  const std::optional<std::uint16_t> value = NumberValue(digits);
  if (!value) throw EAssembleException(332);
  token_.kind = Number;
  token_.value = *value;
}

void Scanner::ScanString(char quote) {
  ++pos_;
  std::string text;
  for (;;) {
    const char c = source_[pos_];
    if (c == '\r' || c == '\n' || c == kEndOfSource) throw EAssembleException(333);
    ++pos_;
    if (c == quote) break;
    if (text.size() == 255) throw EAssembleException(358);
    text += c;
  }
  if (text.empty()) throw EAssembleException(337);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  token_.kind = StringLit;
  token_.value = static_cast<std::uint16_t>(text.size() == 1 ? byte(0) : byte(0) << 8 | byte(1));
  token_.text = std::move(text);
}

}  // namespace edumac8
