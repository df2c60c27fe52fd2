#include "software_box.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "isa/default_system.h"
#include "link/device_discovery.h"
#include "link/firmware_image.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace {

constexpr int kControllerFlashBytes = 0x10000;
constexpr int kHeaderMarkerOffset = 16;
constexpr int kHeaderVersionOffset = 24;

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
}

std::string AsBytes(const std::vector<std::uint8_t>& v) { return {v.begin(), v.end()}; }

}  // namespace

SoftwareBox::SoftwareBox(SoftwareBoxOptions options)
    : options_(std::move(options)),
      controllerFlash_(kControllerFlashBytes, 0xFF),
      configFlash_(options_.configFlashBytes, 0xFF) {
  machine_.uM = kDefaultMicroProgram;
  machine_.ResetMachine();
  if (!options_.logPath.empty()) log_ = std::fopen(options_.logPath.c_str(), "a");
  if (LoadFlash() && HeaderValid()) AdoptHeader();
}

SoftwareBox::~SoftwareBox() {
  Detach();
  SaveFlash();
  if (log_) std::fclose(log_);
}

bool SoftwareBox::Attach() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
  const char* name = ptsname(master_);
  if (!name) return false;
  const std::string device = name;
  slave_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) return false;
  MakeRaw(slave_);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  DeviceRecord record;
  record.hardwareIds =
      std::string("USB\\VID_1A86&PID_FE0C&REV_6611") + '\0' + "USB\\VID_1A86&PID_FE0C" + '\0';
  record.friendlyName = "USB-SERIAL CH340 (COM" + std::to_string(options_.com) + ")";
  record.devicePath = device;
  // Names the box, so that a record it could not remove (the box was killed) is known stale
  // before a new terminal takes over its pseudo-terminal's number.
  record.ownerPid = getpid();
  recordPath_ = options_.devicesDir + "/" + options_.recordName + ".dev";
  input_.clear();
  return WriteFileAtomic(recordPath_, FormatDeviceRecord(record));
}

void SoftwareBox::Detach() {
  if (!recordPath_.empty()) ::unlink(recordPath_.c_str());
  recordPath_.clear();
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
  master_ = slave_ = -1;
}

bool SoftwareBox::HeaderValid() const {
  const std::uint8_t* header = controllerFlash_.data() + kHeaderBlockAddress;
  if (GetWord(header + kHeaderMarkerOffset) != 0x12345678) return false;
  std::uint8_t sum = 0;
  for (std::uint32_t a = kControllerImageBase; a < kApplicationEnd; ++a)
    sum = static_cast<std::uint8_t>(sum + controllerFlash_[a]);
  return sum == header[8];
}

// An application that the header block vouches for runs, and reports the header's version.
void SoftwareBox::AdoptHeader() {
  options_.info.runState = 1;
  options_.info.version =
      GetWord(controllerFlash_.data() + kHeaderBlockAddress + kHeaderVersionOffset);
}

// Like the real box: off the bus for a while, then back with what its flash now says.
void SoftwareBox::Restart() {
  Detach();
  SaveFlash();
  if (options_.vanishAtRestart) {
    vanished_ = true;
    return;
  }
  SleepMs(options_.restartDelayMs);
  if (HeaderValid())
    AdoptHeader();
  else
    options_.info.runState = 0;  // the boot loader runs
  if (options_.restartCom >= 0) options_.com = options_.restartCom;
  if (!Attach()) vanished_ = true;
}

bool SoftwareBox::Serve(const std::atomic<bool>& stop) {
  if (!Attach()) return false;
  std::uint8_t chunk[4096];
  while (!stop && !vanished_) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    const ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n <= 0) {
      SleepMs(5);
      continue;
    }
    input_.insert(input_.end(), chunk, chunk + n);
    while (input_.size() >= 4 && !vanished_) {
      const auto header = CheckRequestHeader(std::span<const std::uint8_t, 4>(input_.data(), 4));
      if (!header) {  // not a frame start: resynchronise byte by byte
        input_.erase(input_.begin());
        continue;
      }
      const std::size_t length = 4 * (header->words + 1);
      if (input_.size() < length) break;
      // Zero padding: a command that reads more than its frame carries sees zeros.
      std::vector<std::uint8_t> frame(kMaxFrameBytes + 128, 0);
      std::copy(input_.begin(), input_.begin() + length, frame.begin());
      input_.erase(input_.begin(), input_.begin() + length);
      Process(*header, frame.data());
    }
  }
  return true;
}

