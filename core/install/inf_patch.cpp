#include "install/inf_patch.h"

#include <sys/stat.h>

#include "platform/file_io.h"

namespace edumac8::install {
namespace {

constexpr std::string_view kHeader = "[FakeModemCopyFileSection]";

// The header is compared with every second byte only, the low bytes of its UTF-16 characters;
// it may start at an odd offset in a file that lost a byte.
bool HeaderAt(std::string_view inf, std::size_t p) {
  for (std::size_t i = 0; i < kHeader.size(); ++i)
    if (inf[p + 2 * i] != kHeader[i]) return false;
  return true;
}

}  // namespace

std::optional<std::string> CommentFakeModemCopyLine(std::string_view inf) {
  if (inf.empty() || inf.size() > kMaxInfBytes) return std::nullopt;
  const std::size_t span = 2 * (kHeader.size() - 1) + 1;
  for (std::size_t p = 0; p + span <= inf.size(); ++p) {
    if (!HeaderAt(inf, p)) continue;
    const std::size_t insert = p + 2 * kHeader.size() + 4;  // after the header and its CR LF
    if (insert > inf.size()) return std::nullopt;
    std::string updated(inf);
    updated.insert(insert, std::string_view(";\0", 2));
    return updated;
  }
  return std::nullopt;
}

bool PatchInfFile(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::size_t>(st.st_size) > kMaxInfBytes)
    return false;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  const std::optional<std::string> updated =
      bytes ? CommentFakeModemCopyLine(*bytes) : std::nullopt;
  return updated && ReplaceFileAtomic(path, *updated);
}

}  // namespace edumac8::install
