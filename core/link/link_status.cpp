#include "link/link_status.h"

namespace edumac8 {

LinkStatus ConnectedStatus(std::uint8_t boxConfig, std::uint8_t boxFpgaMode,
                           std::uint8_t boxController) {
  if (boxFpgaMode != 0) return {"FPGA 实验", true};
  if (boxConfig == 1)
    return {boxController == 0 ? "已连接 EDUMAC8 实验仪(微程序控制器实验)"
                               : "已连接 EDUMAC8 实验仪(组合逻辑控制器实验)",
            false};
  const std::string partial = "已连接 EDUMAC8 实验仪, 分部实验";
  switch (boxConfig) {
    case 0:
      return {partial + ": J 未连接", true};
    case 2:
      return {partial + ": J1 <> J3", true};
    case 3:
      return {partial + ": J2 <> J3", true};
    default:
      return {partial, true};
  }
}

std::string FirmwareProgressText(int pagesWritten, int pagesToWrite) {
  return "正在更新 EDUMAC8 实验仪固件 " + std::to_string(pagesWritten) + "/" +
         std::to_string(pagesToWrite);
}

}  // namespace edumac8
