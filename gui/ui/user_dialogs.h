// Every question, message box and file dialog the main window shows goes through UserDialogs,
// so that tests answer them without a person at the keyboard.
#pragma once

#include <QString>

#include "machine/host.h"

class QWidget;

namespace edumac8 {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // File dialogs take the workbench's filter form ("Text (*.TXT)|*.TXT|...") and return the
  // chosen path, or an empty string when cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& proposed) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& proposed) = 0;
  // A confirmation with Yes, No and Cancel.
  virtual Answer Question(QWidget* parent, const QString& text) = 0;
  // A confirmation with Yes and No only.
  virtual Answer YesNo(QWidget* parent, const QString& text) = 0;
  virtual void Error(QWidget* parent, const QString& text) = 0;
  virtual void Information(QWidget* parent, const QString& text) = 0;
};

// The modal Qt dialogs a user sees.
class QtUserDialogs : public UserDialogs {
 public:
  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& proposed) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& proposed) override;
  Answer Question(QWidget* parent, const QString& text) override;
  Answer YesNo(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  void Information(QWidget* parent, const QString& text) override;
};

// "Assemble files (*.ASM)|*.ASM|ABEL files (*.ABL)|*.ABL" as a Qt name filter list
// ("Assemble files (*.ASM);;ABEL files (*.ABL)").
QString QtNameFilters(const QString& filter);

}  // namespace edumac8
