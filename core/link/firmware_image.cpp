#include "link/firmware_image.h"

#include <cstring>

#include "link/box_frame.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace {

constexpr std::uint32_t kVersionAddress = 0x8104;
constexpr int kMaxConfigSectors = 256;

int Get16(std::string_view s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8;
}

}  // namespace

std::optional<FirmwareImages> CheckFirmwareImages(std::string_view controller,
                                                  std::string_view config) {
  if (controller.size() != kControllerImageBytes) return std::nullopt;
  if (config.size() < 16 || config.substr(0, 4) != "QUOR") return std::nullopt;
  FirmwareImages images;
  images.configPages = Get16(config, 8);
  images.configSectors = Get16(config, 10);
  const long long pagesBytes = static_cast<long long>(images.configPages) * kConfigPage;
  if (images.configPages < 1 || images.configSectors < 1) return std::nullopt;
  if (images.configSectors > kMaxConfigSectors) return std::nullopt;
  if (pagesBytes != static_cast<long long>(config.size())) return std::nullopt;
  if (pagesBytes > static_cast<long long>(images.configSectors) * kConfigSector)
    return std::nullopt;
  images.controller.assign(controller.begin(), controller.end());
  images.config.assign(config.begin(), config.end());
  return images;
}

std::optional<FirmwareImages> LoadFirmwareImages(const std::string& directory) {
  const std::optional<std::string> controller = ReadWholeFile(directory + kControllerImageName);
  const std::optional<std::string> config = ReadWholeFile(directory + kConfigImageName);
  if (!controller || !config) return std::nullopt;
  return CheckFirmwareImages(*controller, *config);
}

std::uint8_t ApplicationSum(const FirmwareImages& images) {
  std::uint8_t sum = 0;
  for (std::uint32_t a = kControllerImageBase; a < kApplicationEnd; ++a)
    sum = static_cast<std::uint8_t>(sum + images.controller[a - kControllerImageBase]);
  return sum;
}

void ComposeHeaderBlock(const FirmwareImages& images, std::uint8_t* block) {
  std::memset(block, 0, 28);
  PutWord(block + 0, kControllerImageBase);
  PutWord(block + 4, kApplicationEnd - kControllerImageBase);
  block[8] = ApplicationSum(images);
  PutWord(block + 16, 0x12345678);
  PutWord(block + 20, 0x00000100);
  PutWord(block + 24, kCurrentFirmwareVersion);
}

void PatchVersion(FirmwareImages& images) {
  images.controller[kVersionAddress - kControllerImageBase] =
      static_cast<std::uint8_t>(kCurrentFirmwareVersion);
  images.controller[kVersionAddress + 1 - kControllerImageBase] =
      static_cast<std::uint8_t>(kCurrentFirmwareVersion >> 8);
}

}  // namespace edumac8
