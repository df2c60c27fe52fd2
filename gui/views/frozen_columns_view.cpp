#include "views/frozen_columns_view.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>

namespace edumac8 {

FrozenColumnsView::FrozenColumnsView(int frozenColumns, QWidget* parent)
    : QTableView(parent), frozenColumns_(frozenColumns), frozen_(new QTableView(this)) {
  frozen_->setObjectName("FixedColumns");
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->verticalHeader()->hide();
  frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->setEditTriggers(NoEditTriggers);
  viewport()->stackUnder(frozen_);
  // Sideways by pixels, so the columns slide out from under the fixed part; down by whole
  // rows, so the top row is never cut.
  setHorizontalScrollMode(ScrollPerPixel);

  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int logical, int, int size) {
            if (logical < frozenColumns_) {
              frozen_->setColumnWidth(logical, size);
              PlaceFrozen();
            }
          });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
          &FrozenColumnsView::KeepFixedColumnsInPlace);
  // The main view leads the vertical scrolling; the wheel over the fixed part scrolls it too.
  connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
          &QScrollBar::setValue);
  frozen_->viewport()->installEventFilter(this);
  // Unscrolled, the fixed columns are in their places anyway; the cover is only needed (and
  // only paid for) while the grid is scrolled sideways.
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int sideways) {
    if (sideways > 0) PlaceFrozen();
    frozen_->setVisible(sideways > 0);
  });
}

bool FrozenColumnsView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == frozen_->viewport() && event->type() == QEvent::Wheel) {
    QCoreApplication::sendEvent(viewport(), event);
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

void FrozenColumnsView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  frozen_->setModel(model);
  frozen_->setSelectionModel(selectionModel());
  for (int c = frozenColumns_; c < model->columnCount(); ++c) frozen_->setColumnHidden(c, true);
  frozen_->setVisible(horizontalScrollBar()->value() > 0);
  CopyLook();
  PlaceFrozen();
}

void FrozenColumnsView::setItemDelegate(QAbstractItemDelegate* delegate) {
  QTableView::setItemDelegate(delegate);
  frozen_->setItemDelegate(delegate);
}

int FrozenColumnsView::FrozenWidth() const {
  int width = 0;
  for (int c = 0; c < frozenColumns_; ++c) width += columnWidth(c);
  return width;
}

void FrozenColumnsView::CopyLook() {
  // Same font, selection look and row height as the view it covers.
  frozen_->setFont(font());
  frozen_->setSelectionBehavior(selectionBehavior());
  frozen_->setSelectionMode(selectionMode());
  frozen_->setWordWrap(wordWrap());
  frozen_->setTextElideMode(textElideMode());
  frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  QHeaderView* header = frozen_->horizontalHeader();
  header->setDefaultAlignment(horizontalHeader()->defaultAlignment());
  header->setHighlightSections(false);
  header->setMinimumSectionSize(horizontalHeader()->minimumSectionSize());
  header->setFixedHeight(horizontalHeader()->height());
}

void FrozenColumnsView::PlaceFrozen() {
  for (int c = 0; c < frozenColumns_; ++c)
    if (frozen_->columnWidth(c) != columnWidth(c)) frozen_->setColumnWidth(c, columnWidth(c));
  const QRect place(frameWidth(), frameWidth(), FrozenWidth(),
                    viewport()->height() + horizontalHeader()->height());
  if (frozen_->geometry() != place) frozen_->setGeometry(place);
  frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void FrozenColumnsView::showEvent(QShowEvent* event) {
  QTableView::showEvent(event);
  CopyLook();
  PlaceFrozen();
}

void FrozenColumnsView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  PlaceFrozen();
}

void FrozenColumnsView::updateGeometries() {
  QTableView::updateGeometries();
  if (frozen_) PlaceFrozen();
}

QModelIndex FrozenColumnsView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = QTableView::moveCursor(action, modifiers);
  // A cell that would lie under the fixed columns is scrolled out from under them.
  if (action == MoveLeft && current.column() >= frozenColumns_ &&
      visualRect(current).topLeft().x() < FrozenWidth()) {
    const int offset = visualRect(current).topLeft().x() - FrozenWidth();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + offset);
  }
  return current;
}

void FrozenColumnsView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  // A cell of the fixed columns is always in sight sideways: only its row is scrolled to.
  if (index.column() >= frozenColumns_) {
    QTableView::scrollTo(index, hint);
    return;
  }
  QScrollBar* bar = horizontalScrollBar();
  const QSignalBlocker keepSideways(bar);  // the contents never see the sideways detour
  const int sideways = bar->value();
  QTableView::scrollTo(index, hint);
  bar->setValue(sideways);
}

void FrozenColumnsView::KeepFixedColumnsInPlace(int logical, int oldVisual, int newVisual) {
  if (logical >= frozenColumns_ && newVisual >= frozenColumns_) return;
  QHeaderView* header = horizontalHeader();
  const QSignalBlocker block(header);
  header->moveSection(newVisual, oldVisual);
}

}  // namespace edumac8
