#include "ui/console_dialogs.h"

#include <cstdio>

namespace edumac8 {

void ConsoleDialogs::Print(const QString& text) {
  std::fprintf(stderr, "%s\n", text.toUtf8().constData());
  std::fflush(stderr);
  failed_ = true;
}

QString ConsoleDialogs::OpenFileName(QWidget*, const QString& title, const QString&,
                                     const QString&) {
  Print(title);
  return {};
}

QString ConsoleDialogs::SaveFileName(QWidget*, const QString& title, const QString&,
                                     const QString&) {
  Print(title);
  return {};
}

Answer ConsoleDialogs::Question(QWidget*, const QString& text) {
  Print(text);
  return Answer::Cancel;
}

// A question without Cancel counts as answered No.
Answer ConsoleDialogs::YesNo(QWidget*, const QString& text) {
  Print(text);
  return Answer::No;
}

void ConsoleDialogs::Error(QWidget*, const QString& text) { Print(text); }
void ConsoleDialogs::Information(QWidget*, const QString& text) { Print(text); }

}  // namespace edumac8
