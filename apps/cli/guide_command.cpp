// edumac8-cli guide: a teacher checks a catalogue before a lab. The plain form lists the
// experiments as the selection dialog does; --dump shows every field and step, so a wrong
// pin or mask is seen before the students meet it. Output is UTF-8 whatever the locale.
#include <cstdio>

#include "cli.h"
#include "guide/experiment_reader.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace edumac8::cli {
namespace {

void Line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

std::string Text(const std::string& gb) { return Gb2312ToUtf8(gb); }

std::string Hex(std::int32_t value) {
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<std::uint32_t>(value));
  return digits;
}

void DumpBlock(const char* title, const std::vector<std::string>& lines) {
  Line(std::string(title) + " " + std::to_string(lines.size()));
  for (const std::string& line : lines) Line("|" + Text(line));
}

void Dump(const TExperiment& e, int number) {
  Line("EXP " + std::to_string(number));
  Line("NAME " + Text(e.Name));
  Line("SCHEMATIC " + Text(e.SchematicPicture));
  Line("TIMING " + Text(e.TimingPicture));
  Line("WIRES " + std::to_string(e.WireCount()));
  for (const WireStep& w : e.Wires)
    Line("WIRE " + std::to_string(w.first) + " " + std::to_string(w.second) + " " + Text(w.text));
  Line("OPS " + std::to_string(e.OpCount()));
  for (const OpStep& op : e.Ops)
    Line("OP " + Hex(op.marked) + " " + Hex(op.position) + " " + Text(op.text));
  DumpBlock("REQUIREMENT", e.Requirement);
  DumpBlock("PURPOSE", e.Purpose);
  DumpBlock("NOTES", e.Notes);
}

}  // namespace

int GuideCommand(const Args& args) {
  if (args.positional.size() > 1 || args.ins || args.box || !args.irqAfter.empty())
    throw UsageError("guide takes at most one EX.INI and --dump");
  const std::string path =
      args.positional.empty() ? HomeDirOf(ProgramPath()) + "HELP/EX.INI" : args.positional[0];
  const std::optional<std::string> file = FileReadable(path) ? ReadWholeFile(path) : std::nullopt;
  if (!file) throw Failure("读文件错: " + path);
  ExperimentCatalogue catalogue;
  const std::optional<CatalogueError> error = ParseExperiments(*file, catalogue);
  for (int n = 1; n <= catalogue.ExpCount(); ++n) {
    if (args.dump)
      Dump(*catalogue.Entry(n), n);
    else
      Line(Text(catalogue.Entry(n)->Name));
  }
  std::fflush(stdout);
  if (error) throw Failure(ErrorBoxText(*error));
  return 0;
}

}  // namespace edumac8::cli
