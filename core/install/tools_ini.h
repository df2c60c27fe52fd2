// The driver-line edit of a Keil TOOLS.INI, on its bytes. Every line keeps its bytes, its
// length and its line end (CR LF or LF) except the changes made here: one new driver line, and
// in ARM sections the CPU lines that list the drivers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace edumac8::install {

struct IniLine {
  std::string text;
  std::string end;  // "\r\n", "\n", or "" for a last line without a line end
};

std::vector<IniLine> SplitIniLines(std::string_view bytes);
std::string JoinIniLines(const std::vector<IniLine>& lines);

enum class DriverLineResult {
  Added,              // `bytes` holds the new file
  AlreadyRegistered,  // a driver line of the section names the target already
  NoSection,          // no line begins with the section header
  NoDriverNumber,     // the section has no driver line numbered 1 or more
};

struct DriverLineEdit {
  DriverLineResult result;
  std::string bytes;  // the edited file; empty unless Added
};

// Adds "TDRV<N+1>=<value>" after the last driver line of the first section whose header line
// begins with `header` (compared upper-cased), N being the section's highest driver number.
// With `editCpuLines`, each "CPUDLL" line between the header and that driver line gets
// ",TDRV<N+1>" before its first ')' (no comma right after '('). `target` is looked for as a
// whole name, ignoring case, in the section's driver lines.
DriverLineEdit AddDriverLine(std::string_view toolsIni, std::string_view header, bool editCpuLines,
                             std::string_view target, std::string_view value);

}  // namespace edumac8::install
