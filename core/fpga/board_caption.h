// The board window's caption: what the link reports of the experiment box, and the mode file.
#pragma once

#include <cstdint>
#include <string>

namespace edumac8 {

// What the caption needs of the link. Connected means the connection step holds the box as
// connected and no exchange has failed since.
struct BoardLinkState {
  bool connected = false;
  std::uint8_t boxConfig = 1;
  std::uint8_t boxFpgaMode = 0;
  std::uint8_t boxController = 0;
};

std::string BoardStatusText(const BoardLinkState& link);

// "FPGA 实验 ===> " + status + "     模式文件: " + mode file name.
std::string BoardCaption(const BoardLinkState& link, const std::string& modeFileName);

}  // namespace edumac8
