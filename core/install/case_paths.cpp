#include "install/case_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace edumac8::install {

std::vector<std::string> PathComponents(std::string_view relative) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : relative) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

std::string UpperAscii(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

std::string JoinPath(std::string_view base, std::string_view relative) {
  std::string path(base);
  if (relative.empty()) return path;
  if (!path.empty() && path.back() != '/') path += '/';
  while (!relative.empty() && relative.front() == '/') relative.remove_prefix(1);
  path += relative;
  return path;
}

std::optional<std::string> FindNameIgnoringCase(const std::string& dir, std::string_view name) {
  if (name == "." || name == "..") return std::string(name);
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return std::nullopt;
  const std::string wanted = UpperAscii(name);
  std::optional<std::string> best;
  while (const dirent* e = readdir(d)) {
    const std::string_view entry(e->d_name);
    if (entry == name) {
      best = std::string(entry);
      break;
    }
    if (UpperAscii(entry) == wanted && (!best || entry < *best)) best = std::string(entry);
  }
  closedir(d);
  return best;
}

std::optional<std::string> ResolveIgnoringCase(const std::string& base, std::string_view relative) {
  std::string path = base;
  for (const std::string& part : PathComponents(relative)) {
    const std::optional<std::string> name = FindNameIgnoringCase(path, part);
    if (!name) return std::nullopt;
    path = JoinPath(path, *name);
  }
  return path;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> FindFileIgnoringCase(const std::string& base,
                                                std::string_view relative) {
  std::optional<std::string> path = ResolveIgnoringCase(base, relative);
  if (path && !PathComponents(relative).empty() && IsRegularFile(*path)) return path;
  return std::nullopt;
}

}  // namespace edumac8::install
