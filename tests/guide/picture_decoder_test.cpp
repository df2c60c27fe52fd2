// The picture decoder on every kind of file it meets: JPEG of each colour form, baseline and
// progressive, Windows bitmaps of each depth, and broken or hostile files.
#include "guide/picture_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "guide/jpeg_writer.h"

namespace edumac8 {
namespace {

// Colour bars with a diagonal line: enough structure to see rows and columns kept apart.
Picture TestPattern(int width, int height) {
  static const std::uint8_t kBars[][3] = {
      {255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
      {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0},
  };
  Picture p;
  p.width = width;
  p.height = height;
  p.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* c = kBars[x * 8 / width];
      std::uint8_t* out = p.Row(y) + 3 * x;
      for (int i = 0; i < 3; ++i) out[i] = (x == y) ? 128 : c[i];
    }
  return p;
}

// The mean absolute difference per channel between two pictures of the same size.
double MeanDifference(const Picture& a, const Picture& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(a.rgb[i] - b.rgb[i]);
  return sum / static_cast<double>(a.rgb.size());
}

TEST(PictureDecoder, JpegOfEveryColourForm) {
  const Picture original = TestPattern(96, 40);
  struct Case {
    const char* what;
    JpegOptions options;
  };
  const Case cases[] = {
      {"baseline", {}},
      {"progressive", {.progressive = true}},
      {"grayscale", {.colour = JpegOptions::Colour::Grayscale}},
      {"Adobe CMYK", {.colour = JpegOptions::Colour::AdobeCmyk}},
      {"progressive CMYK", {.progressive = true, .colour = JpegOptions::Colour::AdobeCmyk}},
  };
  for (const Case& c : cases) {
    const auto file = EncodeJpeg(original, c.options);
    ASSERT_TRUE(file) << c.what;
    const auto decoded = DecodePicture(*file);
    ASSERT_TRUE(decoded) << c.what;
    EXPECT_EQ(decoded->width, 96) << c.what;
    EXPECT_EQ(decoded->height, 40) << c.what;
    if (c.options.colour == JpegOptions::Colour::Grayscale) {
      for (std::size_t i = 0; i < decoded->rgb.size(); i += 3) {
        ASSERT_EQ(decoded->rgb[i], decoded->rgb[i + 1]) << c.what;
        ASSERT_EQ(decoded->rgb[i], decoded->rgb[i + 2]) << c.what;
      }
      // White bars stay light, black ones dark.
      EXPECT_GT(decoded->Row(20)[3 * 2], 240);
      EXPECT_LT(decoded->Row(20)[3 * 92], 15);
    } else {
      EXPECT_LT(MeanDifference(*decoded, original), 6.0) << c.what;
    }
  }
}

TEST(PictureDecoder, TruncatedJpegShowsWhatItHas) {
  const auto file = EncodeJpeg(TestPattern(64, 64));
  ASSERT_TRUE(file);
  // Half of the scan: libjpeg fills the rest, the picture keeps its size.
  const auto half = DecodePicture(std::string_view(*file).substr(0, file->size() / 2));
  ASSERT_TRUE(half);
  EXPECT_EQ(half->width, 64);
  EXPECT_EQ(half->height, 64);
  // Cut inside the headers: nothing to show.
  for (std::size_t n : {2u, 3u, 20u, 100u})
    EXPECT_FALSE(DecodePicture(std::string_view(*file).substr(0, n))) << n;
}

// Sets the height and width of a JPEG's frame header.
std::string WithFrameSize(std::string jpeg, int width, int height) {
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF &&
        (static_cast<unsigned char>(jpeg[i + 1]) == 0xC0 ||
         static_cast<unsigned char>(jpeg[i + 1]) == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

TEST(PictureDecoder, HugeDeclaredSizesAreRefused) {
  const auto file = EncodeJpeg(TestPattern(16, 16));
  ASSERT_TRUE(file);
  EXPECT_FALSE(DecodePicture(WithFrameSize(*file, 8193, 16)));
  EXPECT_FALSE(DecodePicture(WithFrameSize(*file, 16, 60000)));
  EXPECT_FALSE(DecodePicture(WithFrameSize(*file, 16, 0)));
  // Within the limit a lying header still gives a picture of the declared size.
  const auto wide = DecodePicture(WithFrameSize(*file, 400, 16));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->width, 400);
}

TEST(PictureDecoder, RandomBytesAreRefused) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(1 + random() % 600, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    if (round % 2) bytes.replace(0, 2, "\xFF\xD8", 2);  // a JPEG start with nothing behind it
    EXPECT_FALSE(DecodePicture(bytes)) << round;
  }
  EXPECT_FALSE(DecodePicture(""));
  EXPECT_FALSE(DecodePicture("GIF89a"));
}

// A bitmap file built field by field.
class BmpBuilder {
 public:
  BmpBuilder(int width, int height, int bits, std::uint32_t compression = 0,
             std::uint32_t headerSize = 40)
      : width_(width),
        height_(height),
        bits_(bits),
        compression_(compression),
        headerSize_(headerSize) {}

