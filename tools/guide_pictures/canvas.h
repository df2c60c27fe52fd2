// A white drawing surface with the few shapes the guide's pictures are made of: titles,
// blocks, wiring pins, arrows and buses. Text is Chinese, so every font is the CJK face the
// workbench uses.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace edumac8::pictures {

namespace colour {
inline const QColor kInk{0x20, 0x20, 0x20};
inline const QColor kBlock{0xE8, 0xF0, 0xFA};
inline const QColor kBlockEdge{0x2A, 0x4D, 0x80};
inline const QColor kBus{0x00, 0x80, 0x80};  // the structure diagram's idle buses
inline const QColor kPin{0xFF, 0xD7, 0x00};
inline const QColor kNote{0x50, 0x50, 0x50};
}  // namespace colour

QFont Font(int pointSize, bool bold = false);

class Canvas {
 public:
  Canvas(int width, int height);

  // Ends the drawing and hands out the picture.
  QImage Finish();
  QPainter& Painter() { return painter_; }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }

  void Title(const QString& title);
  // Text with its top-left corner at `at`, or aligned inside `box`.
  void Text(QPointF at, const QString& text, int size = 10, const QColor& colour = colour::kInk,
            bool bold = false);
  void TextIn(const QRectF& box, const QString& text, int size, Qt::Alignment align,
              const QColor& colour = colour::kInk, bool bold = false);
  // A block: a rounded box with its name and a smaller description below it.
  void Block(const QRectF& box, const QString& name, const QString& description = {});
  // A wiring pin: a yellow circle with its number below (or above, or right of) it.
  enum class Label { Below, Above, Right };
  void Pin(QPointF centre, int number, Label label = Label::Below);
  void Arrow(QPointF from, QPointF to, const QColor& colour = colour::kInk, double width = 1.6);
  void Bus(QPointF from, QPointF to, const QString& label);
  void Lines(QPointF at, const QStringList& lines, int size = 10, double spacing = 1.55);

 private:
  QImage image_;
  QPainter painter_;
};

}  // namespace edumac8::pictures
