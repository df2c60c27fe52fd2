#include "views/micro_word_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "views/frozen_columns_view.h"
#include "views/grid_font.h"
#include "views/grid_text_delegate.h"
#include "views/run_lock.h"

namespace edumac8 {
namespace {

constexpr int kRowHeight = 18;
constexpr int kFixedColumns = 3;  // mnemonic, state, micro-address
constexpr int kColumnWidths[MicroGridModel::kColumns] = {106, 29, 40, 42, 119, 119,
                                                         108, 77, 64, 33, 32};

}  // namespace

MicroWordWindow::MicroWordWindow(Workbench& workbench, const QString& caption, QWidget* parent)
    : QWidget(parent), workbench_(workbench), model_(new MicroGridModel(this)) {
  setWindowTitle(caption);

  auto* grid = new FrozenColumnsView(kFixedColumns, this);
  grid_ = grid;
  grid_->setObjectName("uMGrid");
  grid_->setModel(model_);
  grid->setItemDelegate(new GridTextDelegate(grid_));
  grid_->setFont(GridFont());
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  grid_->setTextElideMode(Qt::ElideNone);
  grid_->setCornerButtonEnabled(false);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionsMovable(true);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setFixedHeight(kRowHeight + 2);
  for (int c = 0; c < MicroGridModel::kColumns; ++c) grid_->setColumnWidth(c, kColumnWidths[c]);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            if (selectingByProgram_) {
              uMGridSelectCell(current.row() + 1);  // the caller holds what it needs
            } else {
              RunLock lock(workbench_.control);
              uMGridSelectCell(current.row() + 1);
            }
          });

  bits_ = new MicroWordBitPanel(this);
  connect(bits_, &MicroWordBitPanel::bitClicked, this, [this](int bit, bool checked) {
    RunLock lock(workbench_.control);
    MMClick(bit, checked);
  });
  registers_ = new RegisterPanel(this);

  auto* left = new QVBoxLayout;
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(0);
  left->addWidget(grid_, 1);
  left->addWidget(bits_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(left, 1);
  layout->addWidget(registers_);
}

void MicroWordWindow::SetDiagramHook(std::function<void()> decodeAndRedraw) {
  decodeAndRedraw_ = std::move(decodeAndRedraw);
}

int MicroWordWindow::CurrentGridRow() const {
  const QModelIndex current = grid_->currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void MicroWordWindow::SelectGridRow(int r) {
  const int column = std::max(grid_->currentIndex().column(), 0);
  const QModelIndex index = model_->index(r - 1, column);
  selectingByProgram_ = true;
  grid_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  selectingByProgram_ = false;
  ScrollToCurrentRow();
}

void MicroWordWindow::ScrollToCurrentRow() {
  if (!grid_->isVisible()) {
    scrollWhenShown_ = true;
    return;
  }
  grid_->scrollTo(grid_->currentIndex());
}

void MicroWordWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!scrollWhenShown_) return;
  scrollWhenShown_ = false;
  // After the layout has given the grid its size: as if it had followed every selection.
  QTimer::singleShot(0, this, [this] {
    grid_->scrollToTop();
    grid_->scrollTo(grid_->currentIndex());
  });
}

void MicroWordWindow::ShowCurrentWordAndRegisters(const MachineState& before) {
  bits_->ShowWord(workbench_.machine.CurrentMicroWord());
  registers_->ShowState(workbench_.machine.state, before);
}

void MicroWordWindow::DecodeAndRedrawIfAnimating() {
  if (workbench_.control.AnimationEnabled && decodeAndRedraw_) decodeAndRedraw_();
}

}  // namespace edumac8
