#include "isa/disassembler.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

struct DisasmFixture : ::testing::Test {
  InstructionSystem isa;
  ProgramMemory em{};
  DisassembledLine At(std::uint8_t address, std::initializer_list<std::uint8_t> bytes) {
    int a = address;
    for (std::uint8_t b : bytes) em[a++ & 0xFF] = b;
    return DisassembleAt(isa, em, address);
  }
};

TEST_F(DisasmFixture, Lines) {
  EXPECT_EQ(At(0x05, {0x7C, 0x12}).text, "05 7C12   MOV    A, #12");
  EXPECT_EQ(At(0x05, {0x7C, 0x12}).length, 2);
  EXPECT_EQ(At(0x30, {0xE8}).text, "30 E8     UNDEF  E8");
  EXPECT_EQ(At(0x40, {0x13}).text, "40 13     ADD    A, R3");
  EXPECT_EQ(At(0x41, {0x86}).text, "41 86     MOV    @R2, A");
  EXPECT_EQ(At(0xFF, {0x88, 0x44}).text, "FF 8844   MOV    44, A") << "wraps past 255";
}

TEST_F(DisasmFixture, TwoOperandBytesInOrder) {
  ASSERT_FALSE(isa.ModifyEntry(1, "STORE", OpImm, OpMem));
  EXPECT_EQ(At(0x10, {0x04, 0xAA, 0xBB}).text, "10 04AABB STORE  #AA, BB");
}

TEST_F(DisasmFixture, FollowsTheCurrentInstructionSet) {
  At(0x00, {0x10});
  ASSERT_FALSE(isa.ModifyEntry(4, "PLUS", OpA, OpReg));
  EXPECT_EQ(DisassembleAt(isa, em, 0).text, "00 10     PLUS   A, R0");
}

TEST_F(DisasmFixture, FormatInstructionUsesSixCharacters) {
  EXPECT_EQ(FormatInstruction(isa, 0x00, 0x00, 0, 0), "00 _FATCH");
  EXPECT_EQ(FormatInstruction(isa, 0x07, 0xE8, 0, 0), "07 UNDEF E8");
  EXPECT_EQ(FormatInstruction(isa, 0x07, 0x8D, 0x33, 0), "07 MOV   R1, #33");
}

}  // namespace
}  // namespace edumac8
