// The firmware update against the software box's flash memories.
#include <gtest/gtest.h>

#include <cstdio>

#include "link/firmware_image.h"
#include "link_test_support.h"

namespace edumac8 {
namespace {

constexpr int kConfigPages = 5;

std::string Line(int command, int n, const std::uint8_t* param = nullptr) {
  char text[32];
  if (!param)
    std::snprintf(text, sizeof text, "%02X %02X", command, n);
  else
    std::snprintf(text, sizeof text, "%02X %02X %02X%02X%02X%02X", command, n, param[0], param[1],
                  param[2], param[3]);
  return text;
}
std::string Word(int command, int n, std::uint32_t value) {
  std::uint8_t p[4];
  PutWord(p, value);
  return Line(command, n, p);
}
std::string Controller(int command, int n, std::uint32_t address) {
  std::uint8_t p[4];
  PutControllerParam(p, static_cast<std::uint16_t>(address), 512);
  return Line(command, n, p);
}
std::string Config(int command, int n, std::uint32_t address, int length) {
  std::uint8_t p[4];
  PutMemoryParam(p, address, length);
  return Line(command, n, p);
}

// The requests an update sends, by the order the boot loader needs.
std::vector<std::string> UpdateSequence(bool running, int pages, int sectors) {
  std::vector<std::string> s = {Controller(CMD_FW_READ, 1, 0x1800), Line(CMD_INFO, 0),
                                Word(CMD_FW_MODE, 1, 0xFF)};
  const auto restart = [&] {
    s.push_back(Line(CMD_RESTART, 0));
    s.push_back(Line(CMD_INFO, 0));
  };
  if (running) {
    s.push_back(Word(CMD_FW_ERASE, 1, 0x1800));
    restart();
  }
  s.push_back(Word(CMD_FW_MODE, 1, 0xFF));
  for (std::uint32_t a = 0x1800; a < 0x8000; a += 512) s.push_back(Word(CMD_FW_ERASE, 1, a));
  const auto block = [&](std::uint32_t a) {
    s.push_back(Controller(CMD_FW_BLOCK_A, 129, a));
    s.push_back(Controller(CMD_FW_BLOCK_B, 129, a));
  };
  block(0x1800);
  for (std::uint32_t a = 0x2000; a < 0x8000; a += 512) block(a);
  for (std::uint32_t a = 0x8000; a < 0x9800; a += 512) s.push_back(Word(CMD_FW_ERASE, 1, a));
  for (std::uint32_t a = 0x8000; a < 0x9800; a += 512) block(a);
  restart();
  s.push_back(Word(CMD_FW_MODE, 1, 0xFF));
  for (int k = 0; k < sectors; ++k) s.push_back(Config(CMD_CFG_ERASE, 1, k * 0x10000, 0));
  s.push_back(Config(CMD_CFG_READ, 1, 0, 256));
  for (int p = pages - 1; p >= 0; --p) {
    s.push_back(Config(CMD_CFG_BLOCK_A, 65, p * 256, 256));
    s.push_back(Config(CMD_CFG_BLOCK_B, 65, p * 256, 256));
  }
  restart();
  s.push_back(Word(CMD_FW_MODE, 1, 0x00));
  s.push_back(Line(CMD_INFO, 0));  // the attempt's information
  s.push_back(Line(CMD_INFO, 0));  // the tick's
  return s;
}

struct UpdateRig : LinkRig {
  std::string controller = RandomBytes(kControllerImageBytes, 7);
  std::string config = ConfigImage(kConfigPages, 2, 9);
  std::string flash = RandomBytes(0x10000, 3);
  explicit UpdateRig(bool background = false, bool images = true) : LinkRig(background) {
    if (images) {
      WriteBytes(dir / "FIRMWARE/BOXCTRL.BIN", controller);
      WriteBytes(dir / "FIRMWARE/BOXCFG.BIN", config);
    }
    WriteBytes(dir / "flash/CTRL.BIN", flash);
  }
  std::vector<std::string> BoxOptions(const char* runState, const char* version) {
    return {"--run-state", runState, "--version", version, "--flash-dir", dir / "flash"};
  }
};

TEST(FirmwareUpdate, CurrentBoxIsOnlyAsked) {
  UpdateRig rig;
  auto box = rig.StartBox(rig.BoxOptions("1", "0x103"));
  ASSERT_TRUE(box);
  rig.link.Tick();
  EXPECT_EQ(box->Log(), (std::vector<std::string>{Controller(CMD_FW_READ, 1, 0x1800), "01 00",
                                                  "01 00", "01 00"}));
}

TEST(FirmwareUpdate, OldBoxGetsTheWholeSequenceAndTheImages) {
  UpdateRig rig;
  auto options = rig.BoxOptions("1", "0x102");
  options.insert(options.end(), {"--restart-com", "11"});
  auto box = rig.StartBox(options);
  ASSERT_TRUE(box);
  std::vector<std::pair<int, int>> progress;
  rig.link.onFirmwareProgress = [&](int written, int total) {
    progress.emplace_back(written, total);
  };
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), "已连接 EDUMAC8 实验仪(微程序控制器实验)");
  EXPECT_FALSE(rig.Simulation());
  EXPECT_EQ(rig.link.PortName(), "\\\\.\\COM11");  // it came back under another number
  EXPECT_EQ(box->Log(), UpdateSequence(true, kConfigPages, 2));
  const int total = 1 + 48 + 12 + kConfigPages;
  ASSERT_EQ(progress.size(), static_cast<std::size_t>(total + 1));
  for (int i = 0; i <= total; ++i) EXPECT_EQ(progress[i], std::make_pair(i, total));

