// Windows bitmaps: the core header (12 bytes) and the info headers (40 bytes and longer),
// 1, 4 and 8 bits per pixel through a palette, 16 and 32 bits direct or by bit fields,
// 24 bits direct. Compressed bitmaps are refused. Every read is bounds-checked: the file
// may be anything.
#include <bit>
#include <cstdint>

#include "guide/picture_decoder.h"

namespace edumac8 {
namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kCoreHeader = 12;
constexpr std::size_t kInfoHeader = 40;

class Bytes {
 public:
  explicit Bytes(std::string_view b) : b_(b) {}
  bool Has(std::size_t at, std::size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
  std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(b_[at]); }
  std::uint32_t U16(std::size_t at) const { return U8(at) | U8(at + 1) << 8; }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
  const std::uint8_t* At(std::size_t at) const {
    return reinterpret_cast<const std::uint8_t*>(b_.data()) + at;
  }

 private:
  std::string_view b_;
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// One colour channel described by a bit mask, scaled to 8 bits.
class Channel {
 public:
  explicit Channel(std::uint32_t mask = 0)
      : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask ? mask >> shift_ : 0) {}
  std::uint8_t Of(std::uint32_t pixel) const {
    if (max_ == 0) return 0;
    const std::uint64_t v = (pixel & mask_) >> shift_;
    return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_);
  }

 private:
  std::uint32_t mask_;
  int shift_;
  std::uint64_t max_;
};

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::size_t headerEnd = 0;     // where the palette (or the bit-field masks) begins
  std::size_t paletteEntry = 4;  // bytes per palette entry
  std::uint32_t paletteCount = 0;
  Channel red, green, blue;
};

bool ReadLayout(const Bytes& in, Layout& l) {
  if (!in.Has(0, kFileHeader + 4)) return false;
  const std::uint32_t headerSize = in.U32(kFileHeader);
  if (headerSize == kCoreHeader) {
    if (!in.Has(kFileHeader, kCoreHeader)) return false;
    l.width = static_cast<int>(in.U16(kFileHeader + 4));
    l.height = static_cast<int>(in.U16(kFileHeader + 6));
    l.bits = static_cast<int>(in.U16(kFileHeader + 10));
    l.paletteEntry = 3;
  } else if (headerSize >= kInfoHeader && headerSize <= 1024) {
    if (!in.Has(kFileHeader, headerSize)) return false;
    const auto width = static_cast<std::int32_t>(in.U32(kFileHeader + 4));
    const auto height = static_cast<std::int32_t>(in.U32(kFileHeader + 8));
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    l.width = width;
    l.topDown = height < 0;
    l.height = height < 0 ? -height : height;
    l.bits = static_cast<int>(in.U16(kFileHeader + 14));
    l.compression = in.U32(kFileHeader + 16);
    l.paletteCount = in.U32(kFileHeader + 32);
  } else {
    return false;
  }
  l.headerEnd = kFileHeader + headerSize;
  if (l.width <= 0 || l.height <= 0 || l.width > kMaxPictureSide || l.height > kMaxPictureSide)
    return false;
  if (l.bits <= 8) {
    if (l.bits != 1 && l.bits != 4 && l.bits != 8) return false;
    if (l.compression != kRgb) return false;
    if (l.paletteCount == 0 || l.paletteCount > (1u << l.bits)) l.paletteCount = 1u << l.bits;
    return true;
  }
  if (l.bits == 24) return l.compression == kRgb;
  if (l.bits != 16 && l.bits != 32) return false;
  if (l.compression == kBitFields) {
    // The masks follow a 40-byte header and are part of the longer ones.
    const std::size_t at = kFileHeader + kInfoHeader;
    if (!in.Has(at, 12)) return false;
    l.red = Channel(in.U32(at));
    l.green = Channel(in.U32(at + 4));
    l.blue = Channel(in.U32(at + 8));
    if (headerSize == kInfoHeader) l.headerEnd += 12;
    return true;
  }
  if (l.compression != kRgb) return false;
  if (l.bits == 16) {
    l.red = Channel(0x7C00);
    l.green = Channel(0x03E0);
    l.blue = Channel(0x001F);
  } else {
    l.red = Channel(0xFF0000);
    l.green = Channel(0x00FF00);
    l.blue = Channel(0x0000FF);
  }
  return true;
}

}  // namespace

std::optional<Picture> DecodeBmp(std::string_view bytes) {
  const Bytes in(bytes);
  if (!in.Has(0, 2) || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  Layout l;
  if (!ReadLayout(in, l)) return std::nullopt;

  std::vector<Rgb> palette;
  if (l.bits <= 8) {
    if (!in.Has(l.headerEnd, l.paletteCount * l.paletteEntry)) return std::nullopt;
    for (std::uint32_t i = 0; i < l.paletteCount; ++i) {
      const std::size_t at = l.headerEnd + i * l.paletteEntry;
      palette.push_back({in.U8(at + 2), in.U8(at + 1), in.U8(at)});
    }
  }
  const std::size_t stride = ((static_cast<std::size_t>(l.width) * l.bits + 31) / 32) * 4;
  const std::size_t offset = in.U32(10);
  if (!in.Has(offset, stride * l.height)) return std::nullopt;

  Picture picture;
  picture.width = l.width;
  picture.height = l.height;
  picture.rgb.resize(static_cast<std::size_t>(l.width) * l.height * 3);
  for (int y = 0; y < l.height; ++y) {
    const int fileRow = l.topDown ? y : l.height - 1 - y;
    const std::uint8_t* row = in.At(offset + stride * fileRow);
    std::uint8_t* out = picture.Row(y);
    for (int x = 0; x < l.width; ++x, out += 3) {
      Rgb c;
      if (l.bits <= 8) {
        const int perByte = 8 / l.bits;
        const int shift = 8 - l.bits * (x % perByte + 1);
        const unsigned index = (row[x / perByte] >> shift) & ((1u << l.bits) - 1);
        if (index < palette.size()) c = palette[index];
      } else if (l.bits == 24) {
        c = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
      } else {
        const std::uint32_t pixel = l.bits == 16
                                        ? row[2 * x] | row[2 * x + 1] << 8
                                        : row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 |
                                              static_cast<std::uint32_t>(row[4 * x + 3]) << 24;
        c = {l.red.Of(pixel), l.green.Of(pixel), l.blue.Of(pixel)};
      }
      out[0] = c.r;
      out[1] = c.g;
      out[2] = c.b;
    }
  }
  return picture;
}

}  // namespace edumac8
