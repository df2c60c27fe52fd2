// Whole-file reads and atomic writes.
//
// Reads take regular files only and only up to a bound, so a FIFO, a device or an endless or
// huge file named by a user (or by a forged record) can neither block the program nor exhaust
// its memory. A save writes a temporary file beside the file it replaces (beside the target of
// a symbolic link) and renames it over that file, so a failed save never destroys what was
// there; the saved file keeps the old one's permissions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace edumac8 {

// Far beyond any source, instruction system or record a person writes.
inline constexpr std::size_t kMaxInputFileBytes = 16u << 20;

enum class Links { Follow, Refuse };

// The bytes of the regular file at `path`. Nothing when it is not a regular file (a directory,
// a FIFO, a device; with Links::Refuse also a symbolic link), holds more than `maxBytes`, cannot
// be read, or its bytes do not fit in memory.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::size_t maxBytes = kMaxInputFileBytes,
                                         Links links = Links::Follow);

// The size of the regular file at `path`, or nothing when there is none.
std::optional<std::uint64_t> RegularFileSize(const std::string& path);

bool FileReadable(const std::string& path);

// True when both names lead to one file: equal names, or the same existing file reached
// through links.
bool SameFile(const std::string& a, const std::string& b);

// A durable write also reaches the disk before the rename; files derived from others skip
// that wait.
enum class Durability { Durable, Derived };

// Returns false, leaving any existing file untouched and no temporary file behind, when any
// step fails; an existing file that is not a regular file, or that its user may not write, is
// refused.
bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                     Durability durability = Durability::Durable);

// The same, the file getting the permission bits `mode` whether it is new or replaced.
bool WriteFileAtomicWithMode(const std::string& path, std::string_view bytes, unsigned mode);

// Rewrites an existing file that the user may write, keeping its permission bits (and, where
// the system allows, its owner), as every save does. Fails without touching anything when the
// file is missing or protected.
bool ReplaceFileAtomic(const std::string& path, std::string_view bytes);

// Copies the regular file `source` to `backup` as a save writes it. A backup made new gets the
// source's permissions, so that the copy of a private text stays private. False when the
// source cannot be read or the backup cannot be written.
bool WriteBackup(const std::string& source, const std::string& backup);

struct FileContent {
  std::string path;
  std::string bytes;
};

// Replaces a set of files together: every temporary file is written before the first rename,
// so a failure up to then leaves the whole old set as it was. Returns the path of the file
// that failed, or nothing.
std::optional<std::string> WriteFilesAtomic(const std::vector<FileContent>& files,
                                            Durability durability = Durability::Durable);

// A file-size limit (ulimit -f) would otherwise kill the program in the middle of a save;
// ignored, the write fails and the save is reported as failed. Programs call it at start.
void IgnoreFileSizeSignal();

}  // namespace edumac8
