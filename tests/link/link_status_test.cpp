#include "link/link_status.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

TEST(LinkStatus, TextsByConfiguration) {
  const struct {
    int config, fpga, controller;
    const char* text;
    bool simulate;
  } rows[] = {
      {1, 0, 0, "已连接 EDUMAC8 实验仪(微程序控制器实验)", false},
      {1, 0, 1, "已连接 EDUMAC8 实验仪(组合逻辑控制器实验)", false},
      {1, 0, 0xFF, "已连接 EDUMAC8 实验仪(组合逻辑控制器实验)", false},
      {0, 0, 0, "已连接 EDUMAC8 实验仪, 分部实验: J 未连接", true},
      {2, 0, 0, "已连接 EDUMAC8 实验仪, 分部实验: J1 <> J3", true},
      {3, 0, 1, "已连接 EDUMAC8 实验仪, 分部实验: J2 <> J3", true},
      {4, 0, 0, "已连接 EDUMAC8 实验仪, 分部实验", true},
      {2, 1, 0, "FPGA 实验", true},  // FPGA mode first, whatever the configuration
      {1, 9, 0, "FPGA 实验", true},
  };
  for (const auto& r : rows) {
    const LinkStatus s = ConnectedStatus(r.config, r.fpga, r.controller);
    EXPECT_EQ(s.text, r.text) << r.config << " " << r.fpga << " " << r.controller;
    EXPECT_EQ(s.simulate, r.simulate) << r.text;
  }
}

}  // namespace
}  // namespace edumac8
