#include "fpga/mode_file.h"

#include <climits>
#include <cstdint>
#include <limits>

#include "platform/file_io.h"

namespace edumac8 {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the file's numbers and texts in order. A failed number marks the file bad; a number
// that meets the end of the file also ends the reading.
class ModeReader {
 public:
  explicit ModeReader(std::string_view bytes) : data_(bytes) {}

  bool Header() {
    const std::string_view line = Line();
    return line.size() >= kModeHeader.size() && line.substr(0, kModeHeader.size()) == kModeHeader;
  }

  std::optional<long long> Number(long long min, long long max) {
    while (pos_ < data_.size() && IsBlank(data_[pos_])) ++pos_;
    if (pos_ == data_.size()) {
      ended_ = bad_ = true;
      return std::nullopt;
    }
    const std::size_t start = pos_;
    while (pos_ < data_.size() && !IsBlank(data_[pos_])) ++pos_;
    const std::string_view token = data_.substr(start, pos_ - start);
    while (pos_ < data_.size() && data_[pos_] != '\n') ++pos_;
    if (pos_ < data_.size()) ++pos_;
    const std::optional<long long> n = ParseModeInteger(token);
    if (!n || *n < min || *n > max) {
      bad_ = true;
      return std::nullopt;
    }
    return n;
  }
  std::optional<long long> Int32() { return Number(INT32_MIN, INT32_MAX); }
  std::optional<long long> Int64() { return Number(LLONG_MIN, LLONG_MAX); }

  // The rest of the current line without its line end; empty at the end of the file.
  std::string Text() { return std::string(Line()); }

  bool Ended() const { return ended_; }
  bool Bad() const { return bad_; }

 private:
  std::string_view Line() {
    const std::size_t start = pos_;
    std::size_t end = data_.find('\n', pos_);
    if (end == std::string_view::npos) {
      pos_ = data_.size();
      return data_.substr(start);
    }
    pos_ = end + 1;
    if (end > start && data_[end - 1] == '\r') --end;
    return data_.substr(start, end - start);
  }

  std::string_view data_;
  std::size_t pos_ = 0;
  bool ended_ = false;
  bool bad_ = false;
};

// Reads one number into `field` (through `keep`, which narrows it); a failed read leaves the
// field as it was.
template <typename T, typename Keep>
bool ReadInto(std::optional<long long> n, T& field, Keep keep) {
  if (!n) return false;
  field = keep(*n);
  return true;
}

template <typename T>
T Low(long long n) {
  return static_cast<T>(static_cast<unsigned long long>(n));
}

// Nine lines; nothing of a block with a failed number is kept.
std::optional<CList> ReadComponent(ModeReader& in) {
  CList c;
  bool ok = true;
  const auto int32 = [](long long n) { return static_cast<int>(n); };
  for (int* field : {&c.X, &c.Y, &c.Kind, &c.SetupMode}) {
    ok = ReadInto(in.Int32(), *field, int32) && ok;
    if (in.Ended()) return std::nullopt;
  }
  ok = ReadInto(in.Int32(), c.Colour, Low<std::uint8_t>) && ok;
  if (in.Ended()) return std::nullopt;
  ok = ReadInto(in.Int64(), c.ClockCount, Low<std::uint32_t>) && ok;
  if (in.Ended()) return std::nullopt;
  for (int* field : {&c.IOGroup, &c.Bit}) {
    ok = ReadInto(in.Int32(), *field, int32) && ok;
    if (in.Ended()) return std::nullopt;
  }
  c.Label = in.Text();
  if (!ok) return std::nullopt;
  return c;
}

void ReadColumn(ModeReader& in, BoardColumn& col) {
  const auto int32 = [](long long n) { return static_cast<int>(n); };
  ReadInto(in.Int32(), col.KeyType, Low<std::uint8_t>);
  if (in.Ended()) return;
  ReadInto(in.Int32(), col.KeyClockCount, int32);
  if (in.Ended()) return;
  ReadInto(in.Int32(), col.KeyIO, Low<std::uint16_t>);
  if (in.Ended()) return;
  ReadInto(in.Int32(), col.KeyFreq, int32);
  if (in.Ended()) return;
  col.KeyLabel = in.Text();
  col.PortText = in.Text();
  col.PortLabel = in.Text();
  ReadInto(in.Int32(), col.PortIO, int32);
}

void Line(std::string& out, std::string_view text) {
  out += text;
  out += "\r\n";
}

void Line(std::string& out, long long n) { Line(out, std::to_string(n)); }

}  // namespace

