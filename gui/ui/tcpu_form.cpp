#include "ui/tcpu_form.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTimer>

#include "asm/messages.h"
#include "isa/disassembler.h"
#include "ui/code_font.h"

namespace edumac8 {
namespace {

const QColor kTextColour(0x00, 0x00, 0x00);
const QColor kSecondColour(0x80, 0x80, 0x80);
const QColor kProgramCounterColour(0x1E, 0x50, 0xA0);
const QColor kBackgroundColour(0xFF, 0xFF, 0xF8);
const QColor kMarginColour(0xEC, 0xEC, 0xE8);
const QColor kArrowColour(0xD0, 0x30, 0x20);
const QColor kBreakpointColour(0xD0, 0x20, 0x20);

void DrawArrow(QPainter& p, const QRect& cell) {
  const qreal h = cell.height() * 0.6;
  const qreal x0 = cell.left() + 2, x1 = cell.right() - 1;
  const qreal yc = cell.center().y() + 0.5;
  QPainterPath arrow;
  arrow.moveTo(x0, yc - h / 4);
  arrow.lineTo(x1 - h / 2, yc - h / 4);
  arrow.lineTo(x1 - h / 2, yc - h / 2);
  arrow.lineTo(x1, yc);
  arrow.lineTo(x1 - h / 2, yc + h / 2);
  arrow.lineTo(x1 - h / 2, yc + h / 4);
  arrow.lineTo(x0, yc + h / 4);
  arrow.closeSubpath();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillPath(arrow, kArrowColour);
  p.setRenderHint(QPainter::Antialiasing, false);
}

// The left half of the margin: the breakpoint at the line's address.
void DrawBreakpoint(QPainter& p, const QRect& cell) {
  const int d = std::min(cell.width(), cell.height()) - 4;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(kBreakpointColour);
  p.drawEllipse(QRectF(cell.center().x() - d / 2.0 + 0.5, cell.center().y() - d / 2.0 + 0.5, d, d));
  p.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace

TCPUForm::TCPUForm(Workbench& workbench, QWidget* parent)
    : QAbstractScrollArea(parent), workbench_(workbench) {
  setObjectName("TCPUForm");
  setWindowTitle(QString::fromStdString(MessageText(861)));
  viewport()->setObjectName("DASMemo");
  setFont(CodeFont());
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(1);
  ResetAddressCache();
  UpdateScrollRange();
}

int TCPUForm::LineHeight() const { return fontMetrics().height() + 1; }

int TCPUForm::VisibleLines() const { return std::max(1, viewport()->height() / LineHeight()); }

int TCPUForm::TopLine() const { return verticalScrollBar()->value() + 1; }

void TCPUForm::UpdateScrollRange() {
  const int visible = VisibleLines();
  verticalScrollBar()->setRange(0, std::max(0, kLines - visible));
  verticalScrollBar()->setPageStep(visible);
}

void TCPUForm::ScrollLineToTop(int line) {
  scrollingItself_ = true;
  verticalScrollBar()->setValue(line - 1);
  scrollingItself_ = false;
}

const ProgramMemory& TCPUForm::ShownMemory() {
  if (workbench_.control.MachineReadable()) shown_ = workbench_.machine.EM;
  return shown_;
}

void TCPUForm::ShowAddress(std::uint8_t address, bool scroll) {
  const bool rebuilt = cache_.Show(address, ShownMemory(), workbench_.isa.OpLengthTable);
  if (!open_ || !scroll) return;
  if (rebuilt) {
    autoScrolled_ = false;
    ScrollLineToTop(address + 1);
  }
  viewport()->update();
}

int TCPUForm::LineAddress(int line) {
  int scrollTo = -1;
  const int address =
      cache_.LineAddress(line, ShownMemory(), workbench_.isa.OpLengthTable, &scrollTo);
  if (scrollTo >= 0 && !autoScrolled_) {
    autoScrolled_ = true;
    // Painting must not scroll under its own feet: the scroll follows the paint.
    QTimer::singleShot(0, this, [this, scrollTo] {
      ScrollLineToTop(scrollTo + 1);
      viewport()->update();
    });
  }
  return address;
}

QString TCPUForm::LineText(int line) { return TextAt(LineAddress(line)); }

QString TCPUForm::TextAt(int address) const {
  if (address == DisassemblyAddressCache::kBlank) return {};
  QString text = QString::fromStdString(
      DisassembleAt(workbench_.isa, shown_, static_cast<std::uint8_t>(address)).text);
  text = text.leftJustified(kTextColumns, ' ', true);
  if (!workbench_.assembler.AssembledOK()) text += ' ';
  return text + ' ';
}

void TCPUForm::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const int width = viewport()->width();
  const int lineHeight = LineHeight();
  p.fillRect(viewport()->rect(), kBackgroundColour);
  p.fillRect(QRect(0, 0, kMarginWidth, viewport()->height()), kMarginColour);
  p.setFont(font());
  const int ascent = fontMetrics().ascent();
  const int charWidth = fontMetrics().horizontalAdvance('0');
  const int pc = static_cast<int>(workbench_.machine.InstrAddr);
  const BreakpointSet& breakpoints = workbench_.control.Breakpoints();
  const int top = TopLine();
  const int count = std::min(VisibleLines() + 1, kLines - top + 1);
  for (int i = 0; i < count; ++i) {
    const int line = top + i;
    const int address = LineAddress(line);
    const QString text = TextAt(address);
    const QRect row(0, i * lineHeight, width, lineHeight);
    const int x = kMarginWidth + 4;
    const int baseline = row.top() + ascent;
    if (address != DisassemblyAddressCache::kBlank && breakpoints[address & 0xFF])
      DrawBreakpoint(p, QRect(0, row.top(), kMarginWidth / 2, lineHeight));
    if (address == pc) {
      p.fillRect(row.adjusted(kMarginWidth, 0, 0, 0), kProgramCounterColour);
      DrawArrow(p, QRect(kMarginWidth / 2, row.top(), kMarginWidth / 2, lineHeight));
      p.setPen(Qt::white);
      p.drawText(x, baseline, text);
      continue;
    }
    p.setPen(kTextColour);
    p.drawText(x, baseline, text.left(kTextColumns));
    p.setPen(kSecondColour);
    p.drawText(x + charWidth * kTextColumns, baseline, text.mid(kTextColumns));
  }
}

void TCPUForm::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  autoScrolled_ = false;
  UpdateScrollRange();
}

void TCPUForm::scrollContentsBy(int, int) {
  if (!scrollingItself_) autoScrolled_ = false;
  viewport()->update();
}

void TCPUForm::closeEvent(QCloseEvent* event) {
  open_ = false;
  QAbstractScrollArea::closeEvent(event);
}

}  // namespace edumac8
