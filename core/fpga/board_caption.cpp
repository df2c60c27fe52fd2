#include "fpga/board_caption.h"

#include "link/link_status.h"

namespace edumac8 {

std::string BoardStatusText(const BoardLinkState& link) {
  if (!link.connected) return kNotConnectedText;
  if (link.boxFpgaMode != 0) return "XO2 FPGA XO2-2000 实验";
  if (link.boxConfig == 1)
    return link.boxController == 0 ? "已连接 EDUMAC8 实验仪, 微程序控制器实验"
                                   : "已连接 EDUMAC8 实验仪, 组合逻辑控制器实验";
  std::string status = "已连接 EDUMAC8 实验仪, 分部实验";
  switch (link.boxConfig) {
    case 0:
      return status + ": J 未连接";
    case 2:
      return status + ": J1 <> J3";
    case 3:
      return status + ": J2 <> J3";
    default:
      return status;
  }
}

std::string BoardCaption(const BoardLinkState& link, const std::string& modeFileName) {
  return "FPGA 实验 ===> " + BoardStatusText(link) + "     模式文件: " + modeFileName;
}

}  // namespace edumac8
