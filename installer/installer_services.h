// What the installer's windows ask of the desktop: message boxes and modal dialogs, opening a
// file, and installing the box's rule as root. The program uses the real ones; tests hand in
// their own, so no window blocks and nothing is started.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "install/usb_system_facts.h"

class QDialog;
class QWidget;

namespace edumac8 {

class InstallerDialogs {
 public:
  virtual ~InstallerDialogs() = default;
  virtual void Error(QWidget* parent, const QString& text);
  virtual void Information(QWidget* parent, const QString& text);
  // Shows a dialog modally; true when it was accepted.
  virtual bool Exec(QDialog& dialog);
};

class ShellLauncher {
 public:
  virtual ~ShellLauncher() = default;
  // Starts an executable file detached in its own directory and opens anything else (a
  // document, a web address) with xdg-open. `done` learns whether that worked.
  virtual void Open(const QString& pathOrUrl, std::function<void(bool ok)> done);
};

class RuleInstaller {
 public:
  virtual ~RuleInstaller() = default;
  // Installs the box's udev rule with root's rights (pkexec). `done` gets the outcome and the
  // command's output.
  virtual void Install(std::function<void(bool ok, const QString& output)> done);
};

struct InstallerServices {
  std::unique_ptr<InstallerDialogs> dialogs = std::make_unique<InstallerDialogs>();
  std::unique_ptr<ShellLauncher> launcher = std::make_unique<ShellLauncher>();
  std::unique_ptr<RuleInstaller> rules = std::make_unique<RuleInstaller>();
  std::vector<std::string> winePrefixes;  // where Keil and the Wine drives are looked for
  install::SystemRoots systemRoots;
};

// The services of the running program: the Wine prefixes of the environment.
InstallerServices DesktopServices();

}  // namespace edumac8
