// TLAForm, the logic analyser "逻辑分析": the samples of the trace history as a timing diagram,
// one row per channel, a bus with its values or eight bit lines. The user zooms, scrolls,
// drags the cursor "Cur", widens the name column and expands rows; every mouse release makes
// the record under the cursor the one that the trace and micro-program windows show.
//
// The samples, the rows' cells and the view's state live in the core (la/); this window draws
// them in paintEvent and forwards the mouse. A capture only asks for a repaint, so several
// captures in one command cost one paint.
#pragma once

#include <QImage>
#include <QVector>
#include <QWidget>

#include "la/la_cells.h"
#include "la/la_channels.h"
#include "la/la_samples.h"
#include "la/la_view.h"
#include "la/vcd_writer.h"
#include "workbench/workbench.h"

class QMenu;
class QScrollBar;
class QToolButton;

namespace edumac8 {

class TMANForm;

class TLAForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kToolBarWidth = 81;
  static constexpr int kToolBarHeight = 28;

  TLAForm(Workbench& workbench, TMANForm& form, QWidget* parent = nullptr);

  // The capture after a step, a run, a reset or an assembly and at start-up: samples from the
  // history, the cursor on the newest sample with the view following it, a repaint. While a
  // run is in progress the caller holds OuterLock and InnerLock.
  void BuildLAChannels();
  // Cursor and view back to sample 0; reset and assembly call it before the capture.
  void ResetLAView();
  // The view follows the cursor (HBar with it).
  void m01Click();

  void SpeedButton14Click();  // "Zoom in"
  void SpeedButton15Click();  // "Zoom out"
  void SpeedButton16Click();  // "Zoom All"
  // What a double-click on a row's name does: a bus expands into its bits, bit lines collapse.
  void ToggleChannel(int k);
  // The context menu's exports: asks for a file name, writes the displayed samples.
  void ExportVcd(VcdForm form);

  LAView& View() { return view_; }
  const LASamples& Samples() const { return samples_; }
  const LAChannelTable& Channels() const { return channels_; }
  QScrollBar* VBar() const { return vbar_; }
  QScrollBar* HBar() const { return hbar_; }
  QWidget* ToolBar1() const { return toolBar_; }
  QToolButton* SpeedButton(int number) const;  // 14, 15 or 16
  QMenu* PopupMenu() const { return menu_; }
  // Shape1: where the overview strip is shown.
  QRect OverviewRect() const { return shape1_; }
  // The drawing bitmap and the overview strip as last painted.
  const QImage& DrawingBitmap() const { return drawing_; }
  const QImage& OverviewBitmap() const { return overview_; }

  QSize sizeHint() const override { return {600, 400}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateControls();
  void FormResize();
  void UpdateVBarRange();
  // The drawing bitmap is out of date: it is redrawn at the next paint.
  void Redraw();
  // The record under the cursor becomes the one the trace and micro-program windows show.
  void ShowCursorRecord();
  void UpdateMenu();

  // Drawing, into the bitmaps (tla_form_paint.cpp).
  void DrawBmpPaint();
  void DrawMarks(QPainter& p);
  void DrawTraces(QPainter& p);
  void DrawBusRow(QPainter& p, int k);
  void DrawBitLines(QPainter& p, int k);
  void DrawName(QPainter& p, int baseLine, const QColor& colour, const QString& text);

  Workbench& workbench_;
  TMANForm& form_;
  LAChannelTable channels_ = InitLAChannels();
  LASamples samples_;
  LAView view_;
  LACellList cells_;

  QScrollBar* vbar_ = nullptr;
  QScrollBar* hbar_ = nullptr;
  QWidget* toolBar_ = nullptr;
  QToolButton* zoomIn_ = nullptr;
  QToolButton* zoomOut_ = nullptr;
  QToolButton* zoomAll_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* exportVcd_ = nullptr;
  QAction* exportVcdBits_ = nullptr;
  QRect shape1_;

  QImage drawing_;
  QImage overview_;
  bool drawingValid_ = false;
  // Reused by every row: two lines per bus row, one per bit line.
  QVector<QPoint> upper_, lower_;
  int textWidth_ = 0;   // of "EE"
  int textHeight_ = 0;  // of "H"
  int textAscent_ = 0;
};

}  // namespace edumac8
