#include "fpga/board_button.h"

#include <QPainter>

namespace edumac8 {
namespace {

void Bevel(QPainter& p, const QRect& r, bool sunken) {
  const QColor light = Qt::white, shadow(0x80, 0x80, 0x80);
  p.setPen(sunken ? shadow : light);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(sunken ? light : shadow);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

BoardButton::BoardButton(QWidget* parent, bool flat) : QAbstractButton(parent), flat_(flat) {
  setFocusPolicy(Qt::NoFocus);
}

void BoardButton::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void BoardButton::SetFlat(bool flat) {
  flat_ = flat;
  update();
}

QSize BoardButton::sizeHint() const {
  const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text()) + QSize(8, 4);
  return picture_.isNull() ? text : picture_.size().expandedTo(text) + QSize(4, 4);
}

void BoardButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const bool sunken = isDown() || isChecked();
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  if (!flat_) {
    p.fillRect(rect(), sunken ? QColor(0xB0, 0xB0, 0xB0) : QColor(0xC8, 0xC8, 0xC8));
    Bevel(p, frame, sunken);
  } else if (sunken || (hovered_ && isEnabled())) {
    Bevel(p, frame, sunken);
  }
  if (!picture_.isNull())
    p.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
  if (!text().isEmpty()) {
    p.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                         : palette().color(QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect(), Qt::AlignCenter, text());
  }
}

void BoardButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void BoardButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace edumac8
