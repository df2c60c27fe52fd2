#include "tform1.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "install/install_text.h"
#include "platform/text_codec.h"
#include "tdir_form.h"
#include "tdriver_form.h"
#include "twin_info_form.h"

namespace edumac8 {
namespace {

constexpr int kButtonY[TForm1::kButtons] = {16, 59, 103, 146, 190, 233, 277, 320};
constexpr int kLabel1Y = 356;
constexpr int kLabel3Y = 376;

}  // namespace

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  QLabel::mouseReleaseEvent(event);
}

TForm1::TForm1(install::InstallMenu menu, InstallerServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      menu_(std::move(menu)),
      services_(std::move(services)) {
  const bool cn = menu_.Chinese;
  setFixedSize(410, 400);
  setWindowTitle(QString::fromStdString(menu_.Caption()));

  for (int i = 0; i < kButtons; ++i) {
    QToolButton* b = new QToolButton(this);
    b->setObjectName(QString("CMD%1").arg(i + 1));
    b->setGeometry(50, kButtonY[i], 310, 30);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(cn);  // drawn transparent on a Chinese system
    b->hide();
    connect(b, &QToolButton::clicked, this, [this, i] { RunEntry(i + 1); });
    buttons_[i] = b;
  }
  for (std::size_t i = 0; i < menu_.Entries.size() && i < kButtons; ++i) {
    buttons_[i]->setText(QString::fromStdString(menu_.CaptionOf(menu_.Entries[i])));
    buttons_[i]->show();
  }

  label1_ = new QLabel(QString::fromUtf8(install::Text(install::Msg::MakerName, cn)), this);
  label1_->setObjectName("Label1");
  label1_->adjustSize();
  label1_->move(cn ? 102 : 50, kLabel1Y);

  label3_ = new LinkLabel(kWebAddress, this);
  label3_->setObjectName("Label3");
  QFont linkFont = label3_->font();
  linkFont.setBold(true);
  linkFont.setUnderline(true);
  label3_->setFont(linkFont);
  label3_->setStyleSheet("color: #0000c0");
  label3_->setCursor(Qt::PointingHandCursor);
  label3_->adjustSize();
  label3_->move(cn ? 102 : 50, kLabel3Y);
  connect(label3_, &LinkLabel::clicked, this, &TForm1::Label3Click);

  dirForm_ = new TDirForm(services_.winePrefixes, *services_.dialogs, cn, this);
  driverForm_ = new TDriverForm(menu_, services_, *dirForm_, this);
  winInfo_ = new TWinInfoF(services_, cn, this);
}

TForm1::~TForm1() = default;

void TForm1::paintEvent(QPaintEvent*) {
  // A quiet backdrop, over which the transparent buttons of the Chinese layout read as a menu.
  QPainter painter(this);
  QLinearGradient backdrop(0, 0, 0, height());
  backdrop.setColorAt(0, QColor(0xdd, 0xe8, 0xf5));
  backdrop.setColorAt(1, QColor(0xfa, 0xfb, 0xfd));
  painter.fillRect(rect(), backdrop);
}

void TForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (menu_.Ini.ErrorLine == 0 || errorShown_) return;
  errorShown_ = true;
  services_.dialogs->Error(
      this, QString::fromStdString(install::InstallIniErrorText(menu_.Ini.ErrorLine)));
}

void TForm1::RunEntry(int n) {
  if (n < 1 || n > static_cast<int>(menu_.Entries.size())) return;
  const install::TInstallEntry& entry = menu_.Entries[n - 1];
  switch (entry.Kind) {
    case install::EntryKind::UsbDriver:
      winInfo_->Open();
      break;
    case install::EntryKind::DebuggerDrivers:
      driverForm_->OpenDriverWindow();
      break;
    default:
      OpenTarget(entry);
      break;
  }
}

void TForm1::OpenTarget(const install::TInstallEntry& entry) {
  const std::optional<std::string> found = install::TargetPath(menu_.InstallDir, entry.Target);
  const QString path =
      QString::fromStdString(found.value_or(menu_.InstallDir + Gb2312ToUtf8(entry.Target)));
  const QString failure =
      QString::fromUtf8(install::Text(install::Msg::CannotOpen, menu_.Chinese)) + path;
  if (!found) {
    services_.dialogs->Error(this, failure);
    return;
  }
  QPointer<TForm1> self(this);
  services_.launcher->Open(path, [self, failure](bool ok) {
    if (!ok && self) self->services_.dialogs->Error(self, failure);
  });
}

void TForm1::Label3Click() {
  QPointer<TForm1> self(this);
  const QString failure =
      QString::fromUtf8(install::Text(install::Msg::CannotOpen, menu_.Chinese)) + kWebAddress;
  services_.launcher->Open(kWebAddress, [self, failure](bool ok) {
    if (!ok && self) self->services_.dialogs->Error(self, failure);
  });
}

}  // namespace edumac8
