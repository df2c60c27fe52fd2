// Registering the maker's debugger drivers in a Keil installation: the driver file is copied
// into C51/BIN or ARM/BIN and a driver line is added to the sections of TOOLS.INI that offer
// debug drivers. Each TOOLS.INI change is written beside it and renamed over it, so the file is
// either the old one or the complete new one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "install/install_menu.h"
#include "install/keil_location.h"

namespace edumac8::install {

// Copies `source` to keilPath/subdir/target (names ignoring case; an existing file differing
// only in case is the one replaced), mode 0644. False when any step fails.
bool CopyDriverFile(const std::string& source, const std::string& keilPath, std::string_view subdir,
                    std::string_view target);

// The driver line "TDRV<n>=" + value in the [C51] section; false when TOOLS.INI is missing or
// protected, the section is missing or has no numbered driver line.
bool RegisterC51(const std::string& keilPath, std::string_view target, std::string_view value);
// The same for one ARM section; a missing section is no failure.
bool RegisterArm(const std::string& keilPath, std::string_view header, std::string_view target,
                 std::string_view value);

struct DriverInstallReport {
  std::vector<std::string> memo;  // UTF-8 memo lines; a line may hold CR LF line breaks
  int handled = 0;                // entries for which the Keil tree has the C51 or ARM part
  int failed = 0;
};

// Installs every entry of the menu's KeilList into the Keil directory.
DriverInstallReport InstallKeilDrivers(const InstallMenu& menu, const KeilLocation& keil);

}  // namespace edumac8::install
