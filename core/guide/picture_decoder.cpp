#include "guide/picture_decoder.h"

#include "platform/file_io.h"

namespace edumac8 {

std::optional<Picture> DecodePicture(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xD8)
    return DecodeJpeg(bytes);
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
  return std::nullopt;
}

std::optional<Picture> LoadPicture(const std::string& path) {
  if (!FileReadable(path)) return std::nullopt;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return DecodePicture(*bytes);
}

}  // namespace edumac8
