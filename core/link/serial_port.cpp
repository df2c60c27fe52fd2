#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <thread>

namespace edumac8 {
namespace {

using Clock = std::chrono::steady_clock;

// A terminal by its device number, told before anything opens it: pseudo-terminal slaves by
// their major numbers (sysfs does not list them), every other terminal by its sysfs class.
bool IsTerminalDevice(const struct stat& st) {
  if (!S_ISCHR(st.st_mode)) return false;
  const unsigned majorNumber = major(st.st_rdev);
  if (majorNumber >= 136 && majorNumber <= 143) return true;
  const std::string link = "/sys/dev/char/" + std::to_string(majorNumber) + ":" +
                           std::to_string(minor(st.st_rdev)) + "/subsystem";
  char target[256];
  const ssize_t n = readlink(link.c_str(), target, sizeof target);
  return n > 0 && n < static_cast<ssize_t>(sizeof target) &&
         std::string_view(target, static_cast<std::size_t>(n)).ends_with("/tty");
}

// Only a terminal can be the box's port. Whatever else a device record names (a file, a FIFO,
// a disk, a device whose mere opening acts) is never opened; the check is repeated on the open
// descriptor, since the name may have changed in between.
int OpenDevice(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !IsTerminalDevice(st)) return -1;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  // No sharing: a second opener gets EBUSY while the box is ours.
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || !isatty(fd) || ioctl(fd, TIOCEXCL) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// 8 data bits, no parity, one stop bit, raw bytes, no flow control. Like the driver's own
// settings calls, the outcome is not examined: a port that cannot be configured fails at its
// first exchange.
void Configure(int fd) {
  tcflush(fd, TCIOFLUSH);
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  t.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  tcsetattr(fd, TCSANOW, &t);
  SetBoxLineRate(fd);
}

int Remaining(Clock::time_point start, int limitMs) {
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  return elapsed > limitMs ? -1 : static_cast<int>(limitMs - elapsed);
}

// Moves `count` bytes one way, polling until done or the limit has passed.
template <typename Transfer>
int TransferAll(int fd, short events, int count, int limitMs, Transfer transfer) {
  if (fd < 0) return -1;
  const Clock::time_point start = Clock::now();
  int done = 0;
  while (done < count) {
    const ssize_t n = transfer(done);
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    const int wait = Remaining(start, limitMs);
    if (wait < 0) return -1;
    pollfd p{fd, events, 0};
    // Wake at least every few milliseconds to recheck the limit, like the driver poll did.
    const int r = poll(&p, 1, wait + 1);
    if (r < 0 && errno != EINTR) return -1;
    if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) return -1;
    if (r > 0 && (p.revents & POLLHUP) && !(p.revents & events)) return -1;
  }
  return done;
}

}  // namespace

void SerialPort::Open(const std::string& devicePath, std::chrono::milliseconds retryWait) {
  if (portOpen_) Close();
  portOpen_ = true;
  ReadTimeoutMs = 1000;
  fd_ = OpenDevice(devicePath);
  if (fd_ < 0) {
    std::this_thread::sleep_for(retryWait);
    fd_ = OpenDevice(devicePath);
  }
  if (fd_ >= 0) Configure(fd_);
}

void SerialPort::Close() {
  if (fd_ >= 0) {
    // Unread input is dropped; output already written stays with the driver, as a request
    // that is on the wire does (a restart request is followed by a close at once).
    tcflush(fd_, TCIFLUSH);
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
  fd_ = -1;
  portOpen_ = false;
}

int SerialPort::Write(const std::uint8_t* bytes, int count) {
  return TransferAll(fd_, POLLOUT, count, kWriteTimeoutMs,
                     [&](int done) { return ::write(fd_, bytes + done, count - done); });
}

int SerialPort::Read(std::uint8_t* bytes, int count) {
  return TransferAll(fd_, POLLIN, count, ReadTimeoutMs,
                     [&](int done) { return ::read(fd_, bytes + done, count - done); });
}

}  // namespace edumac8
