// The main window's run additions: the run speed (run menu and toolbar), run to the cursor,
// and the views' refresh while a run at full speed is in progress.
#include <Qsci/qsciscintilla.h>

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include "ui/tman_form.h"
#include "ui/tsrc_form.h"

namespace edumac8 {
namespace {

struct SpeedChoice {
  int instructionsPerSecond;
  const char* text;
};

constexpr SpeedChoice kSpeeds[] = {
    {ExecutionControl::kFullSpeed, "全速"},
    {1, "每秒1条指令"},
    {2, "每秒2条指令"},
    {5, "每秒5条指令"},
    {20, "每秒20条指令"},
};

// About 20 times a second: often enough to watch, rare enough to cost the run little.
constexpr int kRunRefreshInterval = 50;

}  // namespace

void TMANForm::CreateRunSpeedBox(QToolBar* bar) {
  speedBox_ = new QComboBox(bar);
  speedBox_->setObjectName("RunSpeedBox");
  speedBox_->setToolTip("运行速度");
  speedBox_->setFocusPolicy(Qt::NoFocus);  // the keys stay with the editor and the menus
  for (const SpeedChoice& s : kSpeeds) speedBox_->addItem(s.text, s.instructionsPerSecond);
  bar->addWidget(speedBox_)->setObjectName("RunSpeedBox");
  connect(speedBox_, &QComboBox::activated, this,
          [this](int index) { SetRunSpeed(speedBox_->itemData(index).toInt()); });

  runRefresh_ = new QTimer(this);
  runRefresh_->setObjectName("RunRefreshTimer");
  runRefresh_->setInterval(kRunRefreshInterval);
  connect(runRefresh_, &QTimer::timeout, this, [this] { workbench_.control.RefreshDuringRun(); });
}

void TMANForm::CreateRunMenuAdditions(QMenu* menu) {
  menu->addSeparator();
  AddMenuItem(menu, "RunToCursor1", 0, "F4", &TMANForm::RunToCursorClick)
      ->setText("运行到光标处(&G)");
  QMenu* speeds = menu->addMenu("运行速度(&V)");
  speeds->setObjectName("RunSpeed1");
  auto* group = new QActionGroup(speeds);
  for (const SpeedChoice& s : kSpeeds) {
    QAction* item = speeds->addAction(s.text);
    item->setCheckable(true);
    item->setData(s.instructionsPerSecond);
    item->setChecked(s.instructionsPerSecond == ExecutionControl::kFullSpeed);
    group->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { SetRunSpeed(item->data().toInt()); });
  }
  speedMenu_ = speeds;
}

void TMANForm::SetRunSpeed(int instructionsPerSecond) {
  workbench_.control.SetRunSpeed(instructionsPerSecond);
  speedBox_->setCurrentIndex(speedBox_->findData(instructionsPerSecond));
  for (QAction* item : speedMenu_->actions())
    item->setChecked(item->data().toInt() == instructionsPerSecond);
}

int TMANForm::RunSpeed() const { return workbench_.control.RunSpeed(); }

void TMANForm::RunToCursorClick() {
  // The editor the user works in: a floating copy shares the docked editor's lines.
  TSRCForm* editor = source_;
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
    if (auto* focused = qobject_cast<TSRCForm*>(w)) {
      if (focused->SharesDockedMarks()) editor = focused;
      break;
    }
  int line = 0, index = 0;
  editor->Memo1()->getCursorPosition(&line, &index);
  RunToLine(line + 1);
}

void TMANForm::RunToLine(int line) {
  if (workbench_.control.Running()) return;
  WaitForLink();
  RunFinished();
  workbench_.control.RunToLine(line);
  RunStarted();
}

void TMANForm::RunStarted() {
  source_->RefreshLineGlyphs();
  UpdateButtons();
  // Until the epilogue, also for a run that has already stopped at a breakpoint.
  if (workbench_.control.RunAwaitingEpilogue()) runRefresh_->start();
}

}  // namespace edumac8
