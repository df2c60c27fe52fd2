#include "tdriver_form.h"

#include <QResizeEvent>
#include <QScreen>

#include "install/case_paths.h"
#include "install/driver_registration.h"
#include "install/install_text.h"
#include "installer_services.h"
#include "song_font.h"
#include "tdir_form.h"

namespace edumac8 {
namespace {

constexpr QSize kDesignedSize(567, 466);

QString Tr(install::Msg message, bool chinese) {
  return QString::fromUtf8(install::Text(message, chinese));
}

}  // namespace

TDriverForm::TDriverForm(const install::InstallMenu& menu, InstallerServices& services,
                         TDirForm& dirForm, QWidget* parent)
    : QWidget(parent, Qt::Window), menu_(menu), services_(services), dirForm_(dirForm) {
  setObjectName("TDriverForm");
  resize(kDesignedSize);
  setMinimumSize(420, 300);
  setFont(SongFont());

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setGeometry(16, 16, 529, 273);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  boxKeil_ = new QGroupBox(this);
  boxKeil_->setObjectName("BoxKeil");
  boxKeil_->setGeometry(16, 312, 529, 49);
  // The caption sits on the frame's top line, clear of the controls placed below it.
  boxKeil_->setStyleSheet(
      "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }");
  pathKeil_ = new QLineEdit(boxKeil_);
  pathKeil_->setObjectName("PathKeil");
  pathKeil_->setGeometry(8, 16, 409, 20);
  dirBtnKeil_ = new QPushButton(boxKeil_);
  dirBtnKeil_->setObjectName("DirBtnKeil");
  dirBtnKeil_->setGeometry(432, 16, 75, 25);

  install_ = new QPushButton(this);
  install_->setObjectName("Install");
  install_->setGeometry(360, 384, 185, 25);
  install_->setDefault(true);

  connect(dirBtnKeil_, &QPushButton::clicked, this, &TDriverForm::DirBtnKeilClick);
  connect(install_, &QPushButton::clicked, this, &TDriverForm::InstallClick);
  connect(pathKeil_, &QLineEdit::textChanged, this, &TDriverForm::ShowWindowsPath);
  connect(pathKeil_, &QLineEdit::returnPressed, this, &TDriverForm::InstallClick);
}

void TDriverForm::OpenDriverWindow() {
  const bool cn = menu_.Chinese;
  using install::Msg;
  setWindowTitle(Tr(Msg::InstallKeilDriver, cn));
  boxKeil_->setTitle("Keil " + Tr(Msg::Destination, cn));
  dirBtnKeil_->setText(Tr(Msg::Browse, cn));
  install_->setText(Tr(Msg::Install, cn));
  detected_ = install::DetectKeil(services_.winePrefixes);
  pathKeil_->setText(detected_ ? QString::fromStdString(detected_->path)
                               : Tr(Msg::InstallKeilFirst, cn));
  if (!isVisible()) {
    resize(kDesignedSize);
    if (const QScreen* screen = this->screen())
      move(screen->availableGeometry().center() - rect().center());
  }
  show();
  raise();
  activateWindow();
  install_->setFocus();
}

void TDriverForm::DirBtnKeilClick() {
  const bool cn = menu_.Chinese;
  using install::Msg;
  dirForm_.setWindowTitle("Keil " + Tr(Msg::Destination, cn));
  dirForm_.Okbtn()->setText(Tr(Msg::Ok, cn));
  dirForm_.Cancel()->setText(Tr(Msg::Cancel, cn));
  dirForm_.Help()->setText(Tr(Msg::Help, cn));
  dirForm_.SetDirectory(pathKeil_->text());
  dirForm_.Okbtn()->setFocus();
  if (const QScreen* screen = dirForm_.screen())
    dirForm_.move(screen->availableGeometry().center() - dirForm_.rect().center());
  if (services_.dialogs->Exec(dirForm_)) pathKeil_->setText(dirForm_.Directory());
}

void TDriverForm::InstallClick() {
  QString path = pathKeil_->text();
  while (!path.isEmpty() && install::IsBlank(path.back().toLatin1())) path.chop(1);
  pathKeil_->setText(path);
  memo_->clear();
  const install::DriverInstallReport report = install::InstallKeilDrivers(menu_, Location());
  for (const std::string& line : report.memo) {
    QString text = QString::fromStdString(line);
    text.replace("\r\n", "\n");
    memo_->appendPlainText(text);
  }
}

install::KeilLocation TDriverForm::Location() const {
  const std::string path = install::TrimKeilDir(pathKeil_->text().toStdString());
  if (detected_ && detected_->path == path) return *detected_;
  return {path, install::WindowsPathOf(path, services_.winePrefixes)};
}

void TDriverForm::ShowWindowsPath() {
  // Keil sees the directory under its drive letter; the tip tells which.
  const bool isDirectory =
      install::IsDirectory(install::TrimKeilDir(pathKeil_->text().toStdString()));
  pathKeil_->setToolTip(isDirectory ? QString::fromStdString(Location().windowsPath) : QString());
}

void TDriverForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The memo takes the room a larger window gives; the controls below keep their distances
  // to the bottom and right edges.
  const QSize grow = event->size() - kDesignedSize;
  memo_->setGeometry(16, 16, 529 + grow.width(), 273 + grow.height());
  boxKeil_->setGeometry(16, 312 + grow.height(), 529 + grow.width(), 49);
  pathKeil_->setGeometry(8, 16, 409 + grow.width(), 20);
  dirBtnKeil_->move(432 + grow.width(), 16);
  install_->move(360 + grow.width(), 384 + grow.height());
}

}  // namespace edumac8
