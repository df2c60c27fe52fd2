// A decoded picture of the experiment guide: 8-bit RGB, rows top to bottom.
#pragma once

#include <cstdint>
#include <vector>

namespace edumac8 {

// Pictures wider or higher than this are refused as broken: a few bytes of a hostile file
// could otherwise declare gigabytes of pixels.
constexpr int kMaxPictureSide = 8192;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes

  std::uint8_t* Row(int y) { return rgb.data() + static_cast<std::size_t>(y) * width * 3; }
  const std::uint8_t* Row(int y) const {
    return rgb.data() + static_cast<std::size_t>(y) * width * 3;
  }
};

}  // namespace edumac8
