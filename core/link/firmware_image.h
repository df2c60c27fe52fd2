// The firmware the workbench installs on the box: the controller image (flash addresses
// 0x2000-0x97FF) and the configuration image with its "QUOR" header. Both are product data
// read from files beside the program; an image that is missing or malformed is no image, and
// then the box is left as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace edumac8 {

inline constexpr std::uint32_t kControllerImageBase = 0x2000;
inline constexpr int kControllerImageBytes = 30720;
inline constexpr std::uint32_t kApplicationEnd = 0x8000;      // application: 0x2000-0x7FFF
inline constexpr std::uint32_t kControllerImageEnd = 0x9800;  // upper region: 0x8000-0x97FF
inline constexpr std::uint32_t kHeaderBlockAddress = 0x1800;
inline constexpr int kControllerPage = 512;
inline constexpr int kConfigPage = 256;
inline constexpr std::uint32_t kConfigSector = 0x10000;

// The files, in HomeDir + kFirmwareDirName.
inline constexpr const char* kFirmwareDirName = "FIRMWARE/";
inline constexpr const char* kControllerImageName = "BOXCTRL.BIN";
inline constexpr const char* kConfigImageName = "BOXCFG.BIN";

struct FirmwareImages {
  std::vector<std::uint8_t> controller;  // index = flash address - 0x2000
  std::vector<std::uint8_t> config;      // P pages of 256 bytes
  int configPages = 0;                   // P
  int configSectors = 0;                 // E
};

// Checks the two images: the controller image is exactly 30,720 bytes; the configuration
// image starts with "QUOR", its P and E are at least 1, it is exactly P pages long, and its E
// sectors (at most 256 in the 24-bit address space) cover the P pages. Nothing on failure.
std::optional<FirmwareImages> CheckFirmwareImages(std::string_view controller,
                                                  std::string_view config);
std::optional<FirmwareImages> LoadFirmwareImages(const std::string& directory);

// 8-bit sum of the application bytes (0x2000-0x7FFF).
std::uint8_t ApplicationSum(const FirmwareImages& images);

// Bytes 0-27 of the header block at 0x1800 for these images; bytes 28-511 are left alone.
void ComposeHeaderBlock(const FirmwareImages& images, std::uint8_t* block);

// The version the image announces, patched in before the upper region is written.
void PatchVersion(FirmwareImages& images);

}  // namespace edumac8
