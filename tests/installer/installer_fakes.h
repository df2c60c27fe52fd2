// Stand-ins for the desktop in the installer's window tests: message boxes and modal dialogs
// are recorded, files are not opened and nothing runs as root.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "installer_services.h"

namespace edumac8::test {

struct InstallerLog {
  QStringList errors, informations, opened, modal;
  // Decides a modal dialog (by its object name); without it the dialog is cancelled.
  std::function<bool(QDialog&)> answer;
  bool launchSucceeds = true;
  int ruleInstalls = 0;
  bool ruleSucceeds = true;
  QString ruleOutput = "/etc/udev/rules.d/70-edumac8-box.rules";
};

class RecordingDialogs : public InstallerDialogs {
 public:
  explicit RecordingDialogs(InstallerLog& log) : log_(log) {}
  void Error(QWidget*, const QString& text) override { log_.errors << text; }
  void Information(QWidget*, const QString& text) override { log_.informations << text; }
  bool Exec(QDialog& dialog) override {
    log_.modal << dialog.metaObject()->className();
    return log_.answer ? log_.answer(dialog) : false;
  }

 private:
  InstallerLog& log_;
};

class RecordingLauncher : public ShellLauncher {
 public:
  explicit RecordingLauncher(InstallerLog& log) : log_(log) {}
  void Open(const QString& path, std::function<void(bool)> done) override {
    log_.opened << path;
    done(log_.launchSucceeds);
  }

 private:
  InstallerLog& log_;
};

class FakeRuleInstaller : public RuleInstaller {
 public:
  explicit FakeRuleInstaller(InstallerLog& log) : log_(log) {}
  void Install(std::function<void(bool, const QString&)> done) override {
    ++log_.ruleInstalls;
    done(log_.ruleSucceeds, log_.ruleOutput);
  }

 private:
  InstallerLog& log_;
};

inline InstallerServices FakeServices(InstallerLog& log, std::vector<std::string> prefixes,
                                      install::SystemRoots roots = {}) {
  InstallerServices s;
  s.dialogs = std::make_unique<RecordingDialogs>(log);
  s.launcher = std::make_unique<RecordingLauncher>(log);
  s.rules = std::make_unique<FakeRuleInstaller>(log);
  s.winePrefixes = std::move(prefixes);
  s.systemRoots = std::move(roots);
  return s;
}

}  // namespace edumac8::test