  box->Unplug();
  const std::string after = ReadBytes(rig.dir / "flash/CTRL.BIN");
  ASSERT_EQ(after.size(), 0x10000u);
  std::uint8_t sum = 0;
  for (int i = 0; i < 0x6000; ++i) sum = static_cast<std::uint8_t>(sum + rig.controller[i]);
  std::uint8_t header[28] = {0x00, 0x20, 0,    0,    0x00, 0x60, 0, 0, sum,  0,    0, 0, 0, 0, 0, 0,
                             0x78, 0x56, 0x34, 0x12, 0x00, 0x01, 0, 0, 0x03, 0x01, 0, 0};
  EXPECT_EQ(after.substr(0x1800, 28), std::string(header, header + 28));
  EXPECT_EQ(after.substr(0x181C, 512 - 28), rig.flash.substr(0x181C, 512 - 28));
  EXPECT_EQ(after.substr(0x1A00, 0x600), std::string(0x600, '\xFF'));
  std::string expected = rig.controller;
  expected[0x8104 - 0x2000] = 0x03;
  expected[0x8105 - 0x2000] = 0x01;
  EXPECT_EQ(after.substr(0x2000, kControllerImageBytes), expected);
  EXPECT_EQ(after.substr(0, 0x1800), rig.flash.substr(0, 0x1800));
  EXPECT_EQ(after.substr(0x9800), rig.flash.substr(0x9800));
  const std::string configFlash = ReadBytes(rig.dir / "flash/CFG.BIN");
  EXPECT_EQ(configFlash.substr(0, rig.config.size()), rig.config);
  EXPECT_EQ(configFlash.substr(rig.config.size(), 0x20000 - rig.config.size()),
            std::string(0x20000 - rig.config.size(), '\xFF'));

  // The box now runs the current firmware: the next connection only asks.
  auto again = rig.StartBox({"--flash-dir", rig.dir / "flash", "--version", "0x102"});
  rig.link.Tick();  // the heartbeat notices that the first box has gone
  const std::size_t before = again->Log().size();
  rig.link.Tick();
  EXPECT_EQ(again->Commands(before), (std::vector<int>{CMD_FW_READ, CMD_INFO, CMD_INFO, CMD_INFO}))
      << "the boot loader's version word is the one in the header block";
}

TEST(FirmwareUpdate, BootLoaderBoxSkipsTheFirstRestart) {
  UpdateRig rig;
  auto box = rig.StartBox(rig.BoxOptions("0", "0x103"));
  ASSERT_TRUE(box);
  rig.link.Tick();
  EXPECT_EQ(box->Log(), UpdateSequence(false, kConfigPages, 2));
  EXPECT_FALSE(rig.Simulation());
}

TEST(FirmwareUpdate, WithoutSoundImagesNothingIsErased) {
  for (bool images : {false, true}) {
    UpdateRig rig(false, images);
    if (images) WriteBytes(rig.dir / "FIRMWARE/BOXCFG.BIN", "QUOX" + rig.config.substr(4));
    auto box = rig.StartBox(rig.BoxOptions("1", "0x102"));
    ASSERT_TRUE(box);
    rig.link.Tick();
    EXPECT_EQ(box->Commands(), (std::vector<int>{CMD_FW_READ, CMD_INFO, CMD_INFO, CMD_INFO}));
    EXPECT_EQ(rig.link.StatusText(), "已连接 EDUMAC8 实验仪(微程序控制器实验)");
    EXPECT_FALSE(rig.Simulation());
  }
}

TEST(FirmwareUpdate, BoxThatDoesNotComeBackLeavesTheWorkbenchSimulating) {
  UpdateRig rig;
  auto options = rig.BoxOptions("1", "0x102");
  options.push_back("--vanish-at-restart");
  auto box = rig.StartBox(options);
  ASSERT_TRUE(box);
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_TRUE(rig.Simulation());
  EXPECT_EQ(box->Commands().back(), CMD_RESTART);
  EXPECT_EQ(box->Commands().size(), 5u);
}

TEST(FirmwareUpdate, BackgroundUpdateReportsProgressWhileTheTickReturns) {
  UpdateRig rig(true);
  auto box = rig.StartBox(rig.BoxOptions("0", "0"));
  ASSERT_TRUE(box);
  std::atomic<int> lastWritten{-1};
  rig.link.onFirmwareProgress = [&](int written, int) { lastWritten = written; };
  const auto start = std::chrono::steady_clock::now();
  rig.link.Tick();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  rig.link.Tick();  // during the attempt: nothing
  EXPECT_TRUE(rig.link.AttemptInProgress());
  rig.link.WaitForAttempt();
  EXPECT_EQ(lastWritten, 1 + 48 + 12 + kConfigPages);
  EXPECT_EQ(rig.statuses, (std::vector<std::string>{"已连接 EDUMAC8 实验仪(微程序控制器实验)"}));
}

}  // namespace
}  // namespace edumac8
