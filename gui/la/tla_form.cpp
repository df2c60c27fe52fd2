#include "la/tla_form.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <mutex>

#include "la/zoom_icons.h"
#include "platform/paths.h"
#include "ui/code_font.h"
#include "ui/tman_form.h"
#include "views/micro_program_window.h"
#include "views/run_lock.h"
#include "views/trace_window.h"

namespace edumac8 {
namespace {

constexpr int kSpeedButtonSize = 25;
constexpr int kVBarSingleStep = 5;
// Enough sample area for every name width and zoom level.
constexpr int kMinSampleArea = 64;
constexpr int kMinHeight = 120;
const char* const kVcdFilter = "VCD files (*.VCD)|*.VCD";

}  // namespace

TLAForm::TLAForm(Workbench& workbench, TMANForm& form, QWidget* parent)
    : QWidget(parent), workbench_(workbench), form_(form) {
  setObjectName("TLAForm");
  setWindowTitle("逻辑分析");
  setFont(CodeFont());
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  const QFontMetrics metrics(font());
  textWidth_ = metrics.horizontalAdvance("EE");
  textHeight_ = metrics.height();
  textAscent_ = metrics.ascent();
  CreateControls();
  LayOutRows(channels_);
  resize(sizeHint());
}

void TLAForm::CreateControls() {
  vbar_ = new QScrollBar(Qt::Vertical, this);
  vbar_->setObjectName("VBar");
  vbar_->setSingleStep(kVBarSingleStep);
  connect(vbar_, &QScrollBar::valueChanged, this, [this](int position) {  // VBarChange
    view_.VOffset = -position;
    Redraw();
  });
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  hbar_->setObjectName("HBar");
  hbar_->setRange(0, LAView::kMaxViewStart);
  connect(hbar_, &QScrollBar::valueChanged, this, [this](int position) {  // HBarChange
    view_.ViewStart = position;
    Redraw();
  });

  toolBar_ = new QWidget(this);
  toolBar_->setObjectName("ToolBar1");
  toolBar_->setFixedSize(kToolBarWidth, kToolBarHeight);
  const auto button = [this](const char* name, const char* hint, ZoomIcon icon, int x,
                             void (TLAForm::*handler)()) {
    auto* b = new QToolButton(toolBar_);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIcon(ZoomButtonIcon(icon));
    b->setIconSize(QSize(kSpeedButtonSize - 6, kSpeedButtonSize - 6));
    b->setAutoRaise(true);
    b->setGeometry(x, (kToolBarHeight - kSpeedButtonSize) / 2, kSpeedButtonSize, kSpeedButtonSize);
    connect(b, &QToolButton::clicked, this, handler);
    return b;
  };
  zoomIn_ = button("SpeedButton14", "Zoom in", ZoomIcon::In, 3, &TLAForm::SpeedButton14Click);
  zoomOut_ = button("SpeedButton15", "Zoom out", ZoomIcon::Out, 28, &TLAForm::SpeedButton15Click);
  zoomAll_ = button("SpeedButton16", "Zoom All", ZoomIcon::All, 53, &TLAForm::SpeedButton16Click);

  menu_ = new QMenu(this);
  menu_->setObjectName("PopupMenu");
  exportVcd_ = menu_->addAction("导出 VCD 文件…", this, [this] { ExportVcd(VcdForm::Vectors); });
  exportVcd_->setObjectName("ExportVcd");
  exportVcdBits_ =
      menu_->addAction("导出 VCD 文件(逐位)…", this, [this] { ExportVcd(VcdForm::Bits); });
  exportVcdBits_->setObjectName("ExportVcdBits");
  UpdateMenu();

  const int vbarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  setMinimumSize(LAView::kMaxNameWidth + 8 + kMinSampleArea + vbarWidth + 1, kMinHeight);
}

QToolButton* TLAForm::SpeedButton(int number) const {
  switch (number) {
    case 14:
      return zoomIn_;
    case 15:
      return zoomOut_;
    case 16:
      return zoomAll_;
    default:
      return nullptr;
  }
}

void TLAForm::Redraw() {
  drawingValid_ = false;
  update();
}

void TLAForm::BuildLAChannels() {
  const int count = samples_.Capture(workbench_.machine, workbench_.control.Simulation);
  // An empty history leaves no sample to stand on: the cursor stays at the first.
  view_.CursorSample = std::max(count - 1, 0);
  m01Click();
  samples_.CopyToDisplay();
  UpdateMenu();
  Redraw();
}

void TLAForm::ResetLAView() {
  view_.ResetView();
  hbar_->setValue(0);
  Redraw();
}

void TLAForm::m01Click() {
  // HBar goes along, or the next scroll would jump back to where it was left.
  if (view_.Follow()) hbar_->setValue(view_.ViewStart);
  Redraw();
}

void TLAForm::UpdateMenu() {
  const bool any = samples_.LASampleCount() > 0;
  exportVcd_->setEnabled(any);
  exportVcdBits_->setEnabled(any);
}

void TLAForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TLAForm::FormResize() {
  const int vbarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int hbarHeight = vbarWidth;
  const int w = width(), h = height();
  toolBar_->move(0, h - kToolBarHeight);
  const QSize bitmap(std::max(w - vbarWidth - 1, 1), std::max(h - kToolBarHeight - 1, 1));
  if (drawing_.size() != bitmap) {
    drawing_ = QImage(bitmap, QImage::Format_RGB32);
    cells_.SizeFor(bitmap.width());
    // A bus row turns at most three times per cell, a bit line twice.
    const int points = 3 * (bitmap.width() + 2) + 2;
    upper_.resize(points);
    lower_.resize(points);
  }
  view_.Resize(bitmap.width(), bitmap.height());
  vbar_->setGeometry(w - vbarWidth, 0, vbarWidth, bitmap.height());
  UpdateVBarRange();
  hbar_->setGeometry(kToolBarWidth, h - kToolBarHeight, std::max(w - kToolBarWidth - vbarWidth, 0),
                     hbarHeight);
  const double page = double(view_.SampleAreaWidth()) * hbar_->width() /
                      (LASamples::kSamplesPerChannel * view_.PixelScale);
  hbar_->setPageStep(std::max(1, static_cast<int>(std::lround(page))));
  shape1_ = QRect(hbar_->x() + 15, hbar_->y() + hbarHeight + 3, std::max(hbar_->width() - 30, 1),
                  std::max(kToolBarHeight - hbarHeight - 6, 1));
  if (overview_.size() != shape1_.size()) overview_ = QImage(shape1_.size(), QImage::Format_RGB32);
  Redraw();
}

void TLAForm::UpdateVBarRange() {
  // Room to scroll down to the last row, however many rows are expanded.
  const int rowsHeight = LayOutRows(channels_);
  vbar_->setRange(0, std::max(0, rowsHeight - view_.VisibleBottom()));
  vbar_->setPageStep(std::max(1, view_.Rows * 10));
}

void TLAForm::SpeedButton14Click() {
  if (view_.ZoomIn()) FormResize();
}

void TLAForm::SpeedButton15Click() {
  if (view_.ZoomOut()) FormResize();
}

void TLAForm::SpeedButton16Click() {
  view_.ZoomAll();
  hbar_->setValue(view_.ViewStart);
  FormResize();
}

void TLAForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || event->buttons() != Qt::LeftButton ||
      event->modifiers() != Qt::NoModifier)
    return;
  const QPoint at = event->position().toPoint();
  if (view_.Press(at.x(), at.y()) == LAView::Drag::ZoomBox) update();
}

void TLAForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  setCursor(view_.OnNameBorder(at.x(), at.y()) ? Qt::SplitHCursor : Qt::ArrowCursor);
  if (view_.InNameColumn(at.x(), at.y())) {
    // Waits for a step in progress to finish.
    { std::lock_guard lock(workbench_.control.OuterLock); }
    Redraw();
  }
  const bool left = event->buttons().testFlag(Qt::LeftButton);
  const LAView::Drag drag = view_.Dragging();
  view_.Move(at.x(), at.y(), left);
  if (!left) return;
  switch (drag) {
    case LAView::Drag::Names:
      FormResize();
      break;
    case LAView::Drag::Cursor:
      Redraw();
      break;
    case LAView::Drag::ZoomBox:
      update();
      break;  // only the box on top moves
    case LAView::Drag::None:
      break;
  }
}

void TLAForm::mouseReleaseEvent(QMouseEvent* /*event*/) {
  const LAView::Drag ended = view_.Dragging();
  view_.Release();
  if (ended == LAView::Drag::ZoomBox) {
    hbar_->setValue(view_.ViewStart);
    FormResize();
  } else if (ended != LAView::Drag::None) {
    Redraw();
  }
  ShowCursorRecord();
}

void TLAForm::ShowCursorRecord() {
  TuTRCF* trace = form_.uTRCF();
  TuMF* micro = form_.uMF();
  // The worker steps the machine during a run; this waits for the step in progress.
  RunLock lock(workbench_.control);
  Machine& m = workbench_.machine;
  const std::optional<int> record =
      RecordAtCursor(view_.CursorSample, samples_.LASampleCount(), m.history.Count());
  if (!record || !trace || !micro) return;
  trace->SelectGridRow(*record + 1);
  m.RestoreFrom(m.history[*record]);
  const std::uint8_t upc = m.state[Field::uPC];
  // Grid row u + 1 shows micro-address u: its bit boxes then edit that word.
  micro->SelectGridRow(upc + 1);
  micro->ShowMicroWord(upc);
  m.LoadMicroWord(m.uM[upc]);
  trace->ShowTraceWord();
  trace->update();
  micro->update();
}

void TLAForm::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
  if (const std::optional<int> k = view_.ChannelAt(channels_, view_.LastX(), view_.LastY()))
    ToggleChannel(*k);
}

void TLAForm::ToggleChannel(int k) {
  ToggleShowAsBus(channels_[k]);
  UpdateVBarRange();
  Redraw();
}

void TLAForm::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    const int delta = event->angleDelta().y();
    if (delta > 0)
      SpeedButton14Click();
    else if (delta < 0)
      SpeedButton15Click();
    event->accept();
    return;
  }
  QApplication::sendEvent(vbar_, event);
}

void TLAForm::contextMenuEvent(QContextMenuEvent* event) {
  UpdateMenu();
  menu_->exec(event->globalPos());
}

void TLAForm::ExportVcd(VcdForm form) {
  if (samples_.LASampleCount() == 0) return;
  const std::string& source = workbench_.control.SourcePath;
  const QString proposed =
      QString::fromStdString(source.empty() ? "EDUMAC8.VCD" : DerivedPath(source, ".VCD"));
  const QString title = form == VcdForm::Bits ? "导出 VCD 文件(逐位)" : "导出 VCD 文件";
  QString path = form_.Dialogs().SaveFileName(this, title, kVcdFilter, proposed);
  if (path.isEmpty()) return;
  if (Extension(path.toStdString()).empty()) path += ".VCD";
  if (const auto error = WriteVcdFile(path.toStdString(), samples_, form))
    form_.Dialogs().Error(this, QString::fromStdString(*error));
}

}  // namespace edumac8
