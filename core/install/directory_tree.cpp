#include "install/directory_tree.h"

#include <algorithm>
#include <filesystem>

#include "install/case_paths.h"

namespace edumac8::install {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Subdirectories(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (!name.starts_with('.') && it->is_directory(typeError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string ua = UpperAscii(a), ub = UpperAscii(b);
    return ua != ub ? ua < ub : a < b;
  });
  return names;
}

fs::path Normal(const std::string& path) {
  std::string s = fs::path(path).lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::vector<DirectoryRow> DirectoryTreeRows(const std::string& root, const std::string& current) {
  const fs::path rootPath = Normal(root);
  fs::path relative = Normal(current).lexically_relative(rootPath);
  if (relative.empty() || *relative.begin() == "..") relative = ".";

  std::vector<DirectoryRow> rows{{rootPath.string(), rootPath.string(), 0, true}};
  fs::path path = rootPath;
  for (const fs::path& part : relative) {
    if (part == "." || part.empty()) continue;
    path /= part;
    rows.push_back({part.string(), path.string(), static_cast<int>(rows.size()), true});
  }
  const int depth = static_cast<int>(rows.size());
  for (const std::string& name : Subdirectories(path.string()))
    rows.push_back({name, (path / name).string(), depth, false});
  return rows;
}

}  // namespace edumac8::install
