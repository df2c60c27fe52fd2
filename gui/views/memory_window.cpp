#include "views/memory_window.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <mutex>

#include "asm/messages.h"
#include "machine/value_changes.h"
#include "views/grid_font.h"

namespace edumac8 {

// The dump grid: draws its cells through TDataF::DmpGridDrawCell and hands keys and mouse
// events to the window's handlers.
class DumpGridWidget : public QWidget {
 public:
  explicit DumpGridWidget(TDataF& window) : QWidget(&window), window_(window) {
    setObjectName("DmpGrid");
    // Small enough that the dump with its text column fits the narrow left pane.
    QFont dumpFont = GridFont();
    dumpFont.setPixelSize(11);
    setFont(dumpFont);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QFontMetrics metrics(font());
    widths_[0] = metrics.horizontalAdvance(QStringLiteral("  00")) + 3;
    for (int c = 1; c <= 16; ++c) widths_[c] = metrics.horizontalAdvance(QStringLiteral("00")) + 3;
    widths_[kDumpTextColumn] = metrics.horizontalAdvance(QString(16, QLatin1Char('W'))) + 6;
    rowHeight_ = metrics.height() + 2;
    setFixedSize(ColumnLeft(kDumpColumns), kDumpRows * (rowHeight_ + 1));
  }

  QRect CellRect(int row, int column) const {
    return {ColumnLeft(column), row * (rowHeight_ + 1), widths_[column], rowHeight_};
  }

  // The cell under a point, clamped into the grid.
  DumpCell CellAt(QPoint p) const {
    const int row = std::clamp(p.y() / (rowHeight_ + 1), 0, kDumpRows - 1);
    int column = 0;
    while (column < kDumpColumns - 1 && p.x() >= ColumnLeft(column + 1)) ++column;
    return {row, column};
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().mid());  // the grid lines
    for (int row = 0; row < kDumpRows; ++row)
      for (int column = 0; column < kDumpColumns; ++column) {
        const QRect rect = CellRect(row, column);
        if (rect.intersects(event->rect())) window_.DmpGridDrawCell(painter, row, column, rect);
      }
  }

  void keyPressEvent(QKeyEvent* event) override {
    const QString text = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      window_.DmpGridKeyPress(QLatin1Char('\r'));
    } else if (event->key() == Qt::Key_Backspace) {
      window_.DmpGridKeyPress(QLatin1Char('\b'));
    } else if (!text.isEmpty() && text[0].isLetterOrNumber() &&
               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      window_.DmpGridKeyPress(text[0]);
    } else if (!MoveCursor(event)) {
      QWidget::keyPressEvent(event);
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    setFocus();
    if (event->button() == Qt::LeftButton) window_.DmpGridMouseDown(CellAt(event->pos()));
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (event->buttons() & Qt::LeftButton) window_.DmpGridMouseMove(CellAt(event->pos()));
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) window_.DmpGridMouseUp(CellAt(event->pos()));
  }
  void contextMenuEvent(QContextMenuEvent* event) override {
    window_.ContextMenu()->popup(event->globalPos());
  }

 private:
  // Lines part the address column, the bytes and the text; the bytes sit side by side as in
  // a printed dump.
  static int LineAfter(int column) { return column == 0 || column >= 16 ? 1 : 0; }

  int ColumnLeft(int column) const {
    int x = 0;
    for (int c = 0; c < column; ++c) x += widths_[c] + LineAfter(c);
    return x;
  }

  // The grid's own cursor keys; the address and text columns are never entered.
  bool MoveCursor(QKeyEvent* event) {
    DumpCell cell = window_.CurrentCell();
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
      case Qt::Key_Left:
        cell.column = std::max(cell.column - 1, 1);
        break;
      case Qt::Key_Right:
        cell.column = std::min(cell.column + 1, 16);
        break;
      case Qt::Key_Up:
        cell.row = std::max(cell.row - 1, 0);
        break;
      case Qt::Key_Down:
        cell.row = std::min(cell.row + 1, kDumpRows - 1);
        break;
      case Qt::Key_PageUp:
        cell.row = 0;
        break;
      case Qt::Key_PageDown:
        cell.row = kDumpRows - 1;
        break;
      case Qt::Key_Home:
        cell = control ? DumpCell{0, 1} : DumpCell{cell.row, 1};
        break;
      case Qt::Key_End:
        cell = control ? DumpCell{kDumpRows - 1, 16} : DumpCell{cell.row, 16};
        break;
      default:
        return false;
    }
    window_.SetCurrentCell(cell);
    return true;
  }

  TDataF& window_;
  int widths_[kDumpColumns] = {};
  int rowHeight_ = 16;
};

