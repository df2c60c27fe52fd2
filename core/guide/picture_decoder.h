// Decoding of the guide's pictures. The kind is told by the content, not by the file name:
// JPEG (baseline or progressive; colour, grayscale or CMYK) and Windows bitmaps
// (uncompressed or bit-field, 1 to 32 bits per pixel). Anything else, and any picture that
// cannot be decoded, is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "guide/picture.h"

namespace edumac8 {

std::optional<Picture> DecodePicture(std::string_view bytes);
std::optional<Picture> DecodeJpeg(std::string_view bytes);
std::optional<Picture> DecodeBmp(std::string_view bytes);

// Reads and decodes a picture file.
std::optional<Picture> LoadPicture(const std::string& path);

}  // namespace edumac8
