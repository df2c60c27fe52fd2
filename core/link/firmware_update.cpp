// The firmware update inside a connection attempt. The order of erasing and writing matters
// to the box's boot loader: the header block first, the configuration's page 0 (which carries
// "QUOR") last, so an interrupted update never leaves a header that vouches for a half-written
// image. The update ends at its first failed exchange: a box that stops answering, or is
// pulled out, would otherwise cost a restart wait and a time-out per remaining stage, and the
// next connection attempt starts the update again from its beginning anyway.
#include <array>
#include <cstring>

#include "link/box_link.h"

namespace edumac8 {

void BoxLink::ControllerErase(std::uint32_t address) {
  PutWord(Request() + 4, address & 0xFFFF);
  Transact(CMD_FW_ERASE, 1);
}

void BoxLink::BlockPair(std::uint8_t commandA, std::uint8_t commandB, int length,
                        const std::uint8_t* data) {
  std::memcpy(Request() + 8, data, length);
  const std::uint8_t n = static_cast<std::uint8_t>(1 + RoundUpTo4(length) / 4);
  Transact(commandA, n);
  // The request buffer still holds the parameter word and data of the first half.
  Transact(commandB, n);
}

void BoxLink::ControllerWrite(std::uint32_t address, const std::uint8_t* data) {
  PutControllerParam(Request() + 4, static_cast<std::uint16_t>(address), kControllerPage);
  BlockPair(CMD_FW_BLOCK_A, CMD_FW_BLOCK_B, kControllerPage, data);
}

void BoxLink::ControllerRead(std::uint32_t address, std::uint8_t* data) {
  PutControllerParam(Request() + 4, static_cast<std::uint16_t>(address), kControllerPage);
  Transact(CMD_FW_READ, 1);
  if (Expect(kControllerPage)) std::memcpy(data, Reply() + 4, kControllerPage);
}

void BoxLink::FirmwareMode(std::uint8_t mode) {
  PutWord(Request() + 4, mode);
  Transact(CMD_FW_MODE, 1);
}

void BoxLink::ConfigErase(std::uint32_t address) {
  PutMemoryParam(Request() + 4, address, 0);
  Transact(CMD_CFG_ERASE, 1);
}

void BoxLink::ConfigWrite(std::uint32_t address, const std::uint8_t* data) {
  PutMemoryParam(Request() + 4, address, kConfigPage);
  BlockPair(CMD_CFG_BLOCK_A, CMD_CFG_BLOCK_B, kConfigPage, data);
}

void BoxLink::ConfigRead(std::uint32_t address) {
  PutMemoryParam(Request() + 4, address, kConfigPage);
  Transact(CMD_CFG_READ, 1);
}

void BoxLink::ReportProgress(int written, int total) {
  if (onFirmwareProgress) onFirmwareProgress(written, total);
}

bool BoxLink::RestartCycle() {
  if (linkFailed_) return false;
  BoxRestart();
  ClosePort();
  std::this_thread::sleep_for(options_.timing.restartWait);
  const int number = FindBoxPort();
  if (number < 0) {
    linkFailed_ = true;
    return false;
  }
  ClosePort();
  OpenPort(number);
  BoxReadInfo();
  return !linkFailed_;
}

void BoxLink::UpdateBoxFirmware() {
  std::array<std::uint8_t, kControllerPage> header{};
  ControllerRead(kHeaderBlockAddress, header.data());
  Transact(CMD_INFO, 0);
  if (!Expect(kBoxInfoBytes)) return;
  const BoxInfo info = *ParseBoxInfo(std::span<const std::uint8_t>(Reply() + 4, replyPayload_));
  if (info.runState != 0 && info.version == kCurrentFirmwareVersion) return;
  // Without sound images there is nothing to install: the box is used as it is, and nothing
  // on it is erased.
  std::optional<FirmwareImages> images = LoadFirmwareImages(options_.firmwareDir);
  if (!images) return;

  FirmwareMode(0xFF);
  if (info.runState != 0) {
    ControllerErase(kHeaderBlockAddress);
    if (!RestartCycle()) return;
  }
  FirmwareMode(0xFF);
  WriteFirmware(*images, header.data());
}

void BoxLink::WriteFirmware(FirmwareImages& images, std::uint8_t* header) {
  const int applicationPages = (kApplicationEnd - kControllerImageBase) / kControllerPage;
  const int upperPages = (kControllerImageEnd - kApplicationEnd) / kControllerPage;
  const int total = 1 + applicationPages + upperPages + images.configPages;
  int written = 0;
  ReportProgress(written, total);

  for (std::uint32_t a = kHeaderBlockAddress; a < kApplicationEnd && !linkFailed_;
       a += kControllerPage)
    ControllerErase(a);
  ComposeHeaderBlock(images, header);
  ControllerWrite(kHeaderBlockAddress, header);
  if (linkFailed_) return;
  ReportProgress(++written, total);
  for (int i = 0; i < applicationPages && !linkFailed_; ++i) {
    ControllerWrite(kControllerImageBase + kControllerPage * i,
                    images.controller.data() + kControllerPage * i);
    if (!linkFailed_) ReportProgress(++written, total);
  }
  for (int i = 0; i < upperPages && !linkFailed_; ++i)
    ControllerErase(kApplicationEnd + kControllerPage * i);
  PatchVersion(images);
  for (int i = 0; i < upperPages && !linkFailed_; ++i) {
    const std::uint32_t offset = kApplicationEnd - kControllerImageBase + kControllerPage * i;
    ControllerWrite(kControllerImageBase + offset, images.controller.data() + offset);
    if (!linkFailed_) ReportProgress(++written, total);
  }
  if (!RestartCycle()) return;
  FirmwareMode(0xFF);

  for (int k = 0; k < images.configSectors && !linkFailed_; ++k) ConfigErase(k * kConfigSector);
  ConfigRead(0);
  for (int p = images.configPages - 1; p >= 0 && !linkFailed_; --p) {
    ConfigWrite(p * kConfigPage, images.config.data() + p * kConfigPage);
    if (!linkFailed_) ReportProgress(++written, total);
  }
  if (!RestartCycle()) return;
  FirmwareMode(0x00);
}

}  // namespace edumac8
