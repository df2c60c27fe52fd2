// TStruc, the graphic help "图示帮助": the box's datapath blocks, its wiring pins and the 24
// micro-word switches. It steps through the selected experiment's wiring steps (a green wire
// between two red pins) and operating steps (switch positions), with each step's text in the
// navy status line, and opens the experiment's texts and pictures.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "diagram/diagram_canvas.h"
#include "diagram/graphic_help.h"
#include "workbench/workbench.h"

namespace edumac8 {

// pbHost: the drawing of the graphic help.
class GraphicHelpCanvas : public DiagramCanvas {
  Q_OBJECT

 public:
  GraphicHelpCanvas(const GraphicHelp& help, QWidget* parent);

  // The pin under a point of the page, -1 for none.
  int PinUnder(QPoint point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // A pin's hint names the signal it carries and its block.
  bool event(QEvent* event) override;

 private:
  void PaintSwitches(QPainter& p) const;
  void PaintArrow(QPainter& p, int pin, Arrow arrow) const;
  void PaintPins(QPainter& p) const;

  const GraphicHelp& help_;
};

class TStruc : public QWidget {
  Q_OBJECT

 public:
  TStruc(Workbench& workbench, GuideWindowsSource guide, QWidget* parent = nullptr);

  void sbSelectClick();
  void EX_TXTClick(int tag);  // 1 requirements, 2 purpose, 3 description
  void EX_JPGClick(int tag);  // 4 circuit, 5 timing
  void sbCBClick();
  void sbCFClick();
  void sbBACKClick();
  void sbFWDClick();

  const GraphicHelp& Help() const { return help_; }
  GraphicHelpCanvas* pbHost() const { return pbHost_; }
  QLabel* plOper() const { return plOper_; }

 private:
  QPushButton* AddButton(const char* name, const QString& caption, int tag);
  // Buttons, status line and drawing after the model changed.
  void ShowState();

  Workbench& workbench_;
  GuideWindowsSource guide_;
  GraphicHelp help_;
  GraphicHelpCanvas* pbHost_ = nullptr;
  QLabel* plOper_ = nullptr;
  QWidget* buttonRow_ = nullptr;
};

}  // namespace edumac8
