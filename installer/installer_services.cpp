#include "installer_services.h"

#include <unistd.h>

#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

#include "install/keil_location.h"
#include "platform/paths.h"

namespace edumac8 {
namespace {

// Runs `program` and reports its exit once it has finished, without blocking the window.
void RunAndReport(const QString& program, const QStringList& arguments,
                  std::function<void(bool, const QString&)> done) {
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::MergedChannels);
  QObject::connect(process, &QProcess::finished, process,
                   [process, done](int code, QProcess::ExitStatus status) {
                     done(status == QProcess::NormalExit && code == 0,
                          QString::fromUtf8(process->readAll()).trimmed());
                     process->deleteLater();
                   });
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process, program, done](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     done(false, program + ": " + process->errorString());
                     process->deleteLater();
                   });
  process->start(program, arguments);
}

}  // namespace

void InstallerDialogs::Error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QString(), text);
}

void InstallerDialogs::Information(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QString(), text);
}

bool InstallerDialogs::Exec(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

void ShellLauncher::Open(const QString& pathOrUrl, std::function<void(bool)> done) {
  const QFileInfo file(pathOrUrl);
  if (file.isFile() && file.isExecutable()) {
    done(QProcess::startDetached(file.absoluteFilePath(), {}, file.absolutePath()));
    return;
  }
  RunAndReport("xdg-open", {pathOrUrl}, [done](bool ok, const QString&) { done(ok); });
}

void RuleInstaller::Install(std::function<void(bool, const QString&)> done) {
  const QString self = QString::fromStdString(ProgramPath());
  RunAndReport("pkexec", {self, "udev-rule", "--install"},
               [done, self](bool ok, const QString& out) {
                 // Without pkexec (or when it is refused) the command still works from a root
                 // shell.
                 done(ok, ok ? out : out + "\n\nsudo " + self + " udev-rule --install");
               });
}

InstallerServices DesktopServices() {
  InstallerServices services;
  services.winePrefixes = install::WinePrefixesFromEnvironment();
  return services;
}

}  // namespace edumac8
