// The serial port of the box on termios: opened with the fixed line settings, written and read
// in exact byte counts within a time limit, closed abandoning whatever is still queued.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace edumac8 {

class SerialPort {
 public:
  static constexpr int kWriteTimeoutMs = 1000;

  SerialPort() = default;
  ~SerialPort() { Close(); }
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Closes an open port, then opens `devicePath`; a refused open is tried once more after
  // `retryWait`. Success shows in HandleValid(); PortOpen() is true either way.
  void Open(const std::string& devicePath, std::chrono::milliseconds retryWait);
  // Abandons pending input and output and closes; always leaves the port closed.
  void Close();

  // `count` on success, -1 on failure or when the transfer is not done within its limit.
  int Write(const std::uint8_t* bytes, int count);
  int Read(std::uint8_t* bytes, int count);

  bool HandleValid() const { return fd_ >= 0; }
  bool PortOpen() const { return portOpen_; }

  int ReadTimeoutMs = 1000;

 private:
  int fd_ = -1;
  bool portOpen_ = false;
};

// Asks the driver for the box's line rate (a non-standard rate); false when it refuses, in
// which case the rate stays as it was.
bool SetBoxLineRate(int fd);

}  // namespace edumac8
