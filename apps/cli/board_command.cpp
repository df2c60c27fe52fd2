// edumac8-cli board: a mode file (or the start-up mode) as text, or written again as the
// board window saves it.
#include <cstdio>

#include "cli.h"
#include "fpga/mode_file.h"
#include "platform/text_codec.h"

namespace edumac8::cli {
namespace {

struct BoardArgs {
  std::optional<std::string> file;
  bool fresh = false;
  std::optional<std::string> save;
};

BoardArgs ParseBoardArgs(const std::vector<std::string>& words) {
  BoardArgs args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--new") {
      if (args.fresh) throw UsageError("--new given twice");
      args.fresh = true;
    } else if (w == "--save") {
      if (i + 1 >= words.size()) throw UsageError("--save needs a value");
      if (args.save) throw UsageError("--save given twice");
      args.save = words[++i];
    } else if (w.size() > 1 && w[0] == '-') {
      throw UsageError("unknown option " + w);
    } else {
      if (args.file) throw UsageError("expected one FILE");
      args.file = w;
    }
  }
  if (args.fresh && args.file) throw UsageError("FILE and --new exclude each other");
  if (!args.fresh && !args.file) throw UsageError("expected FILE or --new");
  return args;
}

// A text in double quotes: decoded as GBK, with backslash, double quote and control
// characters escaped so that every line stays one line.
std::string Quoted(const std::string& gbk) {
  std::string out = "\"";
  for (unsigned char c : Gb2312ToUtf8(gbk)) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      static const char kDigits[] = "0123456789ABCDEF";
      out += "\\x";
      out += kDigits[c >> 4];
      out += kDigits[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

void PrintMode(const BoardMode& mode) {
  std::printf("mode reserved=%d components=%zu\n", mode.BoardReserved, mode.components.size());
  for (std::size_t i = 0; i < mode.components.size(); ++i) {
    const CList& c = mode.components[i];
    std::printf(
        "component %zu kind=%d x=%d y=%d setup=%d colour=%d clocks=%u group=%d io=%s bit=%d "
        "label=%s\n",
        i, c.Kind, c.X, c.Y, c.SetupMode, c.Colour, c.ClockCount, c.IOGroup,
        IOGroupName(c.IOGroup).c_str(), c.Bit, Quoted(c.Label).c_str());
  }
  for (int i = 0; i < kBoardColumns; ++i) {
    const BoardColumn& col = mode.columns[i];
    std::printf("key %d type=%d clocks=%d group=%d io=%s freq=%d label=%s\n", i, col.KeyType,
                col.KeyClockCount, col.KeyIO, IOGroupName(col.KeyIO).c_str(), col.KeyFreq,
                Quoted(col.KeyLabel).c_str());
    std::printf("port %d group=%d io=%s label=%s text=%s\n", i, col.PortIO,
                IOGroupName(col.PortIO).c_str(), Quoted(col.PortLabel).c_str(),
                Quoted(col.PortText).c_str());
  }
}

}  // namespace

int BoardCommand(const std::vector<std::string>& words) {
  const BoardArgs args = ParseBoardArgs(words);
  BoardMode mode;
  if (args.file) {
    if (const auto error = OpenModeFile(WithModeExtension(*args.file), mode)) throw Failure(*error);
  }
  if (args.save) {
    if (!SaveModeFile(WithModeExtension(*args.save), mode)) throw Failure(kModeWriteError);
    return 0;
  }
  PrintMode(mode);
  return 0;
}

}  // namespace edumac8::cli
