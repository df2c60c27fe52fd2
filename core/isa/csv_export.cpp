#include "isa/csv_export.h"

#include "isa/grid_rows.h"
#include "platform/file_io.h"
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

std::string ProposeCsvName(InstructionSystem& isa, CsvKind kind) {
  if (isa.InsFileName.empty()) isa.InsFileName = CsvDialogFor(kind).defaultName;
  return isa.InsFileName;
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
                                     InstructionSystem& isa, Machine& m) {
  const std::vector<std::string> lines = CsvLines(kind, isa, m);
  const bool ok = WriteFileAtomic(path, EncodeTextFile(lines.data(), lines.size()));
  isa.InsFileName = path;
  if (!ok) return "写文件错误：" + path;
  return std::nullopt;
}

}  // namespace edumac8
