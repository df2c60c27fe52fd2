// Paints the cells of the grids as plain one-line text. The grids repaint after every
// micro-step and show few distinct texts, so each text is laid out once and kept: the
// standard delegate lays out every cell anew on every paint, which costs milliseconds per
// refresh.
#pragma once

#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace edumac8 {

class GridTextDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit GridTextDelegate(QObject* parent = nullptr);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  const QStaticText& Laid(const QString& text, const QFont& font) const;

  mutable QHash<QString, QStaticText> texts_;
  mutable QFont font_;
};

}  // namespace edumac8
