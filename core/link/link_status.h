// The status texts of the link, shown after the product title in the captions.
#pragma once

#include <cstdint>
#include <string>

namespace edumac8 {

inline constexpr const char* kNotConnectedText = " 未连接 EDUMAC8 实验仪";

struct LinkStatus {
  std::string text;
  bool simulate = true;  // the workbench keeps its own engine (false: Simulation unchanged)
};

// The status of a connected box by its configuration; the rows are tried top to bottom.
LinkStatus ConnectedStatus(std::uint8_t boxConfig, std::uint8_t boxFpgaMode,
                           std::uint8_t boxController);

// What the captions tell while the box's firmware is being rewritten.
std::string FirmwareProgressText(int pagesWritten, int pagesToWrite);

}  // namespace edumac8
