// What the workbench window tests share: a main window with scripted dialogs, key presses
// through the window's shortcuts, and GB2312 source files in a temporary directory.
#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "scripted_dialogs.h"
#include "ui/tman_form.h"

namespace edumac8::test {

// A source text (UTF-8, lines joined by \n) written as the workbench writes text files.
inline QString WriteSource(const QTemporaryDir& dir, const QString& name, const QString& text) {
  const QString path = dir.filePath(name);
  QString crlf = text;
  crlf.replace("\n", "\r\n");
  WriteFileAtomic(path.toStdString(), Utf8ToGb2312(crlf.toStdString()));
  return path;
}

inline QString ReadText(const QString& path) {
  const auto bytes = ReadWholeFile(path.toStdString());
  return bytes ? QString::fromStdString(Gb2312ToUtf8(*bytes)) : QString();
}

inline std::unique_ptr<TMANForm> ShowWorkbench(DialogLog& log) {
  auto form = std::make_unique<TMANForm>(std::make_unique<ScriptedDialogs>(log));
  form->show();
  QApplication::setActiveWindow(form.get());
  if (!QTest::qWaitForWindowActive(form.get())) qWarning("the workbench window is not active");
  return form;
}

// A key as the user presses it in the focused page: the window's shortcuts take it first.
inline void Press(TMANForm& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
  QTest::keyClick(target, key, modifiers);
}

// Opens `path` through the Open command.
inline void OpenThroughDialog(TMANForm& form, DialogLog& log, const QString& path) {
  log.paths.push_back(path);
  form.OpenFile1Click();
}

}  // namespace edumac8::test
