// Dialog answers prepared by a test, and a record of every message the window showed.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>

#include "ui/user_dialogs.h"

namespace edumac8::test {

struct DialogLog {
  std::deque<QString> paths;   // the next file dialog answers, "" for cancel
  std::deque<Answer> answers;  // the next questions' answers
  QStringList questions, errors, informations, titles, filters, proposals;
  QList<bool> askedWhileShown;  // per question: its window was on the screen
};

class ScriptedDialogs : public UserDialogs {
 public:
  explicit ScriptedDialogs(DialogLog& log) : log_(log) {}

  QString OpenFileName(QWidget*, const QString& title, const QString& filter,
                       const QString& proposed) override {
    return Next(title, filter, proposed);
  }
  QString SaveFileName(QWidget*, const QString& title, const QString& filter,
                       const QString& proposed) override {
    return Next(title, filter, proposed);
  }
  Answer Question(QWidget* parent, const QString& text) override {
    log_.questions << text;
    log_.askedWhileShown << (parent && parent->window()->isVisible());
    if (log_.answers.empty()) return Answer::Cancel;
    const Answer a = log_.answers.front();
    log_.answers.pop_front();
    return a;
  }
  Answer YesNo(QWidget*, const QString& text) override {
    log_.questions << text;
    if (log_.answers.empty()) return Answer::No;
    const Answer a = log_.answers.front();
    log_.answers.pop_front();
    return a == Answer::Yes ? Answer::Yes : Answer::No;
  }
  void Error(QWidget*, const QString& text) override { log_.errors << text; }
  void Information(QWidget*, const QString& text) override { log_.informations << text; }

 private:
  QString Next(const QString& title, const QString& filter, const QString& proposed) {
    log_.titles << title;
    log_.filters << filter;
    log_.proposals << proposed;
    if (log_.paths.empty()) return {};
    const QString p = log_.paths.front();
    log_.paths.pop_front();
    return p;
  }
  DialogLog& log_;
};

}  // namespace edumac8::test
