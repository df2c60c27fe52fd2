// CSV exports of the instruction-set, micro-program and trace grids: "Sep=;" first, then one
// line per grid row with the cells joined by ';', GB2312 with CR LF.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "isa/instruction_system.h"
#include "machine/machine.h"

namespace edumac8 {

enum class CsvKind { InstructionSet, MicroProgram, Trace };

struct CsvDialogText {
  const char* title;
  const char* filter;
  const char* defaultName;
};
CsvDialogText CsvDialogFor(CsvKind kind);

// The name the save dialog proposes. An empty InsFileName first becomes the default name
// and keeps it even when the dialog is then cancelled.
std::string ProposeCsvName(InstructionSystem& isa, CsvKind kind);

// The file's lines (without line ends), UTF-8. Rebuilds the StepCountTable as the grids do.
std::vector<std::string> CsvLines(CsvKind kind, const InstructionSystem& isa, Machine& m);

// Writes the export and remembers the name in InsFileName. Returns "写文件错误：" and the
// name on failure.
std::optional<std::string> ExportCsv(CsvKind kind, const std::string& path,
                                     InstructionSystem& isa, Machine& m);

}  // namespace edumac8
