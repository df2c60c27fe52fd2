// The test mode's source of random group values: seeded once, or by the caller for
// repeatable runs.
#pragma once

#include <array>
#include <cstdint>
#include <random>

#include "fpga/io_groups.h"

namespace edumac8 {

class BoardRandom {
 public:
  BoardRandom();  // seeded from the system's entropy source
  explicit BoardRandom(std::uint64_t seed) : engine_(seed) {}

  // One tick's draw: a uniform 32-bit number per I/O group.
  std::array<std::uint32_t, kIOGroupCount> Draw();

 private:
  std::mt19937_64 engine_;
};

}  // namespace edumac8