  BmpBuilder& Palette(std::vector<std::uint32_t> bgr) {
    palette_ = std::move(bgr);
    return *this;
  }
  BmpBuilder& Masks(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    masks_ = {r, g, b};
    return *this;
  }
  // Rows as stored in the file (bottom-up unless the height is negative), each padded.
  BmpBuilder& Rows(std::vector<std::vector<std::uint8_t>> rows) {
    rows_ = std::move(rows);
    return *this;
  }

  std::string Build() const {
    std::string info;
    if (headerSize_ == 12) {
      Put32(info, 12);
      Put16(info, width_);
      Put16(info, height_);
      Put16(info, 1);
      Put16(info, bits_);
    } else {
      Put32(info, headerSize_);
      Put32(info, static_cast<std::uint32_t>(width_));
      Put32(info, static_cast<std::uint32_t>(height_));
      Put16(info, 1);
      Put16(info, bits_);
      Put32(info, compression_);
      for (int i = 0; i < 3; ++i) Put32(info, 0);
      Put32(info, static_cast<std::uint32_t>(palette_.size()));
      Put32(info, 0);
      for (std::uint32_t m : masks_) Put32(info, m);
      info.resize(headerSize_ + (headerSize_ == 40 ? masks_.size() * 4 : 0), '\0');
    }
    for (std::uint32_t c : palette_) {
      if (headerSize_ == 12) {
        std::string entry;
        Put32(entry, c);
        info += entry.substr(0, 3);
      } else {
        Put32(info, c);
      }
    }
    std::string pixels;
    for (const auto& row : rows_) {
      pixels.append(row.begin(), row.end());
      pixels.append((4 - row.size() % 4) % 4, '\0');
    }
    std::string file = "BM";
    Put32(file, static_cast<std::uint32_t>(14 + info.size() + pixels.size()));
    Put32(file, 0);
    Put32(file, static_cast<std::uint32_t>(14 + info.size()));
    return file + info + pixels;
  }

 private:
  static void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
  }
  static void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
  }
  int width_, height_, bits_;
  std::uint32_t compression_, headerSize_;
  std::vector<std::uint32_t> palette_;
  std::vector<std::uint32_t> masks_;
  std::vector<std::vector<std::uint8_t>> rows_;
};

std::vector<std::uint8_t> Pixel(const Picture& p, int x, int y) {
  const std::uint8_t* c = p.Row(y) + 3 * x;
  return {c[0], c[1], c[2]};
}

using Rgb = std::vector<std::uint8_t>;

