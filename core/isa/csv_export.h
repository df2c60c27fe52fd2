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

// The name an export's save dialog proposes: the last CSV file exported, else the source's
// name with the extension .CSV, else the kind's default name. Never the instruction-system
// file's name: a confirmed overwrite would put CSV text in place of the instruction system.
std::string ProposeCsvName(const std::string& lastCsv, const std::string& sourcePath, CsvKind kind);

// The file a name typed in the dialog stands for: ".CSV" is added to a name without an
// extension.
std::string CsvTargetPath(const std::string& chosen);

// The file's lines (without line ends), UTF-8. Rebuilds the StepCountTable as the grids do.
std::vector<std::string> CsvLines(CsvKind kind, const InstructionSystem& isa, Machine& m);

// Writes the export. Returns the error text: "写文件错误：" and the name when writing failed,
// and a refusal for an instruction-system file (.INS), which the export would destroy.
std::optional<std::string> ExportCsv(CsvKind kind, const std::string& path,
                                     const InstructionSystem& isa, Machine& m);

}  // namespace edumac8
