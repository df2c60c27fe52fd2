// Where Keil lives under Wine, and the Windows path Keil itself uses for that directory. A Wine
// prefix maps drive letters through its dosdevices/ links ("c:" -> ../drive_c, "z:" -> /).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace edumac8::install {

struct KeilLocation {
  std::string path;         // the Linux directory, no trailing '/'
  std::string windowsPath;  // the same directory as Keil sees it, no trailing '\' ("C:\Keil")
};

struct WineDrive {
  char letter = 'c';   // lower case, as in dosdevices/
  std::string prefix;  // the Wine prefix that maps it
  std::string target;  // the real directory the drive maps to
};

// $WINEPREFIX when set, then ~/.wine. Null stands for an unset variable.
std::vector<std::string> WinePrefixes(const char* winePrefix, const char* home);
std::vector<std::string> WinePrefixesFromEnvironment();

// The drives c: to z: of a prefix whose targets are directories, in letter order.
std::vector<WineDrive> WineDrives(const std::string& prefix);

// The first drive, prefix by prefix, that holds KEIL/TOOLS.INI (names ignoring case).
std::optional<KeilLocation> DetectKeil(const std::vector<std::string>& prefixes);

// The Windows path of a Linux directory: the drive of its Wine prefix (the nearest ancestor
// with dosdevices/, else the first of `prefixes` that has one) whose target holds it, the
// longest target winning, then the earlier letter; "Z:" and the whole path when none does.
std::string WindowsPathOf(const std::string& path, const std::vector<std::string>& prefixes);

// A Keil directory as typed: trailing blanks and '/' cut.
std::string TrimKeilDir(std::string_view dir);

}  // namespace edumac8::install
