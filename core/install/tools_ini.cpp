#include "install/tools_ini.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "install/case_paths.h"

namespace edumac8::install {
namespace {

bool NameStartsAfter(char c) { return c == '=' || c == '\\' || c == '/' || c == '"' || IsBlank(c); }
bool NameEndsBefore(char c) { return c == '(' || c == '"' || IsBlank(c); }

// `upperTarget` as a whole file name in `upperLine`, not as part of a longer name.
bool NamesTarget(std::string_view upperLine, std::string_view upperTarget) {
  if (upperTarget.empty()) return false;
  for (std::size_t at = upperLine.find(upperTarget); at != std::string_view::npos;
       at = upperLine.find(upperTarget, at + 1)) {
    const std::size_t after = at + upperTarget.size();
    const bool startOk = at == 0 || NameStartsAfter(upperLine[at - 1]);
    const bool endOk = after == upperLine.size() || NameEndsBefore(upperLine[after]);
    if (startOk && endOk) return true;
  }
  return false;
}

// The number of a driver line: the digits from its fifth character on. The line's last
// character is never read as a digit.
std::uint64_t DriverNumber(std::string_view line) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max() - 1;
  std::uint64_t n = 0;
  for (std::size_t i = 4; i + 1 < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    n = n > (kMax - 9) / 10 ? kMax : n * 10 + static_cast<std::uint64_t>(line[i] - '0');
  return n;
}

struct SectionScan {
  bool registered = false;
  std::size_t insertAfter = 0;  // index of the section's last driver line
  std::uint64_t highest = 0;
};

SectionScan ScanSection(const std::vector<IniLine>& lines, std::size_t header,
                        std::string_view upperTarget) {
  SectionScan scan;
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    const std::string upper = UpperAscii(lines[i].text);
    if (upper.size() >= 5 && upper.starts_with("TDRV")) {
      scan.registered = scan.registered || NamesTarget(upper, upperTarget);
      scan.insertAfter = i;
      const std::uint64_t n = DriverNumber(upper);
      if (n > scan.highest) scan.highest = n;
    }
    if (upper.starts_with("[")) break;
  }
  return scan;
}

void ListDriverInCpuLine(std::string& line, const std::string& driver) {
  if (line.size() < 7 || !line.starts_with("CPUDLL")) return;
  const std::size_t close = line.find(')');
  if (close == std::string::npos) return;
  line.insert(close, line[close - 1] == '(' ? driver : "," + driver);
}

}  // namespace

std::vector<IniLine> SplitIniLines(std::string_view bytes) {
  std::vector<IniLine> lines;
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) {
      lines.push_back({std::string(bytes), ""});
      break;
    }
    const bool crlf = lf > 0 && bytes[lf - 1] == '\r';
    lines.push_back({std::string(bytes.substr(0, crlf ? lf - 1 : lf)), crlf ? "\r\n" : "\n"});
    bytes.remove_prefix(lf + 1);
  }
  return lines;
}

std::string JoinIniLines(const std::vector<IniLine>& lines) {
  std::string bytes;
  for (const IniLine& l : lines) bytes += l.text + l.end;
  return bytes;
}

DriverLineEdit AddDriverLine(std::string_view toolsIni, std::string_view header, bool editCpuLines,
                             std::string_view target, std::string_view value) {
  std::vector<IniLine> lines = SplitIniLines(toolsIni);
  const std::string upperHeader = UpperAscii(header);
  std::optional<std::size_t> h;
  for (std::size_t i = 0; i < lines.size() && !h; ++i)
    if (UpperAscii(lines[i].text).starts_with(upperHeader)) h = i;
  if (!h) return {DriverLineResult::NoSection, {}};

  const SectionScan scan = ScanSection(lines, *h, UpperAscii(target));
  if (scan.registered) return {DriverLineResult::AlreadyRegistered, {}};
  if (scan.highest == 0) return {DriverLineResult::NoDriverNumber, {}};

  const std::string driver = "TDRV" + std::to_string(scan.highest + 1);
  if (editCpuLines)
    for (std::size_t i = *h + 1; i < scan.insertAfter; ++i)
      ListDriverInCpuLine(lines[i].text, driver);
  IniLine& before = lines[scan.insertAfter];
  IniLine added{driver + "=" + std::string(value), before.end};
  if (before.end.empty()) before.end = "\r\n";
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(scan.insertAfter) + 1, added);
  return {DriverLineResult::Added, JoinIniLines(lines)};
}

}  // namespace edumac8::install
