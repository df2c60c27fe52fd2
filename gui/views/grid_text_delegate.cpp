#include "views/grid_text_delegate.h"

#include <QPainter>

namespace edumac8 {
namespace {

constexpr int kPadding = 3;
constexpr qsizetype kMaxKept = 4096;  // the grids show a few hundred distinct texts

}  // namespace

GridTextDelegate::GridTextDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

const QStaticText& GridTextDelegate::Laid(const QString& text, const QFont& font) const {
  if (font != font_ || texts_.size() > kMaxKept) {
    texts_.clear();
    font_ = font;
  }
  auto it = texts_.find(text);
  if (it == texts_.end()) {
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.setPerformanceHint(QStaticText::AggressiveCaching);
    laid.prepare(QTransform(), font);
    it = texts_.insert(text, laid);
  }
  return *it;
}

void GridTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette::ColorGroup group =
      option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
  if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
  const QString text = index.data(Qt::DisplayRole).toString();
  if (text.isEmpty()) return;
  const QStaticText& laid = Laid(text, option.font);
  painter->save();
  painter->setClipRect(option.rect);
  painter->setFont(option.font);
  painter->setPen(
      option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  const qreal top = option.rect.top() + (option.rect.height() - laid.size().height()) / 2;
  painter->drawStaticText(QPointF(option.rect.left() + kPadding, top), laid);
  painter->restore();
}

}  // namespace edumac8
