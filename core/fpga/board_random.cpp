#include "fpga/board_random.h"

namespace edumac8 {

BoardRandom::BoardRandom() : engine_(std::random_device{}()) {}

std::array<std::uint32_t, kIOGroupCount> BoardRandom::Draw() {
  std::array<std::uint32_t, kIOGroupCount> numbers;
  for (std::uint32_t& n : numbers) n = static_cast<std::uint32_t>(engine_() >> 32);
  return numbers;
}

}  // namespace edumac8
