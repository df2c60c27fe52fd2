// The exact bytes on the wire, against a scripted peer on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>

#include "link_test_support.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Answers like a current whole-machine box; records every request frame.
class ScriptedPeer {
 public:
  explicit ScriptedPeer(const std::string& devicesDir) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    const std::string slave = ptsname(master_);
    slave_ = open(slave.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    DeviceRecord record{std::string("USB\\VID_1A86&PID_FE0C&REV_6611") + '\0',
                        "USB-SERIAL CH340 (COM10)", slave};
    WriteFileAtomic(devicesDir + "/peer.dev", FormatDeviceRecord(record));
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedPeer() {
    stop_ = true;
    thread_.join();
    close(slave_);
    close(master_);
  }
  std::vector<Bytes> Frames() {
    std::lock_guard lock(mutex_);
    return frames_;
  }
  std::atomic<bool> shortStateReply{false};

 private:
  void Serve() {
    Bytes input;
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      std::uint8_t chunk[2048];
      const ssize_t n = read(master_, chunk, sizeof chunk);
      if (n > 0) input.insert(input.end(), chunk, chunk + n);
      while (input.size() >= 4 && input.size() >= 4u * (input[1] + 1)) {
        const Bytes frame(input.begin(), input.begin() + 4 * (input[1] + 1));
        input.erase(input.begin(), input.begin() + frame.size());
        {
          std::lock_guard lock(mutex_);
          frames_.push_back(frame);
        }
        Answer(frame[2]);
      }
    }
  }
  void Answer(std::uint8_t command) {
    Bytes payload;
    std::uint8_t words = 0;
    if (command == CMD_INFO) {
      payload.resize(kBoxInfoBytes);
      PutBoxInfo(std::span<std::uint8_t, kBoxInfoBytes>(payload.data(), kBoxInfoBytes),
                 BoxInfo{1, kCurrentFirmwareVersion, 1, 0, 0});
    } else if (command == CMD_FW_READ) {
      payload.resize(512);
    } else if (command == CMD_READ_STATE) {
      payload.resize(kStateReplyBytes, 0x11);
    }
    words = static_cast<std::uint8_t>(payload.size() / 4);
    if (command == CMD_READ_STATE && shortStateReply) ++words;  // one word never comes
    Bytes reply(4);
    PutReplyHeader(reply.data(), words, command);
    reply.insert(reply.end(), payload.begin(), payload.end());
    if (write(master_, reply.data(), reply.size()) < 0) return;
  }

  int master_ = -1, slave_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Bytes> frames_;
};

TEST(LinkExchange, FramesOnTheWire) {
  LinkRig rig;
  ScriptedPeer peer(rig.Devices());
  rig.link.Tick();
  ASSERT_FALSE(rig.Simulation());
  EXPECT_EQ(rig.link.PortName(), "\\\\.\\COM10");
  EXPECT_EQ(peer.Frames().size(), 4u);

  MicroProgram uM{};
  for (int a = 0; a < 256; ++a) uM[a] = 0xA5000000u | a << 16 | (a ^ 0x5A) << 8 | (255 - a);
  rig.link.BoxWriteUM(uM);
  std::vector<Bytes> frames = peer.Frames();
  ASSERT_EQ(frames.size(), 4u + 8u);
  const Bytes& block = frames[4 + 1];  // the block at 0x20
  ASSERT_EQ(block.size(), 104u);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 8),
            (Bytes{0x55, 0x19, 0x36, 0xA4, 0x20, 0x00, 0x00, 0x20}));
  for (int i = 0; i < 32; ++i) {
    const std::uint32_t cell = uM[0x20 + i];
    ASSERT_EQ(block[8 + 3 * i], static_cast<std::uint8_t>(cell));
    ASSERT_EQ(block[9 + 3 * i], static_cast<std::uint8_t>(cell >> 8));
    ASSERT_EQ(block[10 + 3 * i], static_cast<std::uint8_t>(cell >> 16));
  }

  rig.link.BoxStep();
  rig.link.IntRequest = true;
  rig.link.BoxReset();
  EXPECT_FALSE(rig.link.IntRequest);
  frames = peer.Frames();
  EXPECT_EQ(frames[frames.size() - 2], (Bytes{0x55, 0x00, 0x31, 0x86}));
  EXPECT_EQ(frames.back(), (Bytes{0x55, 0x00, 0x30, 0x85}));

  // A reply that announces more than arrives fails after the read limit and closes the port.
  peer.shortStateReply = true;
  MachineState state;
  state.bytes.fill(0x77);
  const auto start = std::chrono::steady_clock::now();
  rig.link.BoxReadState(state);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(1000));
  EXPECT_LT(took, std::chrono::milliseconds(1500));
  EXPECT_TRUE(rig.link.LinkFailedFlag());
  EXPECT_EQ(state.bytes[0], 0x77);  // nothing of the failed reply is taken
  const std::size_t sent = peer.Frames().size();
  rig.link.BoxReadInfo();
  rig.link.BoxStep();
  EXPECT_EQ(peer.Frames().size(), sent);
}

TEST(LinkExchange, ResetClearsTheOwedPulseAlsoInSimulation) {
  LinkRig rig;
  rig.link.IntRequest = true;
  rig.link.BoxReset();
  EXPECT_FALSE(rig.link.IntRequest);
}

}  // namespace
}  // namespace edumac8
