#include "asm/assembler.h"

#include <string_view>

#include "asm/assemble_error.h"
#include "asm/line_map.h"
#include "asm/line_records.h"
#include "asm/messages.h"
#include "asm/scanner.h"
#include "asm/symbol_table.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace edumac8 {

// The assembler's state: the fixed tables of one assembly and the passes over them.
class AssemblerTables {
 public:
  AssemblerTables(const InstructionSystem& isa, const MicroProgram& uM, ProgramMemory& em,
                  BoxOperations& box)
      : isa_(isa), uM_(uM), em_(em), box_(box),
        scanner_(keywords_, [this](const std::string& name, Token& t) { LookupSymbol(name, t); }) {}

  bool Assemble(const std::string& path);
  std::optional<std::uint16_t> LabelValue(const std::string& name) const;

  bool ok = false;
  std::string errorText;
  int errorLine = 0;
  LineMap map;
  bool sourceNamed = false;
  int programBytes = 0;  // bytes the program placed in EM

 private:
  // Pass 1.
  void LookupSymbol(const std::string& name, Token& token) const;
  const Token& tok() const { return scanner_.current(); }
  bool Is(int kind) const { return tok().kind == kind; }
  bool AtLineEnd() const { return Is(EndOfLine) || Is(KwEnd); }
  void Next() { scanner_.NextToken(); }
  void Pass1();
  bool Statement();  // false after END
  void EndStatement();
  void Define(const Token& name, std::uint16_t value, SymbolKind kind);
  void Org();
  void Db();
  void Instruction();
  int OperandKindAhead(int first) const;
  void ReadOperand(int kind, int& reg);
  void ByteOperand();
  void Emit(std::uint8_t byte);
  void StartStatement();
  std::uint16_t Expression();
  std::uint16_t Term();
  std::uint16_t Primary();

  // After pass 1. Listing() returns false when the listing could not be written.
  bool Listing(const std::string& text, const std::string& listPath);
  void CheckUndefinedNames();
  std::string ErrorTextOf(int line, int number, const std::string& detail) const;
  bool WriteFailure(const std::string& file);

  const InstructionSystem& isa_;
  const MicroProgram& uM_;
  ProgramMemory& em_;
  BoxOperations& box_;
  KeywordIndex keywords_;
  SymbolTable symbols_;
  LineRecords records_;
  Scanner scanner_;
  int lc_ = 0;  // LocationCounter
  std::uint16_t statementStart_ = 0;
  int nesting_ = 0;  // parentheses and '!' open around the current primary
};

namespace {

// The source's lines as the listing pass reads them: up to CR, LF or CR LF, at most 255
// characters kept, ending at the end-of-source character.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // A line is left to read until the end of the source is reached on a line already read:
  // after a final line break the (empty) line after it is still a line of the source.
  bool HasLine() const { return !AtEnd() || !endedOnReadLine_; }
  std::string Next() {
    const std::size_t start = pos_;
    while (!AtEnd() && text_[pos_] != '\r' && text_[pos_] != '\n') ++pos_;
    std::string line(text_.substr(start, std::min<std::size_t>(pos_ - start, 255)));
    if (AtEnd()) {
      endedOnReadLine_ = true;
    } else {
      if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
      ++pos_;
    }
    return line;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size() || text_[pos_] == kEndOfSource; }

  std::string_view text_;
  std::size_t pos_ = 0;
  bool endedOnReadLine_ = false;
};

// Far beyond any real program; the bound keeps a hostile source from exhausting the stack.
constexpr int kMaxNesting = 64;

