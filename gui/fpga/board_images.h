// The pictures of the board window and its dialogs, drawn once in code: lamps, hexadecimal
// digits, the segment digit, small lamps, keys, and the dialogs' display diagrams.
#pragma once

#include <QColor>
#include <QImage>
#include <array>

namespace edumac8 {

inline const QColor kSilver(0xC0, 0xC0, 0xC0);
// What a lit segment and a dark one look like in every display picture.
inline const QColor kLitSegment(0xFF, 0x20, 0x20);
inline const QColor kDarkSegment(0x48, 0x10, 0x10);
inline const QColor kDisplayGlass(0x10, 0x10, 0x10);

class BoardImages {
 public:
  static const BoardImages& Get();

  // 20 x 20: c = lit lamp of colour c, c + 4 = dark lamp of colour c, 8 = error lamp.
  std::array<QImage, 9> lamps;
  // 24 x 33: digits 0-F.
  std::array<QImage, 16> digits;
  // 7 x 7.
  QImage smallLampLit, smallLampDark;
  // 32 x 44: 0 = the dark digit, 1-8 = segment a-h lit on a transparent ground.
  std::array<QImage, 9> segments;
  // 20 x 20: 0 = key up, 1 = key down, 2-5 = key kinds 1-4.
  std::array<QImage, 6> keys;
  // The display dialog's pictures: a two-digit display, eight digits, the segment names.
  QImage HEXImg, HEX8img, BINImg;

 private:
  BoardImages();
};

// The seven segments a-g of a hexadecimal digit, bit 0 = a.
std::uint8_t DigitSegments(int digit);

}  // namespace edumac8
