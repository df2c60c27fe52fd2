#include "diagram/block_button.h"

#include <QEvent>
#include <QPainter>

#include "diagram/diagram_colours.h"

namespace edumac8 {
namespace {

// A one-pixel edge: `light` along the top and left, `dark` along the bottom and right.
void Edge(QPainter& p, const QRect& r, const QColor& light, const QColor& dark) {
  p.fillRect(QRect(r.left(), r.top(), r.width(), 1), light);
  p.fillRect(QRect(r.left(), r.top(), 1, r.height()), light);
  p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dark);
  p.fillRect(QRect(r.right(), r.top(), 1, r.height()), dark);
}

}  // namespace

BlockButton::BlockButton(BlockId id, Look look, QWidget* parent)
    : QAbstractButton(parent), look_(look) {
  setObjectName(QStringLiteral("sb") + QString::fromLatin1(BlockOf(id).name));
  setProperty("tag", Index(id));
  setFocusPolicy(Qt::NoFocus);
  if (look == Look::StaysDown) {
    setCheckable(true);
    setChecked(true);
  }
}

bool BlockButton::event(QEvent* event) {
  const bool handled = QAbstractButton::event(event);
  // A raised or pressed face covers the whole button, so a new caption repaints only the
  // button, not the drawing under it. Set after the polish, which clears it for buttons.
  if (event->type() == QEvent::Polish) setAttribute(Qt::WA_OpaquePaintEvent, look_ != Look::Flat);
  return handled;
}

void BlockButton::nextCheckState() {
  // A bus block stays down whatever the clicks.
  if (look_ != Look::StaysDown) QAbstractButton::nextCheckState();
}

void BlockButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  if (look_ == Look::Flat) update();
}

void BlockButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  if (look_ == Look::Flat) update();
}

void BlockButton::paintEvent(QPaintEvent*) {
  using namespace colours;
  QPainter p(this);
  const QRect r = rect();
  const bool sunken = isDown() || isChecked();
  if (look_ != Look::Flat) {
    p.fillRect(r, sunken ? kPressedFace : kFace);
    if (sunken) {
      Edge(p, r, kShadow, kWhite);
      Edge(p, r.adjusted(1, 1, -1, -1), kGray, kFace);
    } else {
      Edge(p, r, kWhite, kShadow);
      Edge(p, r.adjusted(1, 1, -1, -1), kFace, kGray);
    }
  } else if (sunken) {
    Edge(p, r, kGray, kWhite);
  } else if (underMouse() && isEnabled()) {
    Edge(p, r, kWhite, kGray);
  }
  p.setFont(font());
  p.setPen(isEnabled() ? kBlack : kGray);
  const QRect face = sunken ? r.translated(1, 1) : r;
  p.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, text());
}

}  // namespace edumac8
