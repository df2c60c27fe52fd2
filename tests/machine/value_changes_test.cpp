#include "machine/value_changes.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

TEST(ValueChanges, RegistersFlagsAndMemory) {
  MachineState before, after;
  before[Field::A] = 1;
  after[Field::A] = 2;
  after[Field::F] = flag::RZ | flag::Cy;  // Cy is this step's carry, not the flag C
  const StateChanges changes = CompareStates(before, after);
  EXPECT_TRUE(changes.Changed(Field::A));
  EXPECT_FALSE(changes.Changed(Field::W));
  EXPECT_TRUE(changes.zero);
  EXPECT_FALSE(changes.carry);
  EXPECT_EQ(changes.bytes.count(), 2u) << "A and F";

  ProgramMemory em{}, em2{};
  em2[0xFF] = 7;
  const std::bitset<256> memory = CompareMemory(em, em2);
  EXPECT_EQ(memory.count(), 1u);
  EXPECT_TRUE(memory[0xFF]);
}

}  // namespace
}  // namespace edumac8