// One more level of nesting for the time of a nested primary; one too many is error 348, the
// error of the assembler's other full tables.
class NestingLevel {
 public:
  explicit NestingLevel(int& depth) : depth_(depth) {
    if (depth_ >= kMaxNesting) throw EAssembleException(348);
    ++depth_;
  }
  ~NestingLevel() { --depth_; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;

 private:
  int& depth_;
};

bool IsMultiplicative(int kind) {
  return kind > EndOfLine && kind < 128 && (CharClass(kind) & charclass::MulOp);
}

std::string Prefix(int address, const ProgramMemory& em, int count) {
  std::string prefix = Hex2(address) + " ";
  for (int i = 0; i < count; ++i) prefix += Hex2(em[(address + i) & 0xFF]);
  prefix.resize(12, ' ');
  return prefix;
}

}  // namespace

bool AssemblerTables::WriteFailure(const std::string& file) {
  ok = false;
  errorLine = 0;
  errorText = "写文件错误：" + file;
  return false;
}

std::string AssemblerTables::ErrorTextOf(int line, int number, const std::string& detail) const {
  return "行: " + std::to_string(line) + ", 错误 " + std::to_string(number) + ": " +
         MessageText(number) + detail;
}

void AssemblerTables::LookupSymbol(const std::string& name, Token& token) const {
  const int slot = symbols_.Lookup(name);
  const Symbol& s = symbols_[slot];
  if (!s.name.empty() && s.defined) {
    token.kind = Number;
    token.value = s.value;
  } else {
    token.kind = NewSymbol;
    token.value = static_cast<std::uint16_t>(slot);
  }
}

void AssemblerTables::Emit(std::uint8_t byte) {
  if (lc_ >= 256) throw EAssembleException(354);
  em_[lc_++] = byte;
  ++programBytes;
}

void AssemblerTables::StartStatement() {
  statementStart_ = static_cast<std::uint16_t>(lc_);
  scanner_.SetStatementStart(statementStart_);
}

void AssemblerTables::Pass1() {
  records_.Marker(marker::FileStart, 1);
  Next();
  while (Statement()) {
  }
  records_.Close();
}

bool AssemblerTables::Statement() {
  switch (tok().kind) {
    case EndOfLine:
      records_.Line(false);
      Next();
      return true;
    case KwEnd:
      records_.Marker(marker::FileEnd);
      records_.Marker(marker::End);
      return false;
    case NewSymbol: {
      const Token name = tok();
      Next();
      if (Is(':')) {
        Define(name, static_cast<std::uint16_t>(lc_), SymLabel);
        Next();
        return Statement();  // the rest of the line is a statement of its own
      }
      if (!Is(KwEqu) && !Is('=')) throw EAssembleException(330);
      Next();
      Define(name, Expression(), SymConstant);
      records_.Line(false);
      break;
    }
    case KwOrg: Org(); break;
    case KwDb: Db(); break;
    case KwMnemonic: Instruction(); break;
    default: throw EAssembleException(334);
  }
  EndStatement();
  return true;
}

void AssemblerTables::EndStatement() {
  if (!AtLineEnd()) throw EAssembleException(341);
  if (lc_ > 256) throw EAssembleException(354);
  if (Is(EndOfLine)) Next();
}

void AssemblerTables::Define(const Token& name, std::uint16_t value, SymbolKind kind) {
  symbols_.Define(name.value, name.text, value, kind, em_);
}

void AssemblerTables::Org() {
  Next();
  const std::uint16_t address = Expression();
  if (address < lc_) throw EAssembleException(346);
  lc_ = address;
  statementStart_ = address;
  scanner_.SetStatementStart(address);
  records_.Marker(marker::Org, static_cast<std::uint8_t>(address >> 8),
                  static_cast<std::uint8_t>(address));
}

void AssemblerTables::Db() {
  StartStatement();
  Next();
  const int start = lc_;
  const auto item = [&] {
    if (Is(StringLit)) {
      for (char c : tok().text) {
        if (lc_ - start >= 255) throw EAssembleException(355);
        Emit(static_cast<std::uint8_t>(c));
      }
      Next();
    } else {
      if (lc_ - start >= 255) throw EAssembleException(355);
      ByteOperand();
    }
  };
  if (!AtLineEnd()) {
    for (;;) {
      item();
      if (Is(',')) {
        Next();
        continue;
      }
      if (AtLineEnd()) break;
    }
  }
  records_.Marker(marker::Db, static_cast<std::uint8_t>(lc_ - start));
}

