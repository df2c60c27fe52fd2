#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <new>

namespace edumac8 {
namespace {

// Symbolic links followed before a save gives up, as the kernel's own limit.
constexpr int kMaxLinkHops = 40;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the outcome (a delayed write error shows here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// The file a save replaces: the end of a chain of symbolic links, so that the link stays a
// link and the file it names gets the new text. Nothing for a loop.
std::optional<std::string> SaveTarget(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(4096, '\0');
    const ssize_t n = readlink(path.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return std::nullopt;
    link.resize(static_cast<std::size_t>(n));
    path = link[0] == '/' ? link : Join(DirectoryOf(path), link);
  }
  return std::nullopt;
}

// Write permission as the user sees it: a file without any write bit is read-only even for
// the superuser, whom access() would let through.
bool UserMayWrite(const std::string& path, const struct stat& st) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// A new file with a short name in `dir`, so that a save works for any name the file system
// takes. `mode` is reduced by the umask.
int CreateTemporary(const std::string& dir, mode_t mode, std::string& name) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  const std::uint64_t seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(getpid()) << 32);
  for (std::uint64_t attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t x = Mix(seed + attempt);
    std::string suffix;
    for (int i = 0; i < 6; ++i, x /= 36) suffix += kDigits[x % 36];
    name = Join(dir, ".edumac8-" + suffix);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The permissions a save gives: `always` whether the file is new or replaced; otherwise an
// existing file keeps its own, and a new one gets `ofNew`, or the umask's without it.
struct Permissions {
  std::optional<mode_t> always;
  std::optional<mode_t> ofNew;
};

// The new contents of one file, waiting beside it under a temporary name until Commit().
// Removed when it is not committed.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Write(const std::string& path, std::string_view bytes, Durability durability,
             Permissions permissions = {}) {
    if (path.empty()) return false;
    const std::optional<std::string> target = SaveTarget(path);
    if (!target) return false;
    struct stat old {};
    const bool exists = ::stat(target->c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && (!S_ISREG(old.st_mode) || !UserMayWrite(*target, old))) return false;
    // A new file gets the usual permissions; any other stays private until it has its own,
    // so that nobody reads a private text meanwhile.
    const bool startsPrivate = exists || permissions.always || permissions.ofNew;
    FileDescriptor fd(CreateTemporary(DirectoryOf(*target), startsPrivate ? 0600 : 0666, temp_));
    if (fd.get() < 0) {
      temp_.clear();
      return false;
    }
    target_ = *target;
    bool ok = WriteAll(fd.get(), bytes);
    // The owner is kept where the system allows it (a superuser saving a user's file).
    if (exists && (old.st_uid != geteuid() || old.st_gid != getegid())) {
      [[maybe_unused]] const int kept = fchown(fd.get(), old.st_uid, old.st_gid);
    }
    const std::optional<mode_t> mode = permissions.always ? permissions.always
                                       : exists ? std::optional<mode_t>(old.st_mode & 07777)
                                                : permissions.ofNew;
    if (mode) ok = ok && fchmod(fd.get(), *mode) == 0;
    ok = ok && (durability == Durability::Derived || fsync(fd.get()) == 0);
    return fd.Close() && ok;
  }

  bool Commit() {
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) return false;
    temp_.clear();
    return true;
  }

 private:
  std::string temp_;
  std::string target_;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes,
                                         Links links) {
  struct stat st {};
  const int looked = links == Links::Follow ? ::stat(path.c_str(), &st) : lstat(path.c_str(), &st);
  if (looked != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  // Non-blocking, so that a name swapped for a FIFO after the look cannot stall the open.
  const int noFollow = links == Links::Refuse ? O_NOFOLLOW : 0;
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | noFollow));
  if (fd.get() < 0 || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return std::nullopt;
  try {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[16384];
    for (;;) {
      const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
      if (n == 0) return bytes;
      if (n < 0 && errno == EINTR) continue;
      // A file that grows past the bound while it is read is refused as well.
      if (n < 0 || bytes.size() + static_cast<std::size_t>(n) > maxBytes) return std::nullopt;
      bytes.append(chunk, static_cast<std::size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::uint64_t> RegularFileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

bool FileReadable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, Durability durability) {
  TemporaryFile file;
  return file.Write(path, bytes, durability) && file.Commit();
}

bool WriteFileAtomicWithMode(const std::string& path, std::string_view bytes, unsigned mode) {
  TemporaryFile file;
  const Permissions always{static_cast<mode_t>(mode & 07777), {}};
  return file.Write(path, bytes, Durability::Durable, always) && file.Commit();
}

bool ReplaceFileAtomic(const std::string& path, std::string_view bytes) {
  return RegularFileSize(path) && WriteFileAtomic(path, bytes);
}

bool WriteBackup(const std::string& source, const std::string& backup) {
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0) return false;
  const std::optional<std::string> bytes = ReadWholeFile(source);
  TemporaryFile file;
  return bytes && file.Write(backup, *bytes, Durability::Durable, {{}, st.st_mode & 07777}) &&
         file.Commit();
}

std::optional<std::string> WriteFilesAtomic(const std::vector<FileContent>& files,
                                            Durability durability) {
  std::vector<TemporaryFile> temporaries(files.size());
  for (std::size_t i = 0; i < files.size(); ++i)
    if (!temporaries[i].Write(files[i].path, files[i].bytes, durability)) return files[i].path;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (!temporaries[i].Commit()) return files[i].path;
  return std::nullopt;
}

void IgnoreFileSizeSignal() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGXFSZ, &ignore, nullptr);
}

}  // namespace edumac8
