// The update of a Windows modem INF file (mdmcpq.inf, UTF-16 little-endian): the line after the
// section header "[FakeModemCopyFileSection]" becomes a comment, so the serial driver's
// installation no longer asks for the file that line copies.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace edumac8::install {

inline constexpr std::size_t kMaxInfBytes = 1048576;

// The updated bytes, or nothing when the file is not updated: empty, larger than
// kMaxInfBytes, without the header, or with fewer than 4 bytes (the line end) after it.
std::optional<std::string> CommentFakeModemCopyLine(std::string_view inf);

// The same on a file, which is replaced only when it changes. True when it was updated.
bool PatchInfFile(const std::string& path);

}  // namespace edumac8::install
