// Where a picture named in the catalogue lies. The catalogue upper-cases names and was
// written for a file system that ignores letter case, so a name that does not exist as
// written is looked up component by component ("\" or "/" between them), ignoring the
// letter case of each. Names that would leave the picture directory (absolute, or with a
// ".." component) are treated as missing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace edumac8 {

// The path of the picture file `name` (UTF-8) in `dir` (ending in '/'), or nothing.
std::optional<std::string> FindPicture(const std::string& dir, std::string_view name);

}  // namespace edumac8
