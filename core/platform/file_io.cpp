#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

namespace edumac8 {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(content).str();
}

namespace {

struct FileAttributes {
  mode_t mode;
  std::optional<std::pair<uid_t, gid_t>> owner;
};

bool WriteThroughTemporary(const std::string& path, std::string_view bytes, Durability durability,
                           const FileAttributes& attributes) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0)
      ok = false;
    else
      done += static_cast<std::size_t>(n);
  }
  ok = ok && fchmod(fd, attributes.mode) == 0;
  // Only root can give a file away; the new file keeps its owner where that is possible.
  if (attributes.owner) (void)!fchown(fd, attributes.owner->first, attributes.owner->second);
  ok = ok && (durability == Durability::Derived || fsync(fd) == 0);
  ok = (close(fd) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, std::string_view bytes, Durability durability) {
  // mkstemp creates the file private; a saved document gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  return WriteThroughTemporary(path, bytes, durability, {static_cast<mode_t>(0666 & ~mask), {}});
}

bool WriteFileAtomicWithMode(const std::string& path, std::string_view bytes, unsigned mode) {
  return WriteThroughTemporary(path, bytes, Durability::Durable, {static_cast<mode_t>(mode), {}});
}

bool ReplaceFileAtomic(const std::string& linkOrPath, std::string_view bytes) {
  // A symbolic link stays a link: the file it names is the one rewritten.
  char* resolved = realpath(linkOrPath.c_str(), nullptr);
  if (!resolved) return false;
  const std::string path(resolved);
  std::free(resolved);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || access(path.c_str(), W_OK) != 0) return false;
  std::optional<std::pair<uid_t, gid_t>> owner;
  if (geteuid() == 0) owner = std::make_pair(st.st_uid, st.st_gid);
  return WriteThroughTemporary(path, bytes, Durability::Durable,
                               {static_cast<mode_t>(st.st_mode & 07777), owner});
}

bool FileReadable(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

}  // namespace edumac8
