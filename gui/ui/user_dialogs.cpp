#include "ui/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "ui/file_names.h"

namespace edumac8 {

QString QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    filters << (description.contains('(' + pattern + ')')
                    ? description
                    : description + " (" + QString(pattern).replace(';', ' ') + ')');
  }
  return filters.join(";;");
}

QString QtUserDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& proposed) {
  return ResolveDialogPath(
      QFileDialog::getOpenFileName(parent, title, proposed, QtNameFilters(filter)));
}

QString QtUserDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& proposed) {
  return ResolveDialogPath(
      QFileDialog::getSaveFileName(parent, title, proposed, QtNameFilters(filter)));
}

Answer QtUserDialogs::Question(QWidget* parent, const QString& text) {
  const auto button = QMessageBox::question(
      parent, QApplication::applicationName(), text,
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

Answer QtUserDialogs::YesNo(QWidget* parent, const QString& text) {
  const auto button = QMessageBox::question(parent, QApplication::applicationName(), text,
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtUserDialogs::Error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QApplication::applicationName(), text);
}

void QtUserDialogs::Information(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QApplication::applicationName(), text);
}

}  // namespace edumac8
