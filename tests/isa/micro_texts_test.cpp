#include "isa/micro_texts.h"

#include <gtest/gtest.h>

#include "isa/grid_rows.h"
#include "support/machine_fixture.h"

namespace edumac8 {
namespace {

struct WordTexts {
  std::uint32_t w;
  const char *dataOut, *dataIn, *addressOut, *alu, *shift, *upc, *pc;
};

class MicroTexts : public ::testing::TestWithParam<WordTexts> {};

TEST_P(MicroTexts, SpellOutTheWord) {
  const WordTexts& t = GetParam();
  EXPECT_EQ(DataOutText(t.w), t.dataOut);
  EXPECT_EQ(DataInText(t.w), t.dataIn);
  EXPECT_EQ(AddressOutText(t.w), t.addressOut);
  EXPECT_EQ(AluText(t.w), t.alu);
  EXPECT_EQ(ShiftText(t.w), t.shift);
  EXPECT_EQ(UpcText(t.w), t.upc);
  EXPECT_EQ(PcText(t.w), t.pc);
}

INSTANTIATE_TEST_SUITE_P(
    Words, MicroTexts,
    ::testing::Values(
        WordTexts{0xFFFFFF, "浮空", "", "浮空", "A输出", "", " +1", ""},
        WordTexts{0xCBFFFF, "浮空", "指令寄存器IR ", "PC输出", "A输出", "", "写入", " +1"},
        WordTexts{0xFFFE90, "ALU直通 ", "寄存器A 标志位C,Z ", "浮空", "加运算 ", "", " +1", ""},
        WordTexts{0xFFF7EF, "寄存器值R? ", "寄存器W ", "浮空", "A输出", "", " +1", ""},
        WordTexts{0xFCFF5F, "堆栈寄存器ST ", "寄存器PC ", "浮空", "A输出", "", " +1", "写入"},
        // A memory write: nothing from memory on the data bus.
        WordTexts{0xB7BF9F, "ALU直通 ", "存贮器EM ", "MAR输出", "A输出", "", " +1", ""},
        WordTexts{0xFFF79F, "错误: ALU直通 寄存器值R? ", "", "浮空", "A输出", "", " +1", ""},
        WordTexts{0xCBBFFF, "浮空", "指令寄存器IR ", "错误: PC输出 MAR输出", "A输出", "", "写入",
                  " +1"},
        WordTexts{0xFFFEB7, "ALU右移 ", "寄存器A 标志位C,Z ", "浮空", "A输出", "带进位右移", " +1",
                  ""},
        WordTexts{0xFFFCD7, "ALU左移 ", "寄存器A 标志位C,Z ", "浮空", "A输出", "左移", " +1", ""}));

TEST(MicroTexts, StateAndAddress) {
  EXPECT_EQ(StateText(2, 0xFFFFFF), "");
  EXPECT_EQ(StateText(2, 0xFFF7EF), " T2");
  EXPECT_EQ(AddressText(0x1A, true), "-> 1A");
  EXPECT_EQ(AddressText(0x1A, false), "   1A");
  EXPECT_EQ(HexText(0xFFCBFFFF), "CBFFFF");
}

TEST(GridRows, MicroProgramRowsOfTheDefaults) {
  test::DefaultMachine d;
  d.m.BuildStepCountTable();
  const MicroGridRow fetch = MicroGridRowOf(d.isa, d.m, 0);
  EXPECT_EQ(fetch[0], "_FATCH_  ");
  EXPECT_EQ(fetch[1], " T0");
  EXPECT_EQ(fetch[2], "-> 00");
  EXPECT_EQ(fetch[9], "写入");
  EXPECT_EQ(MicroGridRowOf(d.isa, d.m, 1)[0], "");
  const MicroGridRow empty = MicroGridRowOf(d.isa, d.m, 3);
  EXPECT_EQ(empty[1], "");
  EXPECT_EQ(empty[3], "FFFFFF");
  EXPECT_EQ(empty[9], " +1");
  EXPECT_EQ(empty[10], "");
  EXPECT_EQ(MicroGridRowOf(d.isa, d.m, 0x08)[0], "UNDEF");
}

TEST(GridRows, TraceRowsShowTheFetchedInstruction) {
  test::DefaultMachine d;
  d.Load({0x7C, 0x12, 0x10});
  d.m.BuildStepCountTable();
  const MicroGridRow reset = TraceGridRowOf(d.isa, d.m, 0);
  EXPECT_EQ(reset[2], "-> 00");
  EXPECT_EQ(reset[1], " T0");
  d.m.MicroStep();  // fetch of MOV A,#12
  const MicroGridRow fetched = TraceGridRowOf(d.isa, d.m, 1);
  EXPECT_EQ(fetched[0], "00 MOV   A, #12");
  EXPECT_EQ(TraceGridRowOf(d.isa, d.m, 0)[2], "   00");
  EXPECT_EQ(TraceGridRowOf(d.isa, d.m, 5)[3], "") << "rows beyond the history are empty";
}

TEST(GridRows, TraceRowOfAnInterruptEntryShowsTheInterruptCode) {
  test::DefaultMachine d;
  d.Load({0xE0, 0xE0, 0xE0});
  d.m.MicroStep();  // fetch NOP at 0
  d.m.CurrentRecord.state[Field::STATUS] |= status::IREQ;
  d.m.MicroStep();  // NOP's fetch of the next op-code becomes the entry, PC stays 1
  d.m.BuildStepCountTable();
  EXPECT_EQ(TraceGridRowOf(d.isa, d.m, 2)[0], "01 _INT_ ");
}

TEST(GridRows, InstructionSetRows) {
  InstructionSystem isa;
  EXPECT_EQ(InstrGridRowOf(isa, 4), (InstrGridRow{"ADD      A, R?", "000100xx    10 - 13", "", "", ""}));
  EXPECT_EQ(InstrGridRowOf(isa, 0x8C / 4)[2], "II");
  EXPECT_EQ(InstrGridRowOf(isa, 0x8C / 4)[3], "");
  EXPECT_EQ(InstrGridRowOf(isa, 1), (InstrGridRow{"", "000001xx    04 - 07", "", "", "未使用"}));
  EXPECT_EQ(SecondOperandByteText(OpImm, OpMem), "MM");
  EXPECT_EQ(OperandByteText(OpA, OpMem), "MM");
}

}  // namespace
}  // namespace edumac8
