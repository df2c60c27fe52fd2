// Names that come from Windows files (INSTALL.INI targets, a Keil tree) are case-insensitive
// there; on Linux they are found by comparing each path component without regard to the
// letter case of A-Z.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace edumac8::install {

// The components of a relative Windows or Unix path: '\' and '/' both separate, empty
// components are dropped.
std::vector<std::string> PathComponents(std::string_view relative);

// The entry of `dir` named `name` ignoring case: the exact name when it is there, otherwise the
// first match in byte order, so the choice never depends on the directory's order.
std::optional<std::string> FindNameIgnoringCase(const std::string& dir, std::string_view name);

// Follows `relative` from `base` component by component, ignoring case. Returns the path with
// the names as they are on disk, or nothing when a component is missing.
std::optional<std::string> ResolveIgnoringCase(const std::string& base, std::string_view relative);

// `base` and `relative` joined with one '/'.
std::string JoinPath(std::string_view base, std::string_view relative);

bool IsRegularFile(const std::string& path);  // follows symbolic links
bool IsDirectory(const std::string& path);

// The existing regular file `relative` (components as above) under `base`.
std::optional<std::string> FindFileIgnoringCase(const std::string& base, std::string_view relative);

// Upper-cases a-z only: the installer's tests must not depend on the locale and must leave
// the bytes of GB2312 characters alone.
std::string UpperAscii(std::string_view s);

// Space, tab and the character of code 7.
inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == 7; }

}  // namespace edumac8::install
