#include "isa/ins_file.h"

#include <algorithm>
#include <cstring>

#include "platform/file_io.h"

namespace edumac8 {

const char kInsSignature[34] = {
    'I', 'N', 'S', 'T', 'U', 'R', 'C', 'T', 'I', 'O', 'N', ' ', '&', ' ', 'u', 'M', ' ',
    'f', 'i', 'l', 'e', ' ', 'f', 'o', 'r', ' ', 'E', 'D', 'U', 'M', 'A', 'C', '2', '\x1A'};

namespace {

void PutShortString(std::string& out, std::string_view s) {
  const std::size_t n = std::min<std::size_t>(s.size(), 255);
  out += static_cast<char>(n);
  out.append(s.substr(0, n));
}

// Sequential reader over the file's bytes; every read fails once the data runs out.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  bool Byte(std::uint8_t& b) {
    if (pos_ >= data_.size()) return false;
    b = static_cast<std::uint8_t>(data_[pos_++]);
    return true;
  }
  bool ShortString(std::string& s) {
    std::uint8_t n;
    if (!Byte(n) || data_.size() - pos_ < n) return false;
    s.assign(data_.substr(pos_, n));
    pos_ += n;
    return true;
  }
  bool Cell(std::uint32_t& cell) {
    if (data_.size() - pos_ < 4) return false;
    cell = 0;
    for (int i = 3; i >= 0; --i) cell = cell << 8 | static_cast<std::uint8_t>(data_[pos_ + i]);
    pos_ += 4;
    return true;
  }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

// Control characters have no place in a mnemonic or a comment; written into generated VHDL
// or a listing, a line end would turn the rest of the text into code.
bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

enum class ParseResult { Complete, CutShort, Malformed };

// The entry records and the uM cells after the signature, up to the first record that is cut
// short or cannot be a valid one.
ParseResult ParseInsBody(Reader& in, InstructionSystem& isa, MicroProgram& uM) {
  isa.MakeAllUndefined();
  for (int i = 0; i < kEntries; ++i) {
    std::uint8_t defined;
    if (!in.Byte(defined)) return ParseResult::CutShort;
    if (defined > 1) return ParseResult::Malformed;
    if (defined == 0) continue;
    std::string mnemonic, comment;
    std::uint8_t opcode, kind1, kind2;
    if (!(in.ShortString(mnemonic) && in.Byte(opcode) && in.Byte(kind1) && in.Byte(kind2) &&
          in.ShortString(comment)))
      return ParseResult::CutShort;
    if (kind1 >= kOperandKinds || kind2 >= kOperandKinds || HasControlCharacter(mnemonic) ||
        HasControlCharacter(comment))
      return ParseResult::Malformed;
    isa.SetEntry(mnemonic, opcode, kind1, kind2, comment);
  }
  for (std::uint32_t& cell : uM)
    if (!in.Cell(cell)) return ParseResult::CutShort;
  return ParseResult::Complete;
}

}  // namespace

std::string EncodeInsFile(const InstructionSystem& isa, const MicroProgram& uM) {
  std::string out(kInsSignature, sizeof kInsSignature);
  for (const InstrEntry& e : isa.InstrTable) {
    out += static_cast<char>(e.defined ? 1 : 0);
    if (!e.defined) continue;
    PutShortString(out, e.mnemonic);
    out += static_cast<char>(e.opcode);
    out += static_cast<char>(e.kind1);
    out += static_cast<char>(e.kind2);
    PutShortString(out, e.comment);
  }
  for (std::uint32_t cell : uM)
    for (int i = 0; i < 4; ++i) out += static_cast<char>(cell >> (8 * i));
  return out;
}

std::optional<std::string> SaveInsFile(const std::string& path, InstructionSystem& isa,
                                       const MicroProgram& uM) {
  const bool ok = WriteFileAtomic(path, EncodeInsFile(isa, uM));
  isa.InsFileName = path;
  isa.UMModified = false;
  if (!ok) return "写文件错误：" + path;
  return std::nullopt;
}

std::optional<std::string> LoadInsFile(const std::string& path, InstructionSystem& isa,
                                       MicroProgram& uM) {
  const std::optional<std::string> data = ReadWholeFile(path);
  if (!data) return "读文件错误：" + path;
  if (data->size() < sizeof kInsSignature ||
      std::memcmp(data->data(), kInsSignature, sizeof kInsSignature) != 0)
    return "文件格式错误：" + path;

  Reader in(std::string_view(*data).substr(sizeof kInsSignature));
  InstructionSystem loaded;
  MicroProgram cells{};
  switch (ParseInsBody(in, loaded, cells)) {
    case ParseResult::CutShort:
      return "读文件错误：" + path;
    case ParseResult::Malformed:
      return "文件格式错误：" + path;
    case ParseResult::Complete:
      break;
  }
  loaded.RebuildDerived();
  loaded.InsFileName = path;
  loaded.UMModified = false;
  isa = std::move(loaded);
  uM = cells;
  return std::nullopt;
}

}  // namespace edumac8
