// The dialogs of a workbench that nobody watches (pictures taken by a script): every message
// that would open a modal box goes to standard error instead, every question and file dialog
// counts as cancelled, and the first such message marks the run as failed.
#pragma once

#include "ui/user_dialogs.h"

namespace edumac8 {

class ConsoleDialogs : public UserDialogs {
 public:
  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& proposed) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& proposed) override;
  Answer Question(QWidget* parent, const QString& text) override;
  Answer YesNo(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  void Information(QWidget* parent, const QString& text) override;

  // A message was printed: the script did not go as planned.
  bool Failed() const { return failed_; }

 private:
  void Print(const QString& text);
  bool failed_ = false;
};

}  // namespace edumac8