std::string ModeNotFoundText(const std::string& name) { return "未找到模式文件: " + name; }
std::string ModeFormatText(const std::string& name) { return "模式文件格式错: " + name; }
std::string ModeOverwriteText(const std::string& name) {
  return "\"" + name + "\" 模式文件已存在, 重写? ";
}

std::string WithModeExtension(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t own = slash == std::string::npos ? 0 : slash + 1;
  return name.find('.', own) == std::string::npos ? name + ".MD8" : name;
}

std::optional<long long> ParseModeInteger(std::string_view token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  int base = 10;
  if (i < token.size() && token[i] == '$') {
    base = 16;
    ++i;
  }
  if (i == token.size()) return std::nullopt;
  // Accumulate the magnitude; the negative range is one larger than the positive one.
  const unsigned long long limit =
      negative ? static_cast<unsigned long long>(LLONG_MAX) + 1 : LLONG_MAX;
  unsigned long long magnitude = 0;
  for (; i < token.size(); ++i) {
    const int digit = base == 16 ? HexDigit(token[i])
                                 : (token[i] >= '0' && token[i] <= '9' ? token[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    if (magnitude > (limit - digit) / base) return std::nullopt;
    magnitude = magnitude * base + digit;
  }
  if (!negative) return static_cast<long long>(magnitude);
  return magnitude == static_cast<unsigned long long>(LLONG_MAX) + 1
             ? LLONG_MIN
             : -static_cast<long long>(magnitude);
}

ModeReadResult ReadMode(std::string_view bytes, BoardMode& mode) {
  ModeReader in(bytes);
  if (!in.Header()) return {ModeRead::NotModeFile, 0};
  mode.components.clear();
  ModeReadResult result;
  const auto outcome = [&] {
    result.status = in.Bad() ? ModeRead::Bad : ModeRead::Ok;
    return result;
  };
  const std::optional<long long> reserved = in.Int32();
  if (!reserved) return outcome();
  mode.BoardReserved = Low<std::uint8_t>(*reserved);
  const std::optional<long long> count = in.Int32();
  if (!count || *count < 0) {
    result.status = ModeRead::Bad;
    return result;
  }
  // The count only bounds the loop: a file cut short ends it, so nothing is sized by it.
  for (long long b = 0; b < *count && !in.Ended(); ++b) {
    std::optional<CList> c = ReadComponent(in);
    if (!c) continue;
    if (c->X > kBoardMaxX || c->Y > kBoardMaxY) {
      ++result.dropped;
      continue;
    }
    c->LabelHint = LoadedHint(*c);
    mode.components.push_back(std::move(*c));
  }
  for (BoardColumn& col : mode.columns) {
    if (in.Ended()) break;
    ReadColumn(in, col);
  }
  return outcome();
}

std::string WriteMode(const BoardMode& mode) {
  std::string out;
  out.reserve(64 + mode.components.size() * 48);
  Line(out, kModeHeader);
  Line(out, mode.BoardReserved);
  Line(out, static_cast<long long>(mode.components.size()));
  for (const CList& c : mode.components) {
    for (long long n :
         {(long long)c.X, (long long)c.Y, (long long)c.Kind, (long long)c.SetupMode,
          (long long)c.Colour, (long long)c.ClockCount, (long long)c.IOGroup, (long long)c.Bit})
      Line(out, n);
    Line(out, c.Label);
  }
  for (const BoardColumn& col : mode.columns) {
    Line(out, col.KeyType);
    Line(out, col.KeyClockCount);
    Line(out, col.KeyIO);
    Line(out, col.KeyFreq);
    Line(out, col.KeyLabel);
    Line(out, col.PortText);
    Line(out, col.PortLabel);
    Line(out, col.PortIO);
  }
  return out;
}

std::optional<std::string> OpenModeFile(const std::string& path, BoardMode& mode) {
  const std::optional<std::string> bytes = FileReadable(path) ? ReadWholeFile(path) : std::nullopt;
  if (!bytes) return ModeNotFoundText(path);
  if (ReadMode(*bytes, mode).status != ModeRead::Ok) return ModeFormatText(path);
  return std::nullopt;
}

bool SaveModeFile(const std::string& path, const BoardMode& mode) {
  return WriteFileAtomic(path, WriteMode(mode));
}

}  // namespace edumac8
