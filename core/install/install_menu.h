// The installer's menu: INSTALL.INI read from InstallDir, reduced to what can be offered.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "install/install_ini.h"

namespace edumac8::install {

struct InstallMenu {
  std::string InstallDir;  // ends in '/'
  bool Chinese = false;
  InstallIni Ini;                       // as read, before the reduction
  std::vector<TInstallEntry> Entries;   // the entries offered, in order; entry n is Entries[n-1]
  std::vector<TInstallEntry> KeilList;  // kinds 4 and 5 whose file exists, in file order

  // UTF-8 texts of the current language.
  std::string Caption() const;  // the window caption
  std::string CaptionOf(const TInstallEntry& entry) const;
};

// Reads InstallDir's INSTALL.INI (the name matched ignoring case; a missing or unreadable file
// leaves the built-in entries) and keeps what is available: the USB entry always, the debugger
// entry when KeilList is not empty, a maker's program when its file exists.
InstallMenu LoadInstallMenu(std::string_view installDir, bool chinese);

// The regular file an entry's Target names under InstallDir ('\' and '/' separate, components
// match ignoring case), or nothing.
std::optional<std::string> TargetPath(const std::string& installDir, std::string_view target);

// InstallDir from the command line's --dir or the program's directory, ending in '/'.
std::string InstallDirOf(std::string_view dir);

}  // namespace edumac8::install
