#include "guide/picture_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/file_io.h"

namespace edumac8 {
namespace {

std::vector<std::string_view> Components(std::string_view name) {
  std::vector<std::string_view> parts;
  while (!name.empty()) {
    const std::size_t cut = name.find_first_of("/\\");
    const std::string_view part = name.substr(0, cut);
    if (!part.empty() && part != ".") parts.push_back(part);
    name.remove_prefix(cut == std::string_view::npos ? name.size() : cut + 1);
  }
  return parts;
}

bool LeavesDirectory(std::string_view name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return true;
  if (name.size() >= 2 && name[1] == ':') return true;  // a drive letter
  const std::vector<std::string_view> parts = Components(name);
  return std::find(parts.begin(), parts.end(), "..") != parts.end();
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `dir` named `part`: as written, else the first (in byte order) that matches
// ignoring letter case.
std::optional<std::string> EntryIgnoringCase(const std::string& dir, std::string_view part) {
  const std::string exact(part);
  struct stat st {};
  if (stat((dir + exact).c_str(), &st) == 0) return exact;
  DIR* d = opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, exact.c_str()) != 0) continue;
    if (!found || *found > e->d_name) found = e->d_name;
  }
  closedir(d);
  return found;
}

}  // namespace

std::optional<std::string> FindPicture(const std::string& dir, std::string_view name) {
  if (LeavesDirectory(name)) return std::nullopt;
  const std::string exact = dir + std::string(name);
  if (FileReadable(exact)) return exact;
  const std::vector<std::string_view> parts = Components(name);
  if (parts.empty()) return std::nullopt;
  std::string path = dir;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::optional<std::string> entry = EntryIgnoringCase(path, parts[i]);
    if (!entry) return std::nullopt;
    path += *entry;
    if (i + 1 < parts.size()) {
      if (!IsDirectory(path)) return std::nullopt;
      path += '/';
    }
  }
  if (!FileReadable(path)) return std::nullopt;
  return path;
}

}  // namespace edumac8