void AssemblerTables::ByteOperand() {
  if (Is(NewSymbol)) {
    symbols_.AddReference(tok().value, tok().text, static_cast<std::uint16_t>(lc_));
    Emit(0x01);
    Next();
    return;
  }
  Emit(static_cast<std::uint8_t>(Expression()));
}

// The kind of the operand that begins at the current token; `first` is the first operand's
// kind when this is the second. After R? and @R? a register token begins an address
// expression, which then fails.
int AssemblerTables::OperandKindAhead(int first) const {
  if (Is(KwA)) return OpA;
  if ((Is(KwReg) || Is(KwIndirect)) && first != OpReg && first != OpIndirect)
    return Is(KwReg) ? OpReg : OpIndirect;
  if (Is('#')) return OpImm;
  return OpMem;
}

// Reads an operand of the given kind; a register operand leaves its number in `reg`.
void AssemblerTables::ReadOperand(int kind, int& reg) {
  switch (kind) {
    case OpA:
      Next();
      break;
    case OpReg:
    case OpIndirect:
      reg = tok().value & 3;
      Next();
      break;
    case OpImm:
      Next();
      ByteOperand();
      break;
    default:
      ByteOperand();
      break;
  }
}

void AssemblerTables::Instruction() {
  const OperandFormGrid& grid = isa_.OperandFormTable[tok().value % kMaxMnemonics];
  StartStatement();
  const int site = lc_;
  Emit(0);  // the op-code's place; stored once the operands are known
  Next();
  int kind1 = OpNone, kind2 = OpNone, reg = 0;
  if (!(Is(EndOfLine) || (Is(KwEnd) && tok().endOfSource))) {
    // The first operand's form must exist before its expression is read, so a form the
    // mnemonic lacks is reported as such and not as a fault inside the expression.
    kind1 = OperandKindAhead(OpNone);
    bool any = false, twoOperands = false;
    for (int k = 0; k < kOperandKinds; ++k) {
      any = any || grid[kind1][k].defined;
      twoOperands = twoOperands || (k != OpNone && grid[kind1][k].defined);
    }
    if (!any) throw EAssembleException(331);
    ReadOperand(kind1, reg);
    if (twoOperands) {
      if (!Is(',')) throw EAssembleException(342);
      Next();
      kind2 = OperandKindAhead(kind1);
      ReadOperand(kind2, reg);
    }
  }
  const OperandForm& cell = grid[kind1][kind2];
  if (!cell.defined) throw EAssembleException(331);
  em_[site] = static_cast<std::uint8_t>(cell.opcode | reg);
  records_.Line(true);
}

std::uint16_t AssemblerTables::Expression() {
  bool negate = false;
  if (Is('+') || Is('-')) {
    negate = Is('-');
    Next();
  }
  std::uint16_t value = Term();
  if (negate) value = static_cast<std::uint16_t>(-value);
  while (Is('+') || Is('-') || Is('|')) {
    const int op = tok().kind;
    Next();
    const std::uint16_t right = Term();
    value = static_cast<std::uint16_t>(op == '+' ? value + right
                                       : op == '-' ? value - right : value | right);
  }
  return value;
}

