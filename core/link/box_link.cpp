#include "link/box_link.h"

#include <algorithm>
#include <cstring>

#include "link/port_rules.h"
#include "machine/execution_control.h"

namespace edumac8 {

BoxLink::BoxLink(LinkOptions options) : options_(std::move(options)) {
  if (!options_.devices) options_.devices = PresentDevices;
}

BoxLink::~BoxLink() {
  if (attempt_.joinable()) attempt_.join();
}

void BoxLink::Attach(ExecutionControl& control) { control_ = &control; }

bool BoxLink::Simulating() const { return !control_ || control_->Simulation.load(); }

bool BoxLink::FullGate() const { return !linkFailed_ && !Simulating() && boxReady_; }

bool BoxLink::LinkFailed() const { return linkFailed_ && !Simulating(); }

// --- Port layer -----------------------------------------------------------------------------

int BoxLink::FindBoxPort() {
  const BoxPort port = FirstBoxPort(options_.devices());
  if (port.number < 0) return -1;
  devicePaths_[port.number] = port.devicePath;
  return port.number;
}

void BoxLink::OpenPort(int number) {
  linkFailed_ = false;
  if (port_.PortOpen()) ClosePort();
  portName_ = PortNameOf(number);
  // Only a device that discovery found is opened; a port name is no path on this system.
  const auto known = devicePaths_.find(number);
  port_.Open(known != devicePaths_.end() ? known->second : std::string(),
             options_.timing.openRetryWait);
  if (port_.HandleValid()) portNumber_ = number;
}

void BoxLink::ClosePort() { port_.Close(); }

// --- The exchange ---------------------------------------------------------------------------

void BoxLink::Fail() {
  linkFailed_ = true;
  ClosePort();
}

void BoxLink::Transact(std::uint8_t command, std::uint8_t n) {
  port_.ReadTimeoutMs = 1000;
  replyPayload_ = 0;
  if (!port_.PortOpen()) linkFailed_ = true;
  if (linkFailed_) return;
  PutRequestHeader(request_.data(), n, command);
  const int length = 4 * (n + 1);
  if (port_.Write(request_.data(), length) != length) linkFailed_ = true;
  if (!linkFailed_ && command != CMD_RESTART) {
    std::optional<int> words;
    if (port_.Read(reply_.data(), 4) == 4)
      words = CheckReplyHeader(std::span<const std::uint8_t, 4>(reply_.data(), 4), command);
    if (!words || port_.Read(reply_.data() + 4, 4 * *words) != 4 * *words)
      linkFailed_ = true;
    else
      replyPayload_ = 4 * *words;
  }
  if (linkFailed_) Fail();
}

bool BoxLink::Expect(int payloadBytes) {
  if (linkFailed_) return false;
  if (replyPayload_ >= payloadBytes) return true;
  Fail();
  return false;
}

// --- Machine operations ---------------------------------------------------------------------

void BoxLink::BoxReset() {
  IntRequest = false;
  if (FullGate()) Transact(CMD_RESET, 0);
}

void BoxLink::BoxStep() {
  if (FullGate()) Transact(CMD_STEP, 0);
}

void BoxLink::BoxReadState(MachineState& state) {
  if (!FullGate()) return;
  Transact(CMD_READ_STATE, 0);
  if (Expect(kStateReplyBytes)) std::memcpy(state.bytes.data(), Reply() + 4, kStateReplyBytes);
}

void BoxLink::BoxReadEM(ProgramMemory& em) {
  if (!FullGate()) return;
  // EM changes only when every block has arrived: a failed read-back leaves it as it was.
  ProgramMemory read{};
  for (int a = 0; a < 256; a += kBlockEntries) {
    if (!FullGate()) return;
    PutMemoryParam(Request() + 4, a, kBlockEntries);
    Transact(CMD_READ_EM, 1);
    if (!Expect(kBlockEntries)) return;
    std::memcpy(read.data() + a, Reply() + 4, kBlockEntries);
  }
  em = read;
}

void BoxLink::BoxWriteEM(const ProgramMemory& em) {
  if (!FullGate()) return;
  for (int a = 0; a < 256; a += kBlockEntries) {
    if (!FullGate()) return;
    PutMemoryParam(Request() + 4, a, kBlockEntries);
    std::memcpy(Request() + 8, em.data() + a, kBlockEntries);
    Transact(CMD_WRITE_EM, 1 + kBlockEntries / 4);
  }
}

void BoxLink::BoxWriteUM(const MicroProgram& uM) {
  if (!FullGate()) return;
  for (int a = 0; a < 256; a += kBlockEntries) {
    if (!FullGate()) return;
    PutMemoryParam(Request() + 4, a, kBlockEntries);
    std::uint8_t* data = Request() + 8;
    for (int i = 0; i < kBlockEntries; ++i)
      for (int b = 0; b < 3; ++b) *data++ = static_cast<std::uint8_t>(uM[a + i] >> (8 * b));
    Transact(CMD_WRITE_UM, 1 + 3 * kBlockEntries / 4);
  }
}

void BoxLink::BoxDownload(const MicroProgram& uM, const ProgramMemory& em) {
  if (!boxReady_) return;
  BoxWriteUM(uM);
  BoxWriteEM(em);
  BoxReset();
}

void BoxLink::BoxReadInfo() {
  Transact(CMD_INFO, 0);
  if (!Expect(kBoxInfoBytes)) return;
  lastInfo_ = *ParseBoxInfo(std::span<const std::uint8_t>(Reply() + 4, replyPayload_));
  boxConfig_ = lastInfo_.config;
  boxFpgaMode_ = lastInfo_.fpgaMode;
  boxController_ = lastInfo_.controller;
}

void BoxLink::BoxRestart() { Transact(CMD_RESTART, 0); }

void BoxLink::BoxIntLine(std::uint32_t level) {
  PutWord(Request() + 4, level);
  Transact(CMD_INT_LINE, 1);
}

void BoxLink::BoxIntPulse() {
  BoxIntLine(0);
  std::this_thread::sleep_for(options_.timing.intPulseHold);
  BoxIntLine(1);
}

// --- Connection -----------------------------------------------------------------------------

void BoxLink::ConnectBox() {
  ClosePort();
  const int number = FindBoxPort();
  if (number < 0) {
    linkFailed_ = true;
    return;
  }
  ClosePort();
  OpenPort(number);
  if (linkFailed_) {
    ClosePort();
  } else {
    UpdateBoxFirmware();
    BoxReadInfo();
  }
  if (!linkFailed_) boxReady_ = true;
}

void BoxLink::Tick() {
  if (linkUp_) {
    if (!control_->Running()) BoxReadInfo();  // heartbeat
    if (!linkFailed_) return;
    ClosePort();
    linkUp_ = false;
    control_->Simulation = true;
    control_->ClearRunning();
    control_->Stepped = false;
    ShowLinkStatus();
    return;
  }
  if (!options_.backgroundAttempts) {
    ConnectBox();
    ApplyAttempt();
    return;
  }
  if (attempt_.joinable()) {
    if (attemptDone_) WaitForAttempt();
    return;
  }
  attemptDone_ = false;
  attempt_ = std::thread([this] {
    ConnectBox();
    attemptDone_ = true;
    if (onAttemptFinished) onAttemptFinished();
  });
}

void BoxLink::WaitForAttempt() {
  if (!attempt_.joinable()) return;
  attempt_.join();
  ApplyAttempt();
}

void BoxLink::ApplyAttempt() {
  if (linkFailed_) {
    linkUp_ = false;
    control_->Simulation = true;
    linkFailed_ = false;
  } else {
    linkUp_ = true;
    control_->Simulation = false;
  }
  // After a failed attempt the port is closed, and this only marks the link failed again.
  if (!linkFailed_) BoxReadInfo();
  ShowLinkStatus();
}

void BoxLink::ShowLinkStatus() {
  if (linkUp_ && !linkFailed_) {
    const LinkStatus s = ConnectedStatus(boxConfig_, boxFpgaMode_, boxController_);
    if (s.simulate) control_->Simulation = true;
    status_ = s.text;
  } else {
    boxController_ = 0;
    boxFpgaMode_ = 0;
    boxConfig_ = 1;
    control_->Simulation = true;
    status_ = kNotConnectedText;
  }
  if (onStatus) onStatus(status_);
}

}  // namespace edumac8
