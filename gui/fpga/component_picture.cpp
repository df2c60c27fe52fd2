#include "fpga/component_picture.h"

#include <QPainter>

#include "fpga/board_images.h"
#include "fpga/component_geometry.h"

namespace edumac8 {
namespace {

QImage Silver(const BoardRect& r) {
  QImage image(r.width, r.height, QImage::Format_ARGB32_Premultiplied);
  image.fill(kSilver);
  return image;
}

void DrawTwoDigits(QPainter& p, std::uint32_t value, int y) {
  const BoardImages& im = BoardImages::Get();
  p.drawImage(8, y, im.digits[(value >> 4) & 15]);
  p.drawImage(32, y, im.digits[value & 15]);
}

void DrawSelectionMark(QImage& image) {
  QPainter p(&image);
  p.fillRect(QRect(1, 1, 10, 10), kSilver);
  p.setPen(Qt::blue);
  p.drawRect(QRect(1, 1, 9, 9));
  p.drawLine(1, 1, 10, 10);
  p.drawLine(10, 1, 1, 10);
}

}  // namespace

int LampIndex(const CList& c) {
  if (c.Colour > 3 || c.Bit < 0 || c.Bit > 7) return 8;
  return (c.Value >> c.Bit) & 1 ? c.Colour : c.Colour + 4;
}

QImage ComponentPicture(const CList& c, bool selected) {
  const BoardImages& im = BoardImages::Get();
  const int kind = EffectiveKind(c.Kind);
  QImage image;
  if (kind == kLed) {
    image = im.lamps[LampIndex(c)].copy();
  } else if (kind == kPlaceholder) {
    return {};
  } else {
    image = Silver(PictureRect(kind));
    QPainter p(&image);
    switch (kind) {
      case kTwoDigits:
        DrawTwoDigits(p, c.Value, 2);
        break;
      case kTwoDigitsWithLeds:
        DrawTwoDigits(p, c.Value, 1);
        for (int i = 0; i < 8; ++i)
          p.drawImage(53 - 7 * i, 35, (c.Value >> i) & 1 ? im.smallLampLit : im.smallLampDark);
        break;
      case kSegmentDigit:
        // The dark digit first: drawn after a lit segment it would cover it.
        p.drawImage(16, 2, im.segments[0]);
        for (int i = 0; i < 8; ++i)
          if ((c.Value >> i) & 1) p.drawImage(16, 2, im.segments[i + 1]);
        break;
      case kEightDigits:
        for (int i = 0; i < 8; ++i)
          p.drawImage(4 + 24 * i, 2, im.digits[(c.Value >> (28 - 4 * i)) & 15]);
        break;
      case kButton:
        // The picture of its key kind, as the bottom row's keys show it (raised for a level
        // key).
        p.drawImage(4, 4, KeyPicture(c.Colour, false));
        break;
    }
  }
  if (selected) DrawSelectionMark(image);
  return image;
}

const QImage& KeyPicture(int keyType, bool down) {
  const BoardImages& im = BoardImages::Get();
  const int kind = EffectiveKeyKind(keyType);
  return im.keys[kind == kLevelKey ? (down ? 1 : 0) : kind + 1];
}

void DrawPreview(QPainter& p, int kind, int x, int y) {
  const BoardRect r = PreviewRect(kind, x, y);
  p.save();
  p.setPen(QPen(Qt::red, 1, Qt::DotLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.x, r.y, r.width - 1, r.height - 1);
  p.setPen(QPen(Qt::red, 1));
  // A sketch of the component: a lamp, digits in outline, or the row of eight.
  const auto digit = [&](int left, int top, int w, int h) {
    p.drawRect(left, top, w, h);
    p.drawLine(left, top + h / 2, left + w, top + h / 2);
  };
  switch (kind) {
    case kLed:
      p.drawEllipse(x + 21, y + 2, 20, 20);
      p.drawRect(x + 1, y + 25, 61, 17);
      break;
    case kTwoDigits:
    case kTwoDigitsWithLeds:
      digit(x + 9, y + 3, 22, 31);
      digit(x + 33, y + 3, 22, 31);
      if (kind == kTwoDigitsWithLeds)
        for (int i = 0; i < 8; ++i) p.drawRect(x + 54 - 7 * i, y + 37, 5, 5);
      break;
    case kSegmentDigit:
      digit(x + 18, y + 4, 28, 40);
      break;
    case kEightDigits:
      for (int i = 0; i < 8; ++i) digit(x + 5 + 24 * i, y + 3, 22, 31);
      break;
    default:
      p.drawRect(x + 16, y + 2, 31, 31);
  }
  p.restore();
}

QImage PaletteImage(int kind) {
  if (kind == kEightDigits) {
    // Eight digits in two rows of four: the whole display would be too small to read.
    QImage image(42, 34, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < 8; ++i)
      p.drawImage(QRect(1 + 10 * (i % 4), 1 + 17 * (i / 4), 10, 15),
                  BoardImages::Get().digits[i + 1]);
    return image;
  }
  CList sample = CreateNewRec(0, 0, kind);
  sample.Value = 0x5A;
  sample.Bit = 1;
  const QImage picture = ComponentPicture(sample, false);
  // The displays' pictures, trimmed of their silver margins, fit the palette button.
  return kind == kLed ? picture
                      : picture.copy(6, 0, 52, 45)
                            .scaled(42, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace edumac8