std::uint16_t AssemblerTables::Term() {
  std::uint16_t value = Primary();
  while (IsMultiplicative(tok().kind)) {
    const int op = tok().kind;
    if (op == '.') throw EAssembleException(1007);
    Next();
    const std::uint16_t right = Primary();
    switch (op) {
      case '*': value = static_cast<std::uint16_t>(std::uint32_t{value} * right); break;
      case '/':
        if (right == 0) throw EAssembleException(335);
        value = value / right;
        break;
      case '%':
        if (right == 0) throw EAssembleException(335);
        value = value % right;
        break;
      case '&': value &= right; break;
      case '^': value ^= right; break;
      case '<': value = static_cast<std::uint16_t>(std::uint32_t{value} << (right & 15)); break;
      case '>': value = static_cast<std::uint16_t>(value >> (right & 15)); break;
    }
  }
  return value;
}

std::uint16_t AssemblerTables::Primary() {
  const Token t = tok();
  switch (t.kind) {
    case Number:
    case StringLit:
      Next();
      return t.value;
    case '!': {
      const NestingLevel level(nesting_);
      Next();
      return static_cast<std::uint16_t>(~Primary());
    }
    case '(': {
      const NestingLevel level(nesting_);
      Next();
      const std::uint16_t value = Expression();
      if (!Is(')')) throw EAssembleException(339);
      Next();
      return value;
    }
    case NewSymbol: throw EAssembleException(303);
    default: throw EAssembleException(331);
  }
}

bool AssemblerTables::Listing(const std::string& text, const std::string& listPath) {
  LineReader reader(text);
  std::string listing;
  int address = 0;
  bool full = false;
  const auto put = [&](const std::string& prefix, const std::string& line) {
    listing += prefix + line + "\r\n";
  };
  const auto record = [&](std::int32_t a) {
    full = !map.Add(a, 1);
    errorLine = map.size() + 1;
    return !full;
  };
  records_.Replay({
      [&](bool instruction) {
        const std::string line = reader.Next();
        if (!instruction) {
          put(std::string(12, ' '), line);
          return record(-1);
        }
        const int n = isa_.OpLengthTable[em_[address & 0xFF]];
        put(Prefix(address, em_, n), line);
        const bool more = record(address);
        address += n;
        return more;
      },
      [&](std::uint8_t m, const std::uint8_t* args) {
        switch (m) {
          case marker::Db: {
            const std::string line = reader.Next();
            int left = args[0];
            const bool more = record(address);
            for (; left > 3; left -= 3, address += 3) put(Prefix(address, em_, 3), "");
            put(Prefix(address, em_, left), line);
            address += left;
            return more;
          }
          case marker::Org:
            address = args[0] << 8 | args[1];
            put(std::string(12, ' '), reader.Next());
            return record(-1);
          case marker::End:
            // The end of the source on the line of a statement lists no line of its own.
            if (!reader.HasLine()) return true;
            put(std::string(12, ' '), reader.Next());
            return record(-1);
          default: return true;  // file start and end list nothing
        }
      },
  });
  // A full map only ends the listing early; a listing that cannot be written fails the
  // assembly, since a stale listing beside the source would be taken for this one.
  return WriteFileAtomic(listPath, listing, Durability::Derived);
}

void AssemblerTables::CheckUndefinedNames() {
  bool failed = false;
  for (int slot : symbols_.SortedSlots()) {
    const Symbol& s = symbols_[slot];
    if (s.defined) continue;
    failed = true;
    for (std::uint16_t site : symbols_.ReferenceSites(slot)) {
      std::optional<SourceLine> found;
      for (int back = 1; back <= 4 && !found; ++back)
        if (site >= back) found = map.AddressToLine(site - back);
      std::string text = "错误 353: " + MessageText(353) + Gb2312ToUtf8(s.name);
      if (found) {
        text = "行: " + std::to_string(found->line) + ", " + text;
        errorLine = found->line;
      }
      errorText = text;
    }
  }
  symbols_.FreeAllChains();
  ok = !failed;
}

