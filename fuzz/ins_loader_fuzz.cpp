// Any bytes as an instruction-system file. The load gives its message or a system; a system
// that loaded saves back to the file's own records, modulo what a load changes (a record lands
// in the entry of its op-code with the low bits cleared, the last record for an entry wins,
// mnemonics are cut to 12 characters and lose trailing blanks, comments are cut to 80 bytes),
// and loading the saved bytes gives the same bytes again. No text of the loaded system holds a
// control character.
//
// The file is an anonymous memory file, so fuzzing leaves nothing on disk.
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "isa/ins_file.h"

namespace edumac8 {
namespace {

class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("edumac8-ins-fuzz", MFD_CLOEXEC)) {
    if (fd_ < 0) std::abort();
  }
  ~MemoryFile() { close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }
  void Fill(std::string_view bytes) const {
    if (ftruncate(fd_, 0) != 0) std::abort();
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done, done);
      if (n <= 0) std::abort();
      done += static_cast<std::size_t>(n);
    }
  }

 private:
  int fd_;
};

struct RawRecord {
  std::string mnemonic, comment;
  std::uint8_t opcode = 0, kind1 = 0, kind2 = 0;
};

// A second, independent reading of the file: the records in file order and the cells.
struct RawFile {
  std::array<std::optional<RawRecord>, 64> byEntry;
  std::string cells;
};

std::optional<RawFile> ReadRaw(std::string_view bytes) {
  std::size_t pos = sizeof kInsSignature;
  const auto take = [&](std::size_t n) -> std::optional<std::string_view> {
    if (bytes.size() < pos + n) return std::nullopt;
    const std::string_view s = bytes.substr(pos, n);
    pos += n;
    return s;
  };
  const auto shortString = [&]() -> std::optional<std::string> {
    const auto n = take(1);
    if (!n) return std::nullopt;
    const auto s = take(static_cast<std::uint8_t>((*n)[0]));
    if (!s) return std::nullopt;
    return std::string(*s);
  };
  RawFile raw;
  for (int i = 0; i < 64; ++i) {
    const auto defined = take(1);
    if (!defined) return std::nullopt;
    if ((*defined)[0] == 0) continue;
    RawRecord r;
    const auto mnemonic = shortString();
    const auto fixed = mnemonic ? take(3) : std::nullopt;
    const auto comment = fixed ? shortString() : std::nullopt;
    if (!comment) return std::nullopt;
    r.mnemonic = *mnemonic;
    r.opcode = static_cast<std::uint8_t>((*fixed)[0]);
    r.kind1 = static_cast<std::uint8_t>((*fixed)[1]);
    r.kind2 = static_cast<std::uint8_t>((*fixed)[2]);
    r.comment = *comment;
    if (r.kind1 <= 5 && r.kind2 <= 5) raw.byEntry[r.opcode / 4] = r;
  }
  const auto cells = take(1024);
  if (!cells) return std::nullopt;
  raw.cells = *cells;
  return raw;
}

std::string ExpectedMnemonic(const std::string& raw) {
  std::string m = raw.substr(0, 12);
  while (!m.empty() && m.back() == ' ') m.pop_back();
  return m;
}

// A comment cut to 80 bytes, never inside a double-byte character: the whole text when it
// fits, else a prefix of 79 or 80 bytes.
bool IsCutOf(const std::string& cut, const std::string& raw) {
  if (raw.size() <= 80) return cut == raw;
  return (cut.size() == 80 || cut.size() == 79) && raw.compare(0, cut.size(), cut) == 0;
}

bool HasControlCharacter(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace
}  // namespace edumac8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace edumac8;
  static const MemoryFile file;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  file.Fill(bytes);
  InstructionSystem isa;
  MicroProgram uM{};
  const std::optional<std::string> error = LoadInsFile(file.Path(), isa, uM);
  for (const InstrEntry& e : isa.InstrTable)
    Check(!HasControlCharacter(e.mnemonic) && !HasControlCharacter(e.comment));
  if (error) return 0;

  const std::optional<RawFile> raw = ReadRaw(bytes);
  Check(raw.has_value());
  for (int i = 0; i < kEntries; ++i) {
    const InstrEntry& e = isa.InstrTable[i];
    const std::optional<RawRecord>& r = raw->byEntry[i];
    Check(e.defined == r.has_value());
    if (!r) continue;
    Check(e.opcode == (r->opcode & 0xFC) && e.kind1 == r->kind1 && e.kind2 == r->kind2);
    Check(e.mnemonic == ExpectedMnemonic(r->mnemonic));
    Check(IsCutOf(e.comment, r->comment));
  }
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 4; ++b)
      Check(static_cast<std::uint8_t>(uM[a] >> (8 * b)) ==
            static_cast<std::uint8_t>(raw->cells[4 * a + b]));

  const std::string saved = EncodeInsFile(isa, uM);
  file.Fill(saved);
  InstructionSystem again;
  MicroProgram againUM{};
  Check(!LoadInsFile(file.Path(), again, againUM));
  Check(EncodeInsFile(again, againUM) == saved);
  return 0;
}
