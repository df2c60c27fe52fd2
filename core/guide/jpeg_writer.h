// JPEG encoding through libjpeg, for the program that draws the guide's pictures and for
// tests that need pictures of every kind the decoder meets.
#pragma once

#include <optional>
#include <string>

#include "guide/picture.h"

namespace edumac8 {

struct JpegOptions {
  enum class Colour { Rgb, Grayscale, AdobeCmyk };
  int quality = 92;
  bool progressive = false;
  Colour colour = Colour::Rgb;
};

// The JPEG file of the picture; nothing when libjpeg refuses it (an empty picture).
std::optional<std::string> EncodeJpeg(const Picture& picture, const JpegOptions& options = {});

}  // namespace edumac8
