// A table view whose first columns stay in place when the others scroll sideways, as the
// fixed columns of the micro-word grids do. While the view is scrolled sideways a second view
// laid over the left edge shows those columns; it shares the model, the selection and the
// vertical scrolling with the main view.
// The fixed columns cannot be moved, and no other column can be moved among them.
#pragma once

#include <QTableView>

namespace edumac8 {

class FrozenColumnsView : public QTableView {
  Q_OBJECT

 public:
  FrozenColumnsView(int frozenColumns, QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  void setItemDelegate(QAbstractItemDelegate* delegate);
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void updateGeometries() override;

 private:
  int FrozenWidth() const;
  void CopyLook();
  void PlaceFrozen();
  void KeepFixedColumnsInPlace(int logical, int oldVisual, int newVisual);

  int frozenColumns_;
  QTableView* frozen_;
};

}  // namespace edumac8