void SoftwareBox::Log(const RequestHeader& header, const std::uint8_t* frame) {
  if (!log_) return;
  std::fprintf(log_, "%02X %02X", header.command, header.words);
  if (header.words > 0)
    std::fprintf(log_, " %02X%02X%02X%02X", frame[4], frame[5], frame[6], frame[7]);
  std::fprintf(log_, "\n");
  std::fflush(log_);
}

void SoftwareBox::Process(const RequestHeader& header, const std::uint8_t* frame) {
  ++exchanges_;
  Log(header, frame);
  if (options_.stopAfter >= 0 && exchanges_ > options_.stopAfter) return;
  if (header.command == CMD_RESTART) {
    Restart();
    return;
  }
  std::vector<std::uint8_t> payload;
  Execute(header.command, frame + 4, frame + 8, std::max(0, 4 * (header.words - 1)), payload);
  if (exchanges_ == options_.slowAt) SleepMs(options_.slowReplyMs);
  Reply(header.command, payload);
}

void SoftwareBox::Execute(std::uint8_t command, const std::uint8_t* param, const std::uint8_t* data,
                          int dataBytes, std::vector<std::uint8_t>& payload) {
  const std::uint32_t address16 = param[0] | param[1] << 8;
  const std::uint32_t address24 = address16 | param[2] << 16;
  const bool writes = command == CMD_FW_BLOCK_A || command == CMD_FW_BLOCK_B ||
                      command == CMD_CFG_BLOCK_A || command == CMD_CFG_BLOCK_B;
  // A block is never longer than the data that came with it, nor a reply than a frame holds.
  const int limit = writes ? dataBytes : kMaxFrameBytes - 4;
  const int controllerLength = std::min(param[2] | param[3] << 8, limit);
  const int memoryLength = std::min(param[3] == 0 ? 256 : int{param[3]}, limit);
  TraceRecord& current = machine_.CurrentRecord;
  switch (command) {
    case CMD_INFO:
      payload.resize(kBoxInfoBytes);
      PutBoxInfo(std::span<std::uint8_t, kBoxInfoBytes>(payload.data(), kBoxInfoBytes),
                 options_.info);
      break;
    case CMD_FW_ERASE: {
      const std::uint32_t page = address16 & ~(kControllerPage - 1u);
      std::fill_n(controllerFlash_.begin() + page, kControllerPage, 0xFF);
      break;
    }
    case CMD_FW_BLOCK_A:
    case CMD_CFG_BLOCK_A: {
      const int length = command == CMD_FW_BLOCK_A ? controllerLength : memoryLength;
      pendingBlock_.assign(param, param + 4 + length);
      pendingCommand_ = command;
      break;
    }
    case CMD_FW_BLOCK_B:
    case CMD_CFG_BLOCK_B: {
      // The second half confirms the first; flash programming only clears bits.
      const bool controller = command == CMD_FW_BLOCK_B;
      const int length = controller ? controllerLength : memoryLength;
      std::vector<std::uint8_t>& flash = controller ? controllerFlash_ : configFlash_;
      const std::uint32_t address = controller ? address16 : address24;
      const bool confirmed = pendingCommand_ == command - 1 &&
                             pendingBlock_.size() == 4u + length &&
                             std::equal(pendingBlock_.begin(), pendingBlock_.end(), param);
      if (confirmed && address + length <= flash.size())
        for (int i = 0; i < length; ++i) flash[address + i] &= data[i];
      pendingBlock_.clear();
      pendingCommand_ = 0;
      break;
    }
    case CMD_FW_READ:
      for (int i = 0; i < controllerLength; ++i)
        payload.push_back(controllerFlash_[(address16 + i) & 0xFFFF]);
      break;
    case CMD_FW_MODE:
      if (param[0] == 0x00) SaveFlash();
      break;
    case CMD_CFG_ERASE: {
      const std::uint32_t sector = address24 & ~(kConfigSector - 1);
      if (sector + kConfigSector <= configFlash_.size())
        std::fill_n(configFlash_.begin() + sector, kConfigSector, 0xFF);
      break;
    }
    case CMD_CFG_READ:
      for (int i = 0; i < memoryLength; ++i)
        payload.push_back(address24 + i < configFlash_.size() ? configFlash_[address24 + i] : 0xFF);
      break;
    case CMD_RESET:
      machine_.ResetMachine();
      machine_.state[Field::BoxStatus] = machine_.state[Field::BoxFetchAddr] = 0;
      machine_.SnapshotTo(current);
      break;
    case CMD_STEP:
      Step();
      break;
    case CMD_READ_STATE:
      payload.assign(current.state.bytes.begin(), current.state.bytes.begin() + kStateReplyBytes);
      break;
    case CMD_READ_EM:
      for (int i = 0; i < kBlockEntries; ++i) payload.push_back(current.EM[(param[0] + i) & 0xFF]);
      break;
    case CMD_WRITE_EM:
      for (int i = 0; i < kBlockEntries; ++i)
        machine_.EM[(param[0] + i) & 0xFF] = current.EM[(param[0] + i) & 0xFF] = data[i];
      break;
    case CMD_WRITE_UM:
      for (int i = 0; i < kBlockEntries; ++i)
        machine_.uM[(param[0] + i) & 0xFF] =
            data[3 * i] | data[3 * i + 1] << 8 | data[3 * i + 2] << 16;
      break;
    case CMD_INT_LINE: {
      const std::uint32_t level = GetWord(param);
      // The request line is active low: a falling edge raises the machine's IREQ.
      if (intLine_ != 0 && level == 0) current.state[Field::STATUS] |= status::IREQ;
      intLine_ = level;
      break;
    }
    default:
      break;
  }
}

