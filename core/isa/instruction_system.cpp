#include "isa/instruction_system.h"

#include <algorithm>
#include <cstdio>

#include "isa/default_system.h"
#include "machine/micro_word.h"
#include "platform/text_codec.h"

namespace edumac8 {

const char* const kFetchComment =
    "实验机占用，不可修改。复位后，所有寄存器清0，首先执行 _FATCH_ 指令取指";
const char* const kInterruptComment = "实验机占用，不可修改。进入中断时，实验机硬件产生 _INT_ 指令";

namespace {

constexpr std::size_t kMaxMnemonic = 12;
constexpr std::size_t kMaxComment = 80;

std::string TrimTrailingBlanks(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return std::string(s.substr(0, n));
}

// Cuts GB2312 bytes without splitting a double-byte character.
std::string CutBytes(std::string_view s, std::size_t max) {
  if (s.size() <= max) return std::string(s);
  std::size_t i = 0;
  while (i < max) {
    const std::size_t width = static_cast<unsigned char>(s[i]) >= 0x81 ? 2 : 1;
    if (i + width > max) break;
    i += width;
  }
  return std::string(s.substr(0, i));
}

std::string UpperAscii(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

bool IsFixedKeywordName(const std::string& name) {
  const auto& fixed = FixedKeywords();
  return std::any_of(fixed.begin(), fixed.end(),
                     [&](const KeywordEntry& k) { return k.name == name; });
}

std::string PadOrCut(std::string_view s, std::size_t width) {
  std::string out(s.substr(0, std::min(width, s.size())));
  out.resize(width, ' ');
  return out;
}

}  // namespace

std::string Hex2(unsigned value) {
  char buffer[3];
  std::snprintf(buffer, sizeof buffer, "%02X", value & 0xFF);
  return buffer;
}

std::string OpcodeRangeText(std::uint8_t opcode) {
  return Hex2(opcode) + "-" + Hex2(opcode | 3);
}

InstructionSystem::InstructionSystem() {
  OpLengthTable.fill(1);
  MicroProgram unused{};
  LoadDefaults(unused);
}

void InstructionSystem::SetEntry(std::string_view mnemonic, std::uint8_t opcode,
                                 std::uint8_t kind1, std::uint8_t kind2,
                                 std::string_view comment) {
  InstrEntry& e = InstrTable[opcode / 4];
  e.defined = true;
  // Cut first: a blank that the cut brings to the end would make the name unassemblable.
  e.mnemonic = TrimTrailingBlanks(mnemonic.substr(0, kMaxMnemonic));
  e.opcode = opcode & 0xFC;
  e.kind1 = kind1;
  e.kind2 = kind2;
  e.comment = CutBytes(comment, kMaxComment);
}

void InstructionSystem::ClearEntry(int i) {
  InstrEntry& e = InstrTable[i];
  e.defined = false;
  e.mnemonic.clear();
  e.kind1 = e.kind2 = 0;
  e.opcode = static_cast<std::uint8_t>(i * 4);
  e.comment.clear();
}

void InstructionSystem::MakeAllUndefined() {
  for (int i = 0; i < kEntries; ++i) {
    InstrTable[i] = InstrEntry{false, std::string(kMaxMnemonic, ' '), 0, 0, 1,
                               static_cast<std::uint8_t>(i * 4), ""};
  }
}

std::string InstructionSystem::EntryText(int i) const {
  const InstrEntry& e = InstrTable[i];
  std::string text = Gb2312ToUtf8(PadOrCut(e.mnemonic, 8)) + " " + OperandKindText(e.kind1);
  if (e.kind2 != 0) text += std::string(", ") + OperandKindText(e.kind2);
  return text;
}

std::string InstructionSystem::CommentText(int i) const {
  return Gb2312ToUtf8(InstrTable[i].comment);
}

void InstructionSystem::RebuildDerived() {
  const auto operandBytes = [](std::uint8_t k) { return k == OpImm || k == OpMem ? 1 : 0; };
  for (InstrEntry& e : InstrTable) {
    if (!e.defined) continue;
    e.length = static_cast<std::uint8_t>(1 + operandBytes(e.kind1) + operandBytes(e.kind2));
    for (int c = 0; c < 4; ++c) OpLengthTable[(e.opcode & 0xFC) + c] = e.length;
  }
  for (int i = 0; i < kEntries; ++i)
    InstrTextTable[i] = InstrTable[i].defined ? EntryText(i) : "UNDEF";

  auto& kw = keywords.entries;
  std::copy(FixedKeywords().begin(), FixedKeywords().end(), kw.begin());
  for (int i = kFixedKeywords; i < kKeywordCapacity; ++i) kw[i] = KeywordEntry{"", KwMnemonic, 0, ""};
  for (auto& grid : OperandFormTable) grid = OperandFormGrid{};

  int m = 0, j = kFixedKeywords;
  for (const InstrEntry& e : InstrTable) {
    if (!e.defined) continue;
    const std::string spelling = ScannerName(e.mnemonic);
    if (IsFixedKeywordName(spelling)) continue;
    int k = -1;
    for (int t = 0; t < j; ++t)
      if (kw[t].spelling == spelling) k = kw[t].value;
    if (k < 0) {
      if (m >= kMaxMnemonics) continue;
      kw[j++] = KeywordEntry{spelling.substr(0, 7), KwMnemonic, static_cast<std::uint16_t>(m),
                             spelling};
      k = m++;
    }
    if (e.kind1 < kOperandKinds && e.kind2 < kOperandKinds)
      OperandFormTable[k][e.kind1][e.kind2] = {true, static_cast<std::uint8_t>(e.opcode & 0xFC)};
  }
  keywords.size = j;
  for (int a = 0; a < j; ++a)
    for (int b = a + 1; b < j; ++b)
      if (kw[a].name > kw[b].name) std::swap(kw[a], kw[b]);

  static const char kFixedEditorWords[] =
      "\xFForg\xFFtitle\xFFpage\xFF" "a\xFF" "db\xFF" "a\xFFr0\xFFr1\xFFr2\xFFr3\xFF"
      "else\xFF" "end\xFF" "endif\xFF" "equ\xFFif\xFFinclude\xFFmask\xFF";
  EditorKeywordList.assign(kFixedEditorWords, sizeof kFixedEditorWords - 1);
  for (const InstrEntry& e : InstrTable) {
    if (!e.defined) continue;
    for (char c : e.mnemonic)
      EditorKeywordList += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    EditorKeywordList += '\xFF';
  }
  EditorKeywordList += std::string(2, '\0');
}

void InstructionSystem::LoadDefaults(MicroProgram& uM) {
  MakeAllUndefined();
  for (const DefaultEntry& d : kDefaultEntries) {
    const char* comment = d.opcode == 0x00 ? kFetchComment
                          : d.opcode == 0xB8 ? kInterruptComment : "";
    SetEntry(d.mnemonic, d.opcode, d.kind1, d.kind2, Utf8ToGb2312(comment));
  }
  uM = kDefaultMicroProgram;
  InsFileName.clear();
  UMModified = false;
  RebuildDerived();
}

void InstructionSystem::MakeNew(MicroProgram& uM) {
  MakeAllUndefined();
  SetEntry("_FATCH_", 0x00, 0, 0, Utf8ToGb2312(kFetchComment));
  SetEntry("_INT_", 0xB8, 0, 0, Utf8ToGb2312(kInterruptComment));
  uM.fill(kEmptyCell);
  RebuildDerived();
  InsFileName.clear();
  UMModified = false;
}

std::optional<std::string> InstructionSystem::ValidateModification(
    int current, const std::string& mnemonic, std::uint8_t kind1, std::uint8_t kind2) const {
  if (mnemonic.empty()) return "请输入助记符";
  const char first = mnemonic[0];
  if (!((first >= 'A' && first <= 'Z') || first == '_')) return "助记符必须由字符或\"_\"开头";
  for (char c : mnemonic)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_'))
      return "助记符只能有字符，数字及\"_\"组成";
  if (mnemonic.size() > kMaxMnemonic) return "助记符不能大于12个字符";
  for (int i = 0; i < kEntries; ++i) {
    const InstrEntry& other = InstrTable[i];
    if (i == current || !other.defined) continue;
    if (other.mnemonic == mnemonic && other.kind1 == kind1 && other.kind2 == kind2) {
      std::string text = PadOrCut(mnemonic, 8) + " " + OperandKindText(kind1);
      if (kind2 != 0) text += std::string(", ") + OperandKindText(kind2);
      return "\"" + text + "\" 已定义, 机器码: " + OpcodeRangeText(other.opcode);
    }
  }
  if (IsFixedKeywordName(mnemonic)) return "\"" + mnemonic + "\" 是保留字";
  return ProtectionError(current);
}

std::optional<std::string> InstructionSystem::ProtectionError(int current) const {
  if ((current == kFetchEntry || current == kInterruptEntry) &&
      !InstrTable[current].comment.empty())
    return CommentText(current);
  return std::nullopt;
}

std::optional<std::string> InstructionSystem::ModifyEntry(int current, std::string_view mnemonic,
                                                          std::uint8_t kind1,
                                                          std::uint8_t kind2) {
  const std::string name = TrimTrailingBlanks(UpperAscii(mnemonic));
  if (auto error = ValidateModification(current, name, kind1, kind2)) return error;
  ClearEntry(current);
  SetEntry(name, static_cast<std::uint8_t>(current * 4), kind1, kind2, "");
  RebuildDerived();
  return std::nullopt;
}

std::optional<std::string> InstructionSystem::DeleteEntry(int current) {
  if (auto error = ProtectionError(current)) return error;
  ClearEntry(current);
  RebuildDerived();
  return std::nullopt;
}

}  // namespace edumac8
