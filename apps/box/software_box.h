// The software experiment box: a pseudo-terminal that answers the box protocol with the
// core's model machine, two flash memories for the firmware update, and fault behaviours
// for tests. It publishes itself as a device record so the workbench finds it like a box.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "link/box_frame.h"
#include "machine/machine.h"

namespace edumac8 {

struct SoftwareBoxOptions {
  std::string devicesDir;  // where the device record goes
  std::string recordName = "edumac8-box";
  int com = 3;          // the COM number of the friendly name
  int restartCom = -1;  // another COM number after a restart (-1: the same)
  BoxInfo info{1, kCurrentFirmwareVersion, 1, 0, 0};
  int restartDelayMs = 300;  // time off the bus at a restart
  std::string flashDir;      // CTRL.BIN and CFG.BIN: loaded at start, saved on change
  int configFlashBytes = 0x40000;
  std::string logPath;        // one line per request received
  std::uint8_t echoBits = 0;  // OR-ed into byte 2 of every reply

  // Faults; exchanges are counted from 1 over the box's whole life.
  long stopAfter = -1;       // answer nothing after this many exchanges
  long badChecksumAt = -1;   // the reply to this exchange has a wrong checksum
  long shortPayloadAt = -1;  // ... announces one word more than it carries
  long wrongEchoAt = -1;     // ... echoes another command
  long slowAt = -1;          // ... comes after slowReplyMs
  int slowReplyMs = 1500;
  bool vanishAtRestart = false;  // a restart takes the box away for good
};

class SoftwareBox {
 public:
  explicit SoftwareBox(SoftwareBoxOptions options);
  ~SoftwareBox();
  SoftwareBox(const SoftwareBox&) = delete;
  SoftwareBox& operator=(const SoftwareBox&) = delete;

  // Serves until `stop` is set or the box vanishes. Returns false when the pseudo-terminal
  // or the device record cannot be created.
  bool Serve(const std::atomic<bool>& stop);

 private:
  bool Attach();  // new pseudo-terminal and device record
  void Detach();
  void Restart();
  void Process(const RequestHeader& header, const std::uint8_t* frame);
  void Execute(std::uint8_t command, const std::uint8_t* param, const std::uint8_t* data,
               int dataBytes, std::vector<std::uint8_t>& payload);
  void Step();
  void Reply(std::uint8_t command, const std::vector<std::uint8_t>& payload);
  void WriteAll(const std::uint8_t* bytes, std::size_t count);
  void Log(const RequestHeader& header, const std::uint8_t* frame);
  bool LoadFlash();  // true when the controller flash came from the flash directory
  void AdoptHeader();
  void SaveFlash();
  bool HeaderValid() const;

  SoftwareBoxOptions options_;
  int master_ = -1;
  int slave_ = -1;  // held open so the terminal stays up between the workbench's opens
  std::string recordPath_;
  bool vanished_ = false;
  long exchanges_ = 0;
  std::vector<std::uint8_t> input_;
  std::FILE* log_ = nullptr;

  Machine machine_;
  std::uint32_t intLine_ = 1;
  std::vector<std::uint8_t> controllerFlash_;
  std::vector<std::uint8_t> configFlash_;
  std::vector<std::uint8_t> pendingBlock_;  // the A half of a block write
  std::uint8_t pendingCommand_ = 0;
};

}  // namespace edumac8