// One micro-step of the box's machine. The state reports the micro-word just executed (the
// workbench derives the buses and PC indications from it) and BoxStatus: bit 0 an
// instruction fetch, bit 7 a carry jump (ELP, IR & 0x0C = 0) loaded PC, bit 6 a zero jump
// (IR & 0x0C = 4) loaded PC.
void SoftwareBox::Step() {
  const std::uint32_t word = machine_.uM[machine_.CurrentRecord.state[Field::uPC]];
  machine_.MicroStep();
  MachineState& s = machine_.state;
  const bool loaded = Asserted(word, Signal::ELP) && !(s[Field::STATUS] & status::ELPC);
  std::uint8_t boxStatus = machine_.InstrFetched ? 0x01 : 0x00;
  if (loaded && (s[Field::IR] & 0x0C) == 0x00) boxStatus |= 0x80;
  if (loaded && (s[Field::IR] & 0x0C) == 0x04) boxStatus |= 0x40;
  s[Field::BoxStatus] = boxStatus;
  s[Field::BoxFetchAddr] =
      machine_.InstrFetched ? static_cast<std::uint8_t>(machine_.InstrAddr) : 0;
  machine_.LoadMicroWord(word);
  machine_.SnapshotTo(machine_.CurrentRecord);
}

void SoftwareBox::Reply(std::uint8_t command, const std::vector<std::uint8_t>& payload) {
  std::vector<std::uint8_t> frame(4 + payload.size());
  std::uint8_t echo = command | options_.echoBits;
  if (exchanges_ == options_.wrongEchoAt) echo = static_cast<std::uint8_t>((command + 1) & 0x3F);
  std::uint8_t words = static_cast<std::uint8_t>(payload.size() / 4);
  if (exchanges_ == options_.shortPayloadAt) ++words;
  PutReplyHeader(frame.data(), words, echo);
  if (exchanges_ == options_.badChecksumAt) ++frame[3];
  std::copy(payload.begin(), payload.end(), frame.begin() + 4);
  WriteAll(frame.data(), frame.size());
}

void SoftwareBox::WriteAll(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t done = 0; done < count && master_ >= 0;) {
    const ssize_t n = ::write(master_, bytes + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    pollfd p{master_, POLLOUT, 0};
    if (poll(&p, 1, 1000) <= 0) return;  // nobody reads: the reply is lost, as on a wire
  }
}

bool SoftwareBox::LoadFlash() {
  if (options_.flashDir.empty()) return false;
  const auto controller = ReadWholeFile(options_.flashDir + "/CTRL.BIN");
  const bool loaded = controller && controller->size() == controllerFlash_.size();
  if (loaded) controllerFlash_.assign(controller->begin(), controller->end());
  const auto config = ReadWholeFile(options_.flashDir + "/CFG.BIN");
  if (config && config->size() == configFlash_.size())
    configFlash_.assign(config->begin(), config->end());
  return loaded;
}

void SoftwareBox::SaveFlash() {
  if (options_.flashDir.empty()) return;
  WriteFileAtomic(options_.flashDir + "/CTRL.BIN", AsBytes(controllerFlash_));
  WriteFileAtomic(options_.flashDir + "/CFG.BIN", AsBytes(configFlash_));
}

}  // namespace edumac8
