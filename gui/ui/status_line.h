// The main window's status line: whether the machine runs, the micro-steps executed since the
// last reset, and the outcome of the last assembly or VHDL generation.
#pragma once

#include <QStatusBar>
#include <cstdint>

class QLabel;

namespace edumac8 {

class StatusLine : public QStatusBar {
  Q_OBJECT

 public:
  explicit StatusLine(QWidget* parent = nullptr);

  void ShowMachine(bool running, std::uint64_t microSteps);
  // `failed` shows the text as an error.
  void ShowOutcome(const QString& text, bool failed);

  QString RunText() const;
  QString StepText() const;
  QString OutcomeText() const;

 private:
  QLabel* run_ = nullptr;
  QLabel* steps_ = nullptr;
  QLabel* outcome_ = nullptr;
};

}  // namespace edumac8
