#include "twin_info_form.h"

#include <QPointer>

#include "install/install_text.h"
#include "install/usb_system_facts.h"
#include "installer_services.h"

namespace edumac8 {
namespace {

QString Tr(install::Msg message, bool chinese) {
  return QString::fromUtf8(install::Text(message, chinese));
}

QLabel* MakeLabel(QWidget* parent, const char* name, int y) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(16, y, 428, 20);
  return label;
}

}  // namespace

TWinInfoF::TWinInfoF(InstallerServices& services, bool chinese, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      chinese_(chinese) {
  setFixedSize(460, 170);
  setWindowTitle(Tr(install::Msg::SystemInformation, chinese));
  winInfo_ = MakeLabel(this, "WinInfo", 12);
  QFont bold = winInfo_->font();
  bold.setBold(true);
  winInfo_->setFont(bold);
  l1_ = MakeLabel(this, "l1", 40);
  l2_ = MakeLabel(this, "l2", 62);
  validMsg_ = MakeLabel(this, "ValidMsg", 90);
  validMsg_->setText(Tr(install::Msg::RuleExplanation, chinese));
  validMsg_->setWordWrap(true);
  validMsg_->setGeometry(16, 90, 428, 36);
  ok_ = new QPushButton("Ok", this);
  ok_->setObjectName("Ok");
  ok_->setGeometry(369, 134, 75, 25);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &TWinInfoF::OkClick);
}

void TWinInfoF::Open() {
  Refresh();
  services_.dialogs->Exec(*this);
}

void TWinInfoF::Refresh() {
  using install::Msg;
  const install::UsbSystemFacts facts = install::ReadUsbSystemFacts(services_.systemRoots);
  winInfo_->setText(QString::fromStdString(install::SystemLine(facts)));
  const Msg driver = facts.cdcAcm == install::CdcAcmState::Loaded      ? Msg::CdcAcmLoaded
                     : facts.cdcAcm == install::CdcAcmState::Available ? Msg::CdcAcmAvailable
                                                                       : Msg::CdcAcmMissing;
  l1_->setText(Tr(driver, chinese_));
  l2_->setText(facts.rulePath
                   ? Tr(Msg::RuleInstalledAt, chinese_) + QString::fromStdString(*facts.rulePath)
                   : Tr(Msg::RuleNotInstalled, chinese_));
}

void TWinInfoF::OkClick() {
  ok_->setEnabled(false);
  QPointer<TWinInfoF> self(this);
  services_.rules->Install([self](bool ok, const QString& output) {
    if (!self) return;
    self->ok_->setEnabled(true);
    self->Refresh();
    using install::Msg;
    if (ok) {
      self->services_.dialogs->Information(self,
                                           Tr(Msg::RuleInstalledReplug, self->chinese_) + output);
      self->accept();
    } else {
      self->services_.dialogs->Error(self, Tr(Msg::RuleInstallFailed, self->chinese_) + output);
    }
  });
}

}  // namespace edumac8
