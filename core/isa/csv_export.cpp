#include "isa/csv_export.h"

#include "isa/grid_rows.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace edumac8 {
namespace {

template <std::size_t N>
std::string Join(const std::array<std::string, N>& cells) {
  std::string line;
  for (std::size_t c = 0; c < N; ++c) {
    if (c) line += ';';
    line += cells[c];
  }
  return line;
}

}  // namespace

CsvDialogText CsvDialogFor(CsvKind kind) {
  switch (kind) {
    case CsvKind::InstructionSet:
      return {"保存指令系统为 CSV", "指令系统 CSV(*.CSV)|*.CSV", "INST.CSV"};
    case CsvKind::MicroProgram: return {"微程序为 CSV", "微程序 CSV(*.CSV)|*.CSV", "uM.CSV"};
    case CsvKind::Trace: break;
  }
  return {"跟踪 为 CSV", "跟踪 CSV(*.CSV)|*.CSV", "Trace.CSV"};
}

std::string ProposeCsvName(const std::string& lastCsv, const std::string& sourcePath,
                           CsvKind kind) {
  if (!lastCsv.empty()) return lastCsv;
  // An unnamed source ("*.ASM", "NONAME1") has no name worth proposing.
  const std::string name = FileNameOf(sourcePath);
  if (name.empty() || name.starts_with('*') || name.starts_with("NONAME"))
    return CsvDialogFor(kind).defaultName;
  return DerivedPath(sourcePath, ".CSV");
}

std::string CsvTargetPath(const std::string& chosen) {
  if (chosen.empty() || !Extension(chosen).empty()) return chosen;
  return chosen + ".CSV";
}

std::vector<std::string> CsvLines(CsvKind kind, const InstructionSystem& isa, Machine& m) {
  std::vector<std::string> lines{"Sep=;"};
  m.BuildStepCountTable();
  switch (kind) {
    case CsvKind::InstructionSet:
      lines.push_back(Join(InstrGridHeader()));
      for (int i = 0; i < kEntries; ++i) lines.push_back(Join(InstrGridRowOf(isa, i)));
      break;
    case CsvKind::MicroProgram:
      lines.push_back(Join(MicroGridHeader()));
      for (int a = 0; a < 256; ++a) lines.push_back(Join(MicroGridRowOf(isa, m, a)));
      break;
    case CsvKind::Trace:
      lines.push_back(Join(MicroGridHeader()));
      for (int i = 0; i < m.history.Count(); ++i) {
        const MicroGridRow row = TraceGridRowOf(isa, m, i);
        if (row[1].empty()) break;  // the grid's export stops at the first empty state
        lines.push_back(Join(row));
      }
      break;
  }
  return lines;
}

std::optional<std::string> ExportCsv(CsvKind kind, const std::string& path,
                                     const InstructionSystem& isa, Machine& m) {
  if (HasExtension(path, ".INS")) return "不能把 CSV 写入指令系统文件：" + path;
  const std::vector<std::string> lines = CsvLines(kind, isa, m);
  if (!WriteFileAtomic(path, EncodeTextFile(lines.data(), lines.size())))
    return "写文件错误：" + path;
  return std::nullopt;
}

}  // namespace edumac8
