#include <gtest/gtest.h>

#include "support/machine_fixture.h"

namespace edumac8 {
namespace {

using test::DefaultMachine;
using test::Word;

// Evaluates one micro-word on a machine with the given registers.
struct EvalCase {
  const char* name;
  std::uint8_t a, w;
  bool carryIn;
  std::uint32_t word;
  std::uint8_t d, l, r;
  bool cy, cz;
};

class AluTest : public ::testing::TestWithParam<EvalCase> {};

TEST_P(AluTest, ComputesResultCarryAndZero) {
  const EvalCase& c = GetParam();
  Machine m;
  m.state[Field::A] = c.a;
  m.state[Field::W] = c.w;
  m.state[Field::F] = c.carryIn ? flag::RCy : 0;
  m.LoadMicroWord(c.word);
  m.Evaluate();
  EXPECT_EQ(m.state[Field::D], c.d);
  EXPECT_EQ(m.state[Field::L], c.l);
  EXPECT_EQ(m.state[Field::R], c.r);
  EXPECT_EQ((m.state[Field::F] & flag::Cy) != 0, c.cy);
  EXPECT_EQ((m.state[Field::F] & flag::CZ) != 0, c.cz);
  EXPECT_EQ(m.state[Field::F] & flag::RCy, c.carryIn ? flag::RCy : 0) << "latched carry kept";
}

INSTANTIATE_TEST_SUITE_P(
    Engine, AluTest,
    ::testing::Values(
        EvalCase{"AddOverflow", 0xFF, 0x01, false, Word({}, 4, 0), 0x00, 0x00, 0x00, true, true},
        EvalCase{"SubBorrow", 0x00, 0x01, false, Word({}, 4, 1), 0xFF, 0xFE, 0x7F, true, false},
        EvalCase{"SubcEqual", 0x05, 0x05, true, Word({}, 4, 5), 0xFF, 0xFE, 0x7F, true, false},
        EvalCase{"AddcCarryIn", 0x7F, 0x80, true, Word({}, 4, 4), 0x00, 0x00, 0x00, true, true},
        EvalCase{"OrClearsCarry", 0x0F, 0xF0, true, Word({}, 4, 2), 0xFF, 0xFE, 0x7F, false, false},
        EvalCase{"AndZero", 0x0F, 0xF0, false, Word({}, 4, 3), 0x00, 0x00, 0x00, false, true},
        EvalCase{"Complement", 0x0F, 0x00, true, Word({}, 4, 6), 0xF0, 0xE0, 0x78, false, false},
        EvalCase{"RightThroughCarry", 0x01, 0, true, Word({Signal::CN}, 5, 7), 0x01, 0x03, 0x80,
                 true, false},
        EvalCase{"RightShiftInZero", 0x01, 0, true, Word({}, 5, 7), 0x01, 0x02, 0x00, true, true},
        EvalCase{"LeftThroughCarry", 0x80, 0, false, Word({Signal::CN}, 6, 7), 0x80, 0x00, 0x40,
                 true, true},
        EvalCase{"LeftKeepsOldCarry", 0x80, 0, false, Word({}, 6, 7), 0x80, 0x00, 0x40, false,
                 true},
        // X = 001 puts IA on the bus but its X1 X0 still select the right-shift flags.
        EvalCase{"InterruptAddressUsesRightShiftFlags", 0x01, 0, false, Word({Signal::CN}, 1, 7),
                 0x01, 0x02, 0x00, true, true}),
    [](const auto& info) { return info.param.name; });

TEST(Engine, BothAddressDriversLeaveTheBusFloating) {
  Machine m;
  m.EM[0xFF] = 0x5A;
  m.state[Field::PC] = 0x10;
  m.state[Field::MAR] = 0x20;
  m.LoadMicroWord(Word({Signal::PCOE, Signal::MAROE, Signal::EMRD}));
  m.Evaluate();
  EXPECT_EQ(m.state[Field::ABUS], 0xFF);
  EXPECT_EQ(m.state[Field::ABusDrivers], 1);
  EXPECT_EQ(m.state[Field::IBUS], 0x5A) << "the read uses address 0xFF";
}

TEST(Engine, RegisterAndSourceOnTheDataBusConflict) {
  Machine m;
  m.state[Field::IR] = 0x12;  // register 2
  m.state[Field::R2] = 0x77;
  m.state[Field::A] = 0x11;
  m.LoadMicroWord(Word({Signal::RRD}, 4));
  m.Evaluate();
  EXPECT_EQ(m.state[Field::DBUS], 0x77);
  EXPECT_EQ(m.state[Field::DBusDrivers], 2);
}

TEST(Engine, MemoryWriteWithoutEnableStoresFloatingBus) {
  Machine m;
  m.state[Field::MAR] = 0x30;
  m.EM[0x30] = 0x12;
  m.LoadMicroWord(Word({Signal::MAROE, Signal::EMWR}, 4));
  m.Evaluate();
  m.Latch();
  EXPECT_EQ(m.EM[0x30], 0xFF);
  EXPECT_EQ(m.state[Field::EMData], 0xFF);
}

TEST(Engine, MemoryWriteWithEnableStoresDataBus) {
  Machine m;
  m.state[Field::MAR] = 0x30;
  m.state[Field::A] = 0x42;
  m.LoadMicroWord(Word({Signal::MAROE, Signal::EMWR, Signal::EMEN}, 4));
  m.Evaluate();
  EXPECT_EQ(m.state[Field::IBUS], 0x42) << "a write also shows on the instruction bus";
  m.Latch();
  EXPECT_EQ(m.EM[0x30], 0x42);
}

TEST(Engine, CarryJumpTestsTheCarryLatchedInTheSameStep) {
  Machine m;
  m.state[Field::A] = 0xFF;
  m.state[Field::W] = 0x01;
  m.state[Field::IR] = 0xA0;  // IR AND 0x0C = 0: carry jump
  m.state[Field::PC] = 0x05;
  // ALU straight onto DBUS; the sum 0x00 with carry; jump target = 0x00.
  m.LoadMicroWord(Word({Signal::FEN, Signal::ELP}, 4, 0));
  m.Evaluate();
  m.Latch();
  EXPECT_EQ(m.state[Field::PC], 0x00);
  EXPECT_EQ(m.state[Field::STATUS] & status::ELPC, 0) << "ELPC is low when PC was loaded";
}

TEST(Engine, ConditionalJumpNotTakenLeavesPc) {
  Machine m;
  m.state[Field::IR] = 0xA4;  // zero jump, Z clear
  m.state[Field::PC] = 0x05;
  m.LoadMicroWord(Word({Signal::ELP}, 4));
  m.Evaluate();
  m.Latch();
  EXPECT_EQ(m.state[Field::PC], 0x05);
  EXPECT_NE(m.state[Field::STATUS] & status::ELPC, 0);
}

TEST(Engine, MicroProgramCounterWraps) {
  Machine m;
  m.state[Field::uPC] = 0xFF;
  m.LoadMicroWord(Word({}));
  m.Evaluate();
  m.Latch();
  EXPECT_EQ(m.state[Field::uPC], 0x00);
}

TEST(Engine, EndOfInterruptInAFetchWordPreventsEntry) {
  Machine m;
  m.state[Field::STATUS] = status::IREQ;
  m.EM[0] = 0x10;
  m.LoadMicroWord(Word({Signal::PCOE, Signal::EMRD, Signal::IREN, Signal::EINT}));
  m.Evaluate();
  m.Latch();
  EXPECT_EQ(m.state[Field::uPC], 0x10);
  EXPECT_EQ(m.state[Field::STATUS] & (status::IREQ | status::IACK), 0);
  EXPECT_NE(m.state[Field::STATUS] & status::ICOE, 0);
}

TEST(Engine, PendingRequestReplacesTheNextFetch) {
  DefaultMachine d;
  d.Load({0xE0, 0xE0});  // NOP NOP
  d.m.CurrentRecord.state[Field::STATUS] |= status::IREQ;
  d.m.MicroStep();  // the fetch at reset becomes the interrupt entry
  EXPECT_EQ(d[Field::uPC], 0xB8);
  EXPECT_EQ(d[Field::IR], 0xB8);
  EXPECT_EQ(d[Field::IBUS], 0xB8);
  EXPECT_EQ(d[Field::PC], 0x00) << "neither loaded nor counted";
  EXPECT_EQ(d[Field::STATUS] & (status::IACK | status::ICOE | status::PCInc), status::IACK);
  EXPECT_TRUE(d.m.InstrFetched);
  d.Instructions(0);  // _INT_: ST = PC, PC = IA, fetch at E0
  EXPECT_EQ(d[Field::ST], 0x00);
  EXPECT_EQ(d.m.InstrAddr, 0xE0u);
  EXPECT_EQ(d[Field::PC], 0xE1);
}

TEST(Engine, ResetState) {
  DefaultMachine d;
  d.m.EM[0] = 0x7C;
  d.m.state.bytes[40] = 0x99;
  d.m.ResetMachine();
  EXPECT_EQ(d.m.history.Count(), 1);
  EXPECT_EQ(d[Field::STATUS], 0x39);
  EXPECT_EQ(d[Field::IA], 0xE0);
  EXPECT_EQ(d[Field::ABUS], 0x00);
  EXPECT_EQ(d[Field::IBUS], 0x7C);
  EXPECT_EQ(d[Field::DBUS], 0xFF);
  EXPECT_EQ(d[Field::EMData], 0x7C);
  EXPECT_EQ(d.m.CurrentMicroWord(), 0xCBFFFFu);
  EXPECT_EQ(d.m.history.Newest().state, d.m.state);
  EXPECT_EQ(d.m.state.bytes[40], 0x99) << "reserved bytes are left as they are";
}

TEST(Engine, ResetClearsEveryRegisterByteAndNothingElse) {
  DefaultMachine d;
  for (std::uint8_t& b : d.m.state.bytes) b = 0x5A;
  d.m.ResetMachine();
  // The registers and byte 21; bytes 15-20 and the step's flags in F are recomputed from
  // the micro-word at 0.
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 21})
    EXPECT_EQ(d.m.state.bytes[i], 0) << "byte " << i;
  EXPECT_EQ(d[Field::F] & (flag::RCy | flag::RZ), 0);
  EXPECT_EQ(d.m.state.bytes[22], 0x5A) << "a box byte";
  EXPECT_EQ(d.m.state.bytes[31], 0x5A) << "a box byte";
}

