// The termios2 interface is the only way to ask for an arbitrary line rate; its header cannot
// be combined with <termios.h>, hence this file of its own.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace edumac8 {

bool SetBoxLineRate(int fd) {
  constexpr unsigned kBoxLineRate = 0x12345678;
  termios2 t{};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~CBAUD;
  t.c_cflag |= BOTHER;
  t.c_cflag &= ~(CBAUD << IBSHIFT);
  t.c_cflag |= BOTHER << IBSHIFT;
  t.c_ospeed = t.c_ispeed = kBoxLineRate;
  return ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace edumac8
