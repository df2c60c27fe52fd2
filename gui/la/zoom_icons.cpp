#include "la/zoom_icons.h"

#include <QPainter>
#include <QPixmap>

namespace edumac8 {
namespace {

constexpr int kSize = 40;  // drawn large, shown at the buttons' icon size

const QColor kInk(0x33, 0x3A, 0x45);
const QColor kGlass(0xDC, 0xEB, 0xFA);

}  // namespace

QIcon ZoomButtonIcon(ZoomIcon icon) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // A magnifying glass; the sign in it tells the direction.
  p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(25, 25), QPointF(36, 36));
  p.setPen(QPen(kInk, 3.5));
  p.setBrush(kGlass);
  p.drawEllipse(QRectF(4, 4, 24, 24));
  p.setPen(QPen(kInk, 3.5, Qt::SolidLine, Qt::FlatCap));
  switch (icon) {
    case ZoomIcon::In:
      p.drawLine(QPointF(10, 16), QPointF(22, 16));
      p.drawLine(QPointF(16, 10), QPointF(16, 22));
      break;
    case ZoomIcon::Out:
      p.drawLine(QPointF(10, 16), QPointF(22, 16));
      break;
    case ZoomIcon::All:
      p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(9, 16), QPointF(23, 16));
      p.drawLine(QPointF(9, 12), QPointF(9, 20));
      p.drawLine(QPointF(23, 12), QPointF(23, 20));
      break;
  }
  p.end();
  return QIcon(pm);
}

}  // namespace edumac8