TEST(Engine, StartUpResetEvaluatesTheAllZeroWord) {
  Machine m;  // uM is still all zero
  EXPECT_EQ(m.CurrentMicroWord(), 0u);
  EXPECT_EQ(m.state[Field::DBusDrivers], 2);
  EXPECT_EQ(m.state[Field::IBusDrivers], 2);
}

TEST(Engine, ReservedBytesSurviveSteps) {
  DefaultMachine d;
  d.Load({0x7C, 0x12, 0x10, 0xAC, 0x00});
  for (int i = 32; i < 48; ++i) d.m.CurrentRecord.state.bytes[i] = static_cast<std::uint8_t>(i);
  for (int i = 0; i < 50; ++i) d.m.MicroStep();
  for (int i = 32; i < 48; ++i) EXPECT_EQ(d.m.state.bytes[i], i);
}

TEST(Engine, MicroWordNeverHasBitsAboveTwentyThree) {
  Machine m;
  m.LoadMicroWord(0xFFCBFFFF);
  EXPECT_EQ(m.CurrentMicroWord(), 0xCBFFFFu);
  m.LoadMicroWord(0x00CBFFFF);
  EXPECT_EQ(m.CurrentMicroWord(), 0xCBFFFFu);
}

TEST(StepCountTable, DefaultGroups) {
  DefaultMachine d;
  d.m.BuildStepCountTable();
  const auto group = [&](int g) {
    return std::vector<int>(d.m.StepCountTable.begin() + g, d.m.StepCountTable.begin() + g + 4);
  };
  EXPECT_EQ(group(0x10), (std::vector<int>{2, 1, 0, 0}));
  EXPECT_EQ(group(0x14), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(group(0x00), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(group(0xB8), (std::vector<int>{2, 1, 0, 0}));
}

TEST(StepCountTable, OnlyTheWholeEmptyCellIsSkipped) {
  MicroProgram uM;
  uM.fill(kEmptyCell);
  uM[0x40] = 0x00FFFFFE;  // a word
  uM[0x41] = 0xFFFFFFFF;  // empty word, but not the empty cell value: counted
  uM[0x42] = 0x00FFFFFF;  // the empty cell: skipped
  uM[0x43] = 0x00FFFFFE;
  EXPECT_EQ(StepCountAt(uM, 0x40), 3);
  EXPECT_EQ(StepCountAt(uM, 0x41), 0) << "an empty word counts nothing itself";
}

// Programs of the default instruction set, checked by their architectural effect.
TEST(DefaultInstructions, ArithmeticJumpsAndCalls) {
  DefaultMachine d;
  d.Load({
      0x7C, 0x05,  // 00 MOV A,#05
      0x8D, 0x03,  // 02 MOV R1,#03
      0x11,        // 04 ADD A,R1     A = 08
      0x88, 0x40,  // 05 MOV 40,A
      0x3C, 0x09,  // 07 SUB A,#09    A = FF, C = 1
      0xA0, 0x0D,  // 09 JC 0D
      0xE0,        // 0B NOP (skipped)
      0xE0,        // 0C NOP (skipped)
      0xBC, 0x20,  // 0D CALL 20
      0xC4,        // 0F OUT
  });
  d.m.EM[0x20] = 0xE4;  // CPL A  A = 00
  d.m.EM[0x21] = 0xCC;  // RET
  d.m.SnapshotTo(d.m.CurrentRecord);
  d.Instructions(10);
  EXPECT_EQ(d.m.EM[0x40], 0x08);
  EXPECT_EQ(d[Field::A], 0x00);
  EXPECT_EQ(d[Field::OUT], 0x00);
  EXPECT_EQ(d[Field::ST], 0x0F);
  EXPECT_EQ(d.m.InstrAddr, 0x10u) << "the fetch after OUT";
  EXPECT_EQ(d[Field::F] & (flag::RCy | flag::RZ), flag::RZ) << "CPL latches carry 0, zero 1";
}

}  // namespace
}  // namespace edumac8