bool AssemblerTables::Assemble(const std::string& requested) {
  ok = false;
  errorText.clear();
  errorLine = 0;
  keywords_.Build(isa_.keywords);
  symbols_.Clear();
  map.Clear();
  records_.Clear();
  lc_ = 0;
  statementStart_ = 0;
  programBytes = 0;
  nesting_ = 0;
  sourceNamed = !requested.empty();
  if (requested.empty()) {
    box_.BoxDownload(uM_, em_);
    return false;
  }
  const std::string path = Extension(requested).empty() ? requested + ".ASM" : requested;
  const std::string listPath = DerivedPath(path, ".LST");
  const std::string imagePath = DerivedPath(path, ".BIN");
  std::string text;
  try {
    // A file no source reaches in size is refused before it is read, as a missing one is.
    if (!FileReadable(path) || RegularFileSize(path) > kMaxInputFileBytes)
      throw EAssembleException(102, " " + path);
    // A source named like its own listing or image would be overwritten by it.
    for (const std::string& derived : {listPath, imagePath})
      if (SameFile(path, derived)) return WriteFailure(derived);
    std::optional<std::string> content = ReadWholeFile(path);
    if (!content) throw EAssembleException(102, " ");
    text = std::move(*content);
    errorLine = 1;
    // The image is the program alone: bytes it does not define are 0, never those of a
    // program assembled before.
    em_.fill(0);
    scanner_.Open(text);
    Pass1();
  } catch (const EAssembleException& e) {
    errorLine = e.number == 102 ? 0 : scanner_.current().line;
    errorText = ErrorTextOf(errorLine, e.number, e.detail);
    return false;
  }
  if (!Listing(text, listPath)) return WriteFailure(listPath);
  CheckUndefinedNames();
  if (!ok) return false;
  const std::string_view image(reinterpret_cast<const char*>(em_.data()), em_.size());
  if (!WriteFileAtomic(imagePath, image, Durability::Derived)) return WriteFailure(imagePath);
  box_.BoxDownload(uM_, em_);
  return true;
}

std::optional<std::uint16_t> AssemblerTables::LabelValue(const std::string& name) const {
  // The name as the scanner would pass it: upper case, its significant characters, a one-letter
  // name with its blank.
  std::string key;
  for (char c : name.substr(0, kNameLength))
    key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  if (key.size() == 1) key += ' ';
  try {
    const Symbol& s = symbols_[symbols_.Lookup(key)];
    if (s.name.empty() || !s.defined || s.kind != SymLabel) return std::nullopt;
    return s.value;
  } catch (const EAssembleException&) {
    return std::nullopt;  // a full table without this name
  }
}

Assembler::Assembler(const InstructionSystem& isa, const MicroProgram& uM, ProgramMemory& em,
                     BoxOperations& box)
    : tables_(std::make_unique<AssemblerTables>(isa, uM, em, box)) {}
Assembler::~Assembler() = default;

bool Assembler::AssembleSource(const std::string& path) { return tables_->Assemble(path); }
const std::string& Assembler::ErrorText() const { return tables_->errorText; }
int Assembler::ErrorLine() const { return tables_->errorLine; }
int Assembler::ProgramBytes() const { return tables_->programBytes; }
bool Assembler::AssembledOK() const { return tables_->ok; }
void Assembler::ClearAssembledOK() { tables_->ok = false; }

std::optional<SourceLine> Assembler::AddressToLine(std::uint32_t address) const {
  if (!tables_->ok) return std::nullopt;
  return tables_->map.AddressToLine(address);
}

std::optional<std::uint32_t> Assembler::LineToAddress(int line) const {
  if (!tables_->sourceNamed) return std::nullopt;
  return tables_->map.LineToAddress(line);
}

std::optional<CodeLine> Assembler::FirstCodeLineFrom(int line) const {
  if (!tables_->ok) return std::nullopt;
  return tables_->map.FirstCodeLineFrom(line);
}

std::optional<std::uint16_t> Assembler::LabelValue(const std::string& name) const {
  if (!tables_->ok) return std::nullopt;
  return tables_->LabelValue(name);
}

}  // namespace edumac8
