// The box's USB access rule. The box (1A86:FE0C) is a CDC ACM device that cdc_acm binds by its
// class; the rule gives its tty to the dialout group and the seat's user, keeps ModemManager
// from probing it, and hands a box with a vendor-class interface to the generic USB serial
// driver.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace edumac8::install {

extern const char kUdevRule[];
inline constexpr char kUdevRuleFileName[] = "70-edumac8-box.rules";
inline constexpr char kSystemRulesDir[] = "/etc/udev/rules.d";

// The directories udev reads rules from, the one that wins first.
std::vector<std::string> UdevRuleDirs();

// Writes the rule as dir/70-edumac8-box.rules (mode 0644, atomically). The path, or nothing.
std::optional<std::string> InstallUdevRule(const std::string& dir);

// The rule file udev uses, or nothing when none of `dirs` holds one.
std::optional<std::string> InstalledUdevRule(const std::vector<std::string>& dirs);

}  // namespace edumac8::install
