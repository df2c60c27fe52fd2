#include "install/keil_location.h"

#include <cstdlib>
#include <filesystem>

#include "install/case_paths.h"

namespace edumac8::install {
namespace {

namespace fs = std::filesystem;

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The absolute path with every existing part resolved, so drive targets and the directory
// compare in the same form.
std::string RealPath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
  if (ec) p = fs::absolute(path).lexically_normal();
  return WithoutTrailingSlash(p.string());
}

bool Holds(const std::string& dir, const std::string& path) {
  if (dir == "/") return true;
  return path == dir || (path.starts_with(dir) && path[dir.size()] == '/');
}

std::string Backslashes(std::string s) {
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

std::optional<std::string> PrefixHolding(const std::string& real,
                                         const std::vector<std::string>& prefixes) {
  for (fs::path p(real); !p.empty(); p = p.parent_path()) {
    if (IsDirectory((p / "dosdevices").string())) return p.string();
    if (p == p.parent_path()) break;
  }
  for (const std::string& prefix : prefixes)
    if (IsDirectory(JoinPath(prefix, "dosdevices"))) return prefix;
  return std::nullopt;
}

}  // namespace

std::vector<std::string> WinePrefixes(const char* winePrefix, const char* home) {
  std::vector<std::string> prefixes;
  if (winePrefix && *winePrefix) prefixes.push_back(WithoutTrailingSlash(winePrefix));
  if (home && *home) {
    const std::string own = JoinPath(WithoutTrailingSlash(home), ".wine");
    if (prefixes.empty() || prefixes.front() != own) prefixes.push_back(own);
  }
  return prefixes;
}

std::vector<std::string> WinePrefixesFromEnvironment() {
  return WinePrefixes(std::getenv("WINEPREFIX"), std::getenv("HOME"));
}

std::vector<WineDrive> WineDrives(const std::string& prefix) {
  std::vector<WineDrive> drives;
  for (char letter = 'c'; letter <= 'z'; ++letter) {
    const std::string link = JoinPath(prefix, std::string("dosdevices/") + letter + ":");
    if (IsDirectory(link)) drives.push_back({letter, prefix, RealPath(link)});
  }
  return drives;
}

std::optional<KeilLocation> DetectKeil(const std::vector<std::string>& prefixes) {
  for (const std::string& prefix : prefixes) {
    for (const WineDrive& drive : WineDrives(prefix)) {
      const std::optional<std::string> keil = FindNameIgnoringCase(drive.target, "KEIL");
      if (!keil || !FindFileIgnoringCase(JoinPath(drive.target, *keil), "TOOLS.INI")) continue;
      const char letter = static_cast<char>(drive.letter - 'a' + 'A');
      return KeilLocation{JoinPath(drive.target, *keil), std::string(1, letter) + ":\\" + *keil};
    }
  }
  return std::nullopt;
}

std::string WindowsPathOf(const std::string& path, const std::vector<std::string>& prefixes) {
  const std::string real = RealPath(path);
  const std::optional<std::string> prefix = PrefixHolding(real, prefixes);
  const WineDrive* best = nullptr;
  const std::vector<WineDrive> drives = prefix ? WineDrives(*prefix) : std::vector<WineDrive>{};
  for (const WineDrive& d : drives)
    if (Holds(d.target, real) && (!best || d.target.size() > best->target.size())) best = &d;
  if (!best) return "Z:" + Backslashes(real);
  const std::string rest = best->target == "/" ? real : real.substr(best->target.size());
  return std::string(1, static_cast<char>(best->letter - 'a' + 'A')) + ":" + Backslashes(rest);
}

std::string TrimKeilDir(std::string_view dir) {
  const bool absolute = dir.starts_with('/');
  while (!dir.empty() && (IsBlank(dir.back()) || dir.back() == '/')) dir.remove_suffix(1);
  return dir.empty() && absolute ? std::string("/") : std::string(dir);
}

}  // namespace edumac8::install