TDataF::TDataF(Workbench& workbench, QWidget* parent)
    : QWidget(parent), workbench_(workbench), errorBox_(ModalErrorBox(this)) {
  setWindowTitle(QStringLiteral("EM 程序"));
  setObjectName("TDataF");
  grid_ = new DumpGridWidget(*this);
  status_ = new QStatusBar(this);
  status_->setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(grid_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch(1);
  layout->addWidget(status_);

  menu_ = new QMenu(this);
  menu_->setObjectName("DmpMenu");
  QAction* change = menu_->addAction(QString());
  change->setObjectName("Change");
  QMenu* showAs = menu_->addMenu(QString());
  showAs->menuAction()->setObjectName("ShowAs");
  auto* views = new QActionGroup(this);
  for (const char* name : {"Byte", "Word", "Longint", "Real"}) {
    QAction* item = showAs->addAction(QString::fromLatin1(name));
    item->setObjectName(QStringLiteral("ShowAs") + (name[0] == 'L' ? "Long" : name));
    item->setCheckable(true);
    views->addAction(item);
    connect(item, &QAction::triggered, this, &TDataF::ShowAsWhatClick);
  }
  connect(menu_, &QMenu::aboutToShow, this, &TDataF::DmpMenuPopup);
  DmpMenuPopup();

  setFocusProxy(grid_);
  RepaintMemory();
}

QWidget* TDataF::Grid() const { return grid_; }

void TDataF::RepaintMemory() {
  // Only the bytes that changed are drawn again; most micro-steps change none.
  const ProgramMemory& em = workbench_.machine.EM;
  const std::bitset<256> marked = CompareMemory(workbench_.control.ChangeBaseline().EM, em);
  for (int a = 0; a < 256; ++a) {
    if (em[a] == shown_[a] && marked[a] == marked_[a]) continue;
    grid_->update(grid_->CellRect(a / 16, a % 16 + 1));
    grid_->update(grid_->CellRect(a / 16, kDumpTextColumn));
  }
  shown_ = em;
  marked_ = marked;
}

void TDataF::SetCurrentCell(DumpCell cell) {
  cell.row = std::clamp(cell.row, 0, kDumpRows - 1);
  cell.column = std::clamp(cell.column, 1, 16);
  // Moving away abandons an edit, so a typed digit never lands in another cell than the
  // one that shows it.
  if (editing_ && !(cell == current_)) AbandonEdit();
  current_ = selStart_ = selEnd_ = cell;
  grid_->update();
}

void TDataF::DmpGridDrawCell(QPainter& painter, int row, int column, const QRect& rect) {
  const QPalette& colours = palette();
  const bool currentRow = row == current_.row;
  const bool currentCell = currentRow && column == current_.column && column >= 1;
  painter.fillRect(rect, currentCell ? colours.base() : colours.button());
  if (currentRow) {
    painter.setPen(Qt::black);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.setPen(colours.base().color());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  }

  QColor ink = colours.text().color();
  const bool byte = column >= 1 && column < kDumpTextColumn;
  if (column == 0) {
    ink = Qt::blue;
  } else if (byte && marked_[DumpAddress({row, column})]) {
    // What the last step or refresh wrote.
    painter.fillRect(rect.adjusted(1, 1, -1, -1), QColor(0xFF, 0xE0, 0x80));
    ink = QColor(0xB0, 0x00, 0x00);
  } else if (byte && InDumpSelection(selStart_, selEnd_, row, column)) {
    ink = QColor(0, 0, 128);  // navy
  }
  const QString text = editing_ && editCell_ == DumpCell{row, column}
                           ? editBuffer_
                           : QString::fromStdString(DumpCellText(shown_, row, column));
  painter.setPen(ink);
  painter.drawText(rect.adjusted(byte ? 0 : 2, 0, 0, 0),
                   (byte ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, text);
}

void TDataF::DmpGridKeyPress(QChar key) {
  ClearStatus();
  if (key == QLatin1Char('\r')) {
    if (editing_) Commit();
    return;
  }
  if (key == QLatin1Char('\b')) {
    if (editing_ && !editBuffer_.isEmpty()) editBuffer_.chop(1);
    grid_->update();
    return;
  }
  if (!key.isLetterOrNumber()) return;
  if (!editing_) {
    editing_ = true;
    editBuffer_.clear();
    editCell_ = current_;
  }
  editBuffer_ += key;
  grid_->update();
  if (editBuffer_.size() >= 2) Commit();
}

void TDataF::Commit() {
  const QString typed = editBuffer_;
  AbandonEdit();
  const std::optional<std::uint8_t> value = ParseDumpEntry(typed.toStdString());
  if (!value) {
    errorBox_(QString::fromStdString(MessageText(308)) + " \"" + typed + "\"");
    return;
  }
  Machine& m = workbench_.machine;
  {
    // A run in progress finishes its micro-step first; the next one starts from the edit.
    std::lock_guard outer(workbench_.control.OuterLock);
    std::lock_guard inner(workbench_.control.InnerLock);
    // The byte goes into the state the next step starts from. Copying the whole live EM there
    // instead would bring back an older record's memory after a look back in the trace.
    const int address = DumpAddress(current_);
    m.EM[address] = m.CurrentRecord.EM[address] = shown_[address] = *value;
  }
  SetCurrentCell(AdvanceDumpCursor(current_));
}

void TDataF::AbandonEdit() {
  editing_ = false;
  editBuffer_.clear();
  grid_->update();
}

void TDataF::ClearStatus() { status_->clearMessage(); }

void TDataF::DmpGridMouseDown(DumpCell cell) {
  ClearStatus();
  AbandonEdit();
  // The address and text columns never become current.
  if (cell.column >= 1 && cell.column <= 16) current_ = cell;
  selStart_ = selEnd_ = cell;
  grid_->update();
}

void TDataF::DmpGridMouseMove(DumpCell cell) {
  selEnd_ = cell;
  grid_->update();
}

void TDataF::DmpGridMouseUp(DumpCell cell) { DmpGridMouseMove(cell); }

void TDataF::DmpMenuPopup() {
  menu_->findChild<QAction*>("Change")->setText(QString::fromStdString(MessageText(614)));
  for (QAction* action : menu_->actions())
    if (action->objectName() == "ShowAs") action->setText(QString::fromStdString(MessageText(864)));
  findChild<QAction*>("ShowAsByte")->setChecked(true);
}

void TDataF::ShowAsWhatClick() {
  AbandonEdit();
  findChild<QAction*>("ShowAsByte")->setChecked(true);
  selStart_ = selEnd_ = current_;
  grid_->update();
}

}  // namespace edumac8
