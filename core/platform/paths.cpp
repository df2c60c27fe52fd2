#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace edumac8 {
namespace {

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

std::size_t ExtensionStart(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return path.size();
  return dot;
}

}  // namespace

std::string Extension(std::string_view path) {
  return std::string(path.substr(ExtensionStart(path)));
}

bool HasExtension(std::string_view path, std::string_view dotExt) {
  return Upper(Extension(path)) == Upper(dotExt);
}

std::string DerivedPath(std::string_view path, std::string_view upperDotExt) {
  const std::size_t start = ExtensionStart(path);
  const std::string_view own = path.substr(start);
  const bool lower = !own.empty() && std::none_of(own.begin(), own.end(), [](char c) {
    return std::isupper(static_cast<unsigned char>(c));
  }) && std::any_of(own.begin(), own.end(), [](char c) {
    return std::islower(static_cast<unsigned char>(c));
  });
  std::string ext(upperDotExt);
  if (lower)
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return std::string(path.substr(0, start)) + ext;
}

std::string FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string HomeDirOf(std::string_view programPath) {
  std::string dir(programPath.substr(0, programPath.find_last_of('/') + 1));
  if (dir.empty()) dir = "./";
  std::string_view trimmed(dir.data(), dir.size() - 1);
  const std::size_t slash = trimmed.find_last_of('/');
  const std::string_view last =
      slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1);
  if (Upper(last) == "BIN") dir.resize(slash == std::string_view::npos ? 0 : slash + 1);
  if (dir.empty()) dir = "./";
  return dir;
}

std::string FpgaDirFor(const std::string& homeDir, const char* xdgDataHome, const char* home) {
  const std::string beside = homeDir + "FPGA/";
  struct stat st {};
  const bool exists = stat(beside.c_str(), &st) == 0;
  if (exists ? S_ISDIR(st.st_mode) && access(beside.c_str(), W_OK | X_OK) == 0
             : access(homeDir.c_str(), W_OK | X_OK) == 0)
    return beside;
  // The XDG rule: a relative $XDG_DATA_HOME is invalid and ignored.
  std::string data = xdgDataHome && *xdgDataHome == '/'
                         ? std::string(xdgDataHome)
                         : std::string(home && *home ? home : "") + "/.local/share";
  if (data.back() != '/') data += '/';
  return data + "edumac8/FPGA/";
}

std::string FpgaDirFor(const std::string& homeDir) {
  return FpgaDirFor(homeDir, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string ProgramPath() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace edumac8
