#include "ui/status_line.h"

#include <QLabel>

namespace edumac8 {

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
  setObjectName("StatusLine");
  setSizeGripEnabled(false);
  run_ = new QLabel(this);
  steps_ = new QLabel(this);
  outcome_ = new QLabel(this);
  // Fixed sizes: the count changes with every micro-step, and a label whose size may change
  // makes the whole window lay itself out again.
  const QFontMetrics metrics(font());
  const int height = metrics.height() + 4;
  run_->setFixedSize(metrics.horizontalAdvance("运行中") + 16, height);
  steps_->setFixedSize(metrics.horizontalAdvance("微步: 0000000000") + 16, height);
  outcome_->setTextFormat(Qt::PlainText);
  outcome_->setMinimumWidth(0);
  outcome_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  addWidget(run_);
  addWidget(steps_);
  addWidget(outcome_, 1);
  ShowMachine(false, 0);
}

void StatusLine::ShowMachine(bool running, std::uint64_t microSteps) {
  const QString run = running ? "运行中" : "停止";
  const QString steps = "微步: " + QString::number(microSteps);
  if (run_->text() != run) run_->setText(run);
  if (steps_->text() != steps) steps_->setText(steps);
}

void StatusLine::ShowOutcome(const QString& text, bool failed) {
  outcome_->setText(text);
  outcome_->setToolTip(text);  // a long error text is cut on the line, whole in its hint
  outcome_->setStyleSheet(failed ? "color: #B00000;" : QString());
}

QString StatusLine::RunText() const { return run_->text(); }
QString StatusLine::StepText() const { return steps_->text(); }
QString StatusLine::OutcomeText() const { return outcome_->text(); }

}  // namespace edumac8
