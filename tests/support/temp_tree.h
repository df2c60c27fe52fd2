// A temporary directory tree for tests that work on real files, and a way to run a check as
// an ordinary user when the tests run as root (root may write any file).
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace edumac8::test {

class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "edumac8_XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    chmod(root_.c_str(), 0755);  // an unprivileged check must reach the files
  }
  ~TempTree() {
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  std::string Root() const { return root_; }
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

  std::string Write(const std::string& relative, const std::string& bytes) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string Mkdir(const std::string& relative) const {
    std::filesystem::create_directories(Path(relative));
    return Path(relative);
  }
  void Link(const std::string& target, const std::string& relative) const {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    std::filesystem::create_directory_symlink(target, Path(relative));
  }
  std::optional<std::string> Read(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Every file name in a directory, to show that nothing was left behind.
  std::vector<std::string> Names(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Path(relative)))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  unsigned Mode(const std::string& relative) const {
    struct stat st {};
    stat(Path(relative).c_str(), &st);
    return st.st_mode & 07777;
  }

 private:
  std::string root_;
};

// Runs `check` as the user nobody when the tests run as root (in a child process), otherwise
// directly. Returns what `check` returns, 0-255.
inline int RunAsOrdinaryUser(const std::function<int()>& check) {
  if (geteuid() != 0) return check();
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(255);
    _exit(check());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

}  // namespace edumac8::test
