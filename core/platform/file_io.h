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

// The same with the given permission bits instead of the usual ones.
bool WriteFileAtomicWithMode(const std::string& path, std::string_view bytes, unsigned mode);

// Rewrites an existing file that the user may write, keeping its permission bits (and, for
// root, its owner). Fails without touching anything when the file is missing or protected.
bool ReplaceFileAtomic(const std::string& path, std::string_view bytes);

bool FileReadable(const std::string& path);

}  // namespace edumac8