TEST(PictureDecoder, BitmapsOfEveryDepth) {
  struct Case {
    const char* what;
    std::string file;
    Rgb topLeft, topRight, bottomLeft;
  };
  const Case cases[] = {
      // 2 x 2, bottom row first: blue, green / red, white.
      {"24 bits",
       BmpBuilder(2, 2, 24).Rows({{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}}).Build(),
       {255, 0, 0},
       {255, 255, 255},
       {0, 0, 255}},
      {"24 bits top-down",
       BmpBuilder(2, -2, 24).Rows({{0, 0, 255, 255, 255, 255}, {255, 0, 0, 0, 255, 0}}).Build(),
       {255, 0, 0},
       {255, 255, 255},
       {0, 0, 255}},
      {"8-bit palette",
       BmpBuilder(2, 2, 8).Palette({0x0000FF, 0x00FF00, 0xFF0000}).Rows({{1, 1}, {0, 2}}).Build(),
       {0, 0, 255},
       {255, 0, 0},
       {0, 255, 0}},
      {"4-bit palette",
       BmpBuilder(3, 1, 4).Palette({0, 0xFFFFFF}).Rows({{0x10, 0x10}}).Build(),
       {255, 255, 255},
       {255, 255, 255},
       {255, 255, 255}},
      {"1-bit",
       BmpBuilder(9, 1, 1).Palette({0x000000, 0xFFFFFF}).Rows({{0x80, 0x80}}).Build(),
       {255, 255, 255},
       {255, 255, 255},
       {255, 255, 255}},
      {"index beyond the palette is black",
       BmpBuilder(1, 1, 8).Palette({0xFFFFFF}).Rows({{7}}).Build(),
       {0, 0, 0},
       {0, 0, 0},
       {0, 0, 0}},
      {"16 bits 5-5-5",
       BmpBuilder(1, 1, 16).Rows({{0x00, 0x7C}}).Build(),
       {255, 0, 0},
       {255, 0, 0},
       {255, 0, 0}},
      {"16 bits 5-6-5 bit fields",
       BmpBuilder(1, 1, 16, 3).Masks(0xF800, 0x07E0, 0x001F).Rows({{0xE0, 0x07}}).Build(),
       {0, 255, 0},
       {0, 255, 0},
       {0, 255, 0}},
      {"32 bits",
       BmpBuilder(1, 1, 32).Rows({{10, 20, 30, 0}}).Build(),
       {30, 20, 10},
       {30, 20, 10},
       {30, 20, 10}},
      {"32-bit fields, 108-byte header",
       BmpBuilder(1, 1, 32, 3, 108).Masks(0xFF, 0xFF00, 0xFF0000).Rows({{1, 2, 3, 4}}).Build(),
       {1, 2, 3},
       {1, 2, 3},
       {1, 2, 3}},
      {"core header",
       BmpBuilder(1, 1, 1, 0, 12).Palette({0x123456, 0}).Rows({{0}}).Build(),
       {0x12, 0x34, 0x56},
       {0x12, 0x34, 0x56},
       {0x12, 0x34, 0x56}},
  };
  for (const Case& c : cases) {
    const auto p = DecodePicture(c.file);
    ASSERT_TRUE(p) << c.what;
    EXPECT_EQ(Pixel(*p, 0, 0), c.topLeft) << c.what;
    EXPECT_EQ(Pixel(*p, p->width - 1, 0), c.topRight) << c.what;
    EXPECT_EQ(Pixel(*p, 0, p->height - 1), c.bottomLeft) << c.what;
  }
  // 4 bits: pixel 1 is the low nibble of the first byte (0: black); 1 bit: pixel 1 black.
  const auto four =
      DecodePicture(BmpBuilder(3, 1, 4).Palette({0, 0xFFFFFF}).Rows({{0x10, 0x10}}).Build());
  EXPECT_EQ(Pixel(*four, 1, 0), (Rgb{0, 0, 0}));
  const auto one =
      DecodePicture(BmpBuilder(9, 1, 1).Palette({0x000000, 0xFFFFFF}).Rows({{0x80, 0x80}}).Build());
  EXPECT_EQ(Pixel(*one, 1, 0), (Rgb{0, 0, 0}));
}

TEST(PictureDecoder, BrokenBitmapsAreRefused) {
  const std::string good =
      BmpBuilder(2, 2, 24).Rows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 1, 2, 3}}).Build();
  ASSERT_TRUE(DecodePicture(good));
  for (std::size_t n :
       {std::size_t{2}, std::size_t{14}, std::size_t{30}, std::size_t{54}, good.size() - 1})
    EXPECT_FALSE(DecodePicture(good.substr(0, n))) << "cut at " << n;
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"huge declared size", BmpBuilder(100000, 100000, 24).Build()},
      {"8193 wide", BmpBuilder(8193, 1, 24).Rows({std::vector<std::uint8_t>(8193 * 3)}).Build()},
      {"zero height", BmpBuilder(1, 0, 24).Build()},
      {"negative width", BmpBuilder(-1, 1, 24).Rows({{1, 2, 3}}).Build()},
      {"RLE8", BmpBuilder(1, 1, 8, 1).Palette({0}).Rows({{0}}).Build()},
      {"2 bits", BmpBuilder(1, 1, 2).Palette({0}).Rows({{0}}).Build()},
      {"odd header size", BmpBuilder(1, 1, 24, 0, 20).Rows({{1, 2, 3}}).Build()},
      {"palette beyond the file", BmpBuilder(1, 1, 8).Build().substr(0, 54)},
  };
  for (const Case& c : cases) EXPECT_FALSE(DecodePicture(c.file)) << c.what;
}

TEST(PictureDecoder, KindIsToldByContent) {
  const std::string bmp = BmpBuilder(1, 1, 24).Rows({{0, 0, 255}}).Build();
  EXPECT_TRUE(DecodeBmp(bmp));
  EXPECT_FALSE(DecodeJpeg(bmp));
  const auto jpeg = EncodeJpeg(TestPattern(8, 8));
  ASSERT_TRUE(jpeg);
  EXPECT_FALSE(DecodeBmp(*jpeg));
  EXPECT_TRUE(DecodePicture(*jpeg));
}

}  // namespace
}  // namespace edumac8
