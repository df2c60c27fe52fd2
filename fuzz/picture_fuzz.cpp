// Any bytes as a picture file: the decoder must give a picture of the size it declares or a
// refusal, never crash, end the process (libjpeg's default on errors) or read out of bounds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "guide/picture_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = edumac8::DecodePicture({reinterpret_cast<const char*>(data), size});
  if (!picture) return 0;
  if (picture->width <= 0 || picture->height <= 0 || picture->width > edumac8::kMaxPictureSide ||
      picture->height > edumac8::kMaxPictureSide ||
      picture->rgb.size() != static_cast<std::size_t>(picture->width) * picture->height * 3)
    std::abort();
  return 0;
}
