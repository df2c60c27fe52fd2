// Whole-file reads and atomic writes. A save writes a temporary file beside the target and
// renames it over the target, so a failed save never destroys the file that was there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace edumac8 {

std::optional<std::string> ReadWholeFile(const std::string& path);

// Returns false (and leaves any existing file untouched) when any step fails. A durable write
// also reaches the disk before the rename; files derived from others skip that wait.
enum class Durability { Durable, Derived };
bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                     Durability durability = Durability::Durable);

bool FileReadable(const std::string& path);

}  // namespace edumac8
