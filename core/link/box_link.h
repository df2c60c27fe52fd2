// BoxLink: the workbench's side of the experiment box. It is the BoxOperations that execution
// control steps the box with, and it owns the connection: once a second Tick() looks for the
// box, opens its port, brings its firmware up to date, reads its configuration and decides
// whether the box or the own engine executes (ExecutionControl::Simulation).
//
// Threads. Everything runs on the caller's (user-interface) thread, except in background mode,
// where a connection attempt (discovery, open, firmware update, information) runs on a helper
// thread so that a long update does not block the window: Tick() starts it and returns at
// once; ticks during the attempt do nothing (the timer is "disabled"); when the attempt ends
// the helper calls onAttemptFinished, and the next Tick() (the front end calls it at once, on
// its user-interface thread) applies the outcome, so Simulation and the status text change
// only on that thread. During an attempt Simulation is true, so every machine operation is
// gated off and only the helper touches the port. A command that needs the box calls
// WaitForAttempt() first.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "link/box_frame.h"
#include "link/device_discovery.h"
#include "link/firmware_image.h"
#include "link/link_status.h"
#include "link/serial_port.h"
#include "machine/box_operations.h"

namespace edumac8 {

class ExecutionControl;

struct LinkTiming {
  std::chrono::milliseconds restartWait{2888};  // the box re-attaches to USB after a restart
  std::chrono::milliseconds openRetryWait{500};
  std::chrono::milliseconds intPulseHold{100};
};

struct LinkOptions {
  LinkTiming timing;
  // Where BOXCTRL.BIN and BOXCFG.BIN are; usually HomeDir + "FIRMWARE/".
  std::string firmwareDir;
  // How devices are listed; PresentDevices() when empty.
  DeviceLister devices;
  bool backgroundAttempts = false;
};

class BoxLink : public BoxOperations {
 public:
  explicit BoxLink(LinkOptions options = {});
  ~BoxLink() override;
  BoxLink(const BoxLink&) = delete;
  BoxLink& operator=(const BoxLink&) = delete;

  // Execution control whose Simulation, Running and Stepped the connection step uses. Call
  // once, before the first Tick().
  void Attach(ExecutionControl& control);

  // The status text, each time ShowLinkStatus derives it (user-interface thread).
  std::function<void(const std::string& status)> onStatus;
  // Firmware pages written of pages to write; from the helper thread in background mode.
  std::function<void(int written, int total)> onFirmwareProgress;
  // Background mode, on the helper thread: the attempt is over; call Tick() now.
  std::function<void()> onAttemptFinished;

  // The connection step of Timer1.
  void Tick();
  // Background mode: waits for an attempt in progress and applies its outcome.
  void WaitForAttempt();
  bool AttemptInProgress() const { return attempt_.joinable(); }

  void ConnectBox();
  void ShowLinkStatus();
  const std::string& StatusText() const { return status_; }

  // BoxOperations. LinkFailed() answers for the box executing: in simulation the run worker
  // has no link to lose.
  void BoxStep() override;
  void BoxReadState(MachineState& state) override;
  void BoxReadEM(ProgramMemory& em) override;
  void BoxReset() override;
  void BoxIntPulse() override;
  void BoxDownload(const MicroProgram& uM, const ProgramMemory& em) override;
  bool LinkFailed() const override;

  void BoxWriteEM(const ProgramMemory& em);
  void BoxWriteUM(const MicroProgram& uM);
  void BoxReadInfo();
  void BoxRestart();
  void BoxIntLine(std::uint32_t level);

  // Firmware update and its restart cycle; false when the box did not come back. Both end at
  // the first failed exchange, leaving LinkFailed set.
  void UpdateBoxFirmware();
  bool RestartCycle();

  // Port layer.
  int FindBoxPort();
  void OpenPort(int number);
  void ClosePort();
  const std::string& PortName() const { return portName_; }
  int PortNumber() const { return portNumber_; }

  // The exchange: request parameter words are in Request() from byte 4 on; the reply lands in
  // Reply(). The outcome is in LinkFailedFlag().
  void Transact(std::uint8_t command, std::uint8_t n);
  std::uint8_t* Request() { return request_.data(); }
  const std::uint8_t* Reply() const { return reply_.data(); }
  int ReplyPayloadBytes() const { return replyPayload_; }

  // Link flags.
  bool LinkFailedFlag() const { return linkFailed_; }
  bool BoxReady() const { return boxReady_; }
  bool LinkUp() const { return linkUp_; }
  std::uint8_t BoxConfig() const { return boxConfig_; }
  std::uint8_t BoxFpgaMode() const { return boxFpgaMode_; }
  std::uint8_t BoxController() const { return boxController_; }

 private:
  bool FullGate() const;
  bool Simulating() const;
  // A reply must carry what the command reads from it; a shorter one fails the exchange.
  bool Expect(int payloadBytes);
  void Fail();
  void ApplyAttempt();
  // The flash commands of the update.
  void ControllerErase(std::uint32_t address);
  void ControllerWrite(std::uint32_t address, const std::uint8_t* data);
  void ControllerRead(std::uint32_t address, std::uint8_t* data);
  void FirmwareMode(std::uint8_t mode);
  void ConfigErase(std::uint32_t address);
  void ConfigWrite(std::uint32_t address, const std::uint8_t* data);
  void ConfigRead(std::uint32_t address);
  void BlockPair(std::uint8_t commandA, std::uint8_t commandB, int length,
                 const std::uint8_t* data);
  void WriteFirmware(FirmwareImages& images, std::uint8_t* header);
  void ReportProgress(int written, int total);

  LinkOptions options_;
  ExecutionControl* control_ = nullptr;
  SerialPort port_;
  std::map<int, std::string> devicePaths_;  // port number -> device path, from discovery
  std::string portName_;
  int portNumber_ = -1;
  std::array<std::uint8_t, kMaxFrameBytes> request_{};
  std::array<std::uint8_t, kMaxFrameBytes> reply_{};
  int replyPayload_ = 0;
  BoxInfo lastInfo_;

  std::atomic<bool> linkFailed_{false};
  std::atomic<bool> boxReady_{false};
  std::atomic<bool> linkUp_{false};
  std::atomic<std::uint8_t> boxConfig_{0};
  std::atomic<std::uint8_t> boxFpgaMode_{0};
  std::atomic<std::uint8_t> boxController_{0};
  std::string status_ = kNotConnectedText;

  std::thread attempt_;
  std::atomic<bool> attemptDone_{false};
};

}  // namespace edumac8
