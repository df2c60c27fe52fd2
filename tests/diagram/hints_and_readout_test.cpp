// The block hints, captions, lamps and remaining-steps bits of the structure diagram.
#include <gtest/gtest.h>

#include "diagram/diagram_readout.h"
#include "diagram/signal_hints.h"
#include "support/machine_fixture.h"

using namespace edumac8;
using edumac8::test::DefaultMachine;
using edumac8::test::Word;
using S = Signal;
using B = BlockId;

TEST(SignalHints, Texts) {
  struct Case {
    BlockId block;
    std::uint32_t word;
    std::uint8_t ir;
    const char* hint;
  };
  const Case cases[] = {
      {B::IA, Word({}, 1), 0, "中断向量(001)\nX2 X1 X0 = 001, 中断向量输出允许"},
      {B::IA, 0xCBFFFF, 0, "中断向量(001)\nX2 X1 X0 = 111, 中断向量输出禁止"},
      {B::ST, Word({S::STEN}, 2), 0,
       "堆栈(010)\nX2 X1 X0 = 010, 堆栈输出允许\nST_EN = 0, 堆栈打入允许"},
      {B::PC, 0xCBFFFF, 0,
       "程序记数器PC(011)\nX2 X1 X0 = 111, PC输出禁止\nPC_OE = 0, PC输出地址允许\n"
       "ELP = 1, PC打入禁止"},
      {B::PC, Word({S::ELP}, 3), 0,
       "程序记数器PC(011)\nX2 X1 X0 = 011, PC输出允许\nPC_OE = 1, PC输出地址禁止\n"
       "ELP = 0, PC打入允许"},
      {B::MAR, Word({S::MAROE}), 0,
       "地址寄存器MAR\nMAR_OE = 0, 地址寄存器MAR输出允许\nMAR_EN = 1, 地址寄存器MAR打入禁止"},
      {B::L, Word({}, 6), 0, "左移门(110)\nX2 X1 X0 = 110, 左移门输出允许"},
      {B::R, Word({}, 6), 0, "右移门(101)\nX2 X1 X0 = 110, 右移门输出禁止"},
      {B::D, Word({}, 4), 0, "直通门(100)\nX2 X1 X0 = 100, 直通门输出允许"},
      {B::IN, Word({}, 0), 0, "输入门(000)\nX2 X1 X0 = 000, 输入门输出允许"},
      {B::R2, Word({S::RWR}), 0x16,
       "寄存器R2\nSB SA = 10, 选中R2\nRWR = 0, 写允许\nRRD = 1, 读禁止"},
      {B::R0, Word({S::RRD}), 0x16,
       "寄存器R0\nSB SA = 10, 未选中R0\nRWR = 1, 写禁止\nRRD = 0, 读允许"},
      {B::OUT, Word({S::OUTEN}), 0, "输出寄存器\nOUT_EN = 0, 输出寄存器打入允许"},
      {B::EM, Word({S::EMEN, S::EMRD}), 0,
       "存贮器EM\nEM_EN = 0, 存贮器与数据总线相通\nEM_RD = 0, 存贮器读允许\n"
       "EM_WR = 1, 存贮器写禁止"},
      {B::EM, Word({S::EMWR}), 0,
       "存贮器EM\nEM_EN = 1, 存贮器与数据总线不通\nEM_RD = 1, 存贮器读禁止\n"
       "EM_WR = 0, 存贮器写允许"},
      {B::uPC, 0xCBFFFF, 0, "微指令记数器uPC\nIR_EN = 0, 微指令记数器uPC打入允许"},
      {B::uPC, 0xFFFFFF, 0, "微指令记数器uPC\nIR_EN = 1, 微指令记数器uPC加一"},
      {B::IR, 0xCBFFFF, 0, "指令寄存器\nIR_EN = 0, 指令寄存器打入允许"},
      {B::A, 0xFFFE90, 0, "寄存器A\nA_EN = 0, 寄存器A打入允许"},
      {B::W, 0xFFFE90, 0, "寄存器W\nW_EN = 1, 寄存器W打入禁止"},
      {B::uM, 0xCBFFFF, 0, "微程序存贮器uM"},
      {B::DBUS, 0xFFFE90, 0, "数据总线\nALU直通 "},
      {B::DBUS, 0xCBFFFF, 0, "数据总线\n浮空"},
      {B::ABUS, 0xCBFFFF, 0, "地址总线\nPC输出"},
      {B::IBUS, 0xCBFFFF, 0, "指令总线\n存贮器EM"},
      {B::IBUS, 0xFFFFFF, 0, "指令总线\n浮空"},
      {B::ALU, 0xFFFE90, 0, "运算器\nS2 S1 S0 = 000, 加运算 "},
      {B::ALU, 0xFFFFFF, 0, "运算器\nS2 S1 S0 = 111, A输出"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UpdateSignalHints(c.word, c.ir)[Index(c.block)], c.hint) << BlockOf(c.block).name;
}

TEST(SignalHints, AddressIsWrittenAsAddressEverywhere) {
  for (std::uint32_t w : {0x000000u, 0xFFFFFFu, 0xCBFFFFu})
    for (const std::string& hint : UpdateSignalHints(w, 0))
      EXPECT_EQ(hint.find("址址"), std::string::npos) << hint;
}

TEST(SignalHints, StartupHintsAreTheNames) {
  const SignalHints hints = StartupHints();
  EXPECT_EQ(hints[Index(B::MAR)], "MAR");
  EXPECT_EQ(hints[Index(B::ALU)], "ALU");
  EXPECT_EQ(hints[Index(B::IBUS)], "IBUS");
}

TEST(DiagramReadout, CaptionsAndLamps) {
  MachineState s;
  s[Field::A] = 0x3C;
  s[Field::MH] = 0xCB;
  s[Field::MM] = 0xFF;
  s[Field::ML] = 0xFF;
  s[Field::EMData] = 0x5A;
  s[Field::MAR] = 0x07;
  s[Field::IBUS] = 0x81;
  s[Field::F] = flag::RZ | flag::Cy;
  s[Field::STATUS] = status::IREQ | status::RT0;
  const DiagramReadout r = ReadDiagram(s);
  EXPECT_EQ(r.captions[Index(B::A)], "A:3C");
  EXPECT_EQ(r.captions[Index(B::uM)], "uM: CB FF FF");
  EXPECT_EQ(r.captions[Index(B::EM)], "EM:5A");
  EXPECT_EQ(r.captions[Index(B::MAR)], "MAR:07");
  EXPECT_EQ(r.captions[Index(B::IBUS)], "IBUS:81");
  EXPECT_EQ(r.captions[Index(B::ALU)], "ALU");
  EXPECT_EQ(r.lamps, (std::array<bool, kLampCount>{false, true, true, false, false, true}));
  EXPECT_EQ(StartupCaptions()[Index(B::uPC)], "uPC:");
  EXPECT_EQ(StartupCaptions()[Index(B::ALU)], "ALU");
}

TEST(DiagramReadout, RemainingStepsFromTheStepCounts) {
  DefaultMachine d;
  d.m.BuildStepCountTable();
  ASSERT_EQ(d.m.StepCountTable[0x10], 2);
  ASSERT_EQ(d.m.StepCountTable[0x14], 3);
  struct Case {
    std::uint8_t upc;
    std::uint8_t remaining;
  };
  for (const Case& c : {Case{0x10, 2}, Case{0x11, 1}, Case{0x12, 0}, Case{0x13, 0}, Case{0x14, 3},
                        Case{0x17, 0}, Case{0x00, 0}, Case{0x03, 0}})
    EXPECT_EQ(RemainingSteps(d.m.StepCountTable, c.upc), c.remaining) << int(c.upc);

  // A difference below zero counts as none.
  StepCounts table{};
  table[0x20] = 1;
  EXPECT_EQ(RemainingSteps(table, 0x23), 0);
  EXPECT_EQ(RemainingSteps(table, 0x22), 0);
  EXPECT_EQ(RemainingSteps(table, 0x21), 0);

  MachineState s;
  s[Field::uPC] = 0x11;
  s[Field::STATUS] = 0xFF;
  WriteRemainingSteps(s, d.m.StepCountTable);
  EXPECT_EQ(s[Field::STATUS], 0xFF & ~status::RT1) << "RT1 = 0, RT0 = 1, the rest kept";
  s[Field::uPC] = 0x14;
  WriteRemainingSteps(s, d.m.StepCountTable);
  EXPECT_EQ(s[Field::STATUS], 0xFF);
  s[Field::uPC] = 0x13;
  WriteRemainingSteps(s, d.m.StepCountTable);
  EXPECT_EQ(s[Field::STATUS], 0xFF & ~(status::RT1 | status::RT0));
}
