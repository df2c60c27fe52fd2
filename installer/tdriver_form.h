// TDriverForm: registers every debugger driver of INSTALL.INI in a Keil installation and
// reports each result in its memo. Closing it only hides it; the memo keeps the last report.
#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "install/install_menu.h"
#include "install/keil_location.h"

namespace edumac8 {

class TDirForm;
struct InstallerServices;

class TDriverForm : public QWidget {
  Q_OBJECT
 public:
  TDriverForm(const install::InstallMenu& menu, InstallerServices& services, TDirForm& dirForm,
              QWidget* parent = nullptr);

  QPlainTextEdit* Memo1() const { return memo_; }
  QGroupBox* BoxKeil() const { return boxKeil_; }
  QLineEdit* PathKeil() const { return pathKeil_; }
  QPushButton* DirBtnKeil() const { return dirBtnKeil_; }
  QPushButton* Install() const { return install_; }

  void OpenDriverWindow();
  void DirBtnKeilClick();
  void InstallClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The directory in the edit, with the Windows path Keil uses for it.
  install::KeilLocation Location() const;
  void ShowWindowsPath();

  const install::InstallMenu& menu_;
  InstallerServices& services_;
  TDirForm& dirForm_;
  std::optional<install::KeilLocation> detected_;
  QPlainTextEdit* memo_;
  QGroupBox* boxKeil_;
  QLineEdit* pathKeil_;
  QPushButton* dirBtnKeil_;
  QPushButton* install_;
};

}  // namespace edumac8
