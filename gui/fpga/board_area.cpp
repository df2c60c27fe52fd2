#include "fpga/board_area.h"

#include <QPainter>
#include <QResizeEvent>

#include "fpga/board_images.h"
#include "fpga/component_picture.h"

namespace edumac8 {

BoardArea::BoardArea(QWidget* parent) : QWidget(parent) {
  setObjectName("imgM");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(1920, 1080);
  ClearBackground();
}

void BoardArea::ClearBackground() {
  imgB_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  imgB_.fill(kSilver);
  QPainter p(&imgB_);
  p.setPen(QColor(0x80, 0x80, 0x00));
  p.drawRect(imgB_.rect().adjusted(0, 0, -1, -1));
  imgM_ = imgB_;
  update();
}

void BoardArea::ShowPreview(int kind, int x, int y) {
  imgM_ = imgB_;
  QPainter p(&imgM_);
  DrawPreview(p, kind, x, y);
  update();
}

void BoardArea::ErasePreview() {
  imgM_ = imgB_;
  update();
}

void BoardArea::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), imgM_, event->rect());
}

void BoardArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ClearBackground();
}

}  // namespace edumac8
