// TForm1: the installer's menu window. Up to eight buttons, one per entry offered by
// INSTALL.INI: the box's USB access rule, the Keil debugger drivers, or a program of the maker.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QToolButton>
#include <array>

#include "install/install_menu.h"
#include "installer_services.h"

namespace edumac8 {

class TDirForm;
class TDriverForm;
class TWinInfoF;

// A label that acts on a click, with a hand cursor.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class TForm1 : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kButtons = 8;
  static constexpr const char* kWebAddress = "http://www.edumac8.example";

  TForm1(install::InstallMenu menu, InstallerServices services, QWidget* parent = nullptr);
  ~TForm1() override;

  const install::InstallMenu& Menu() const { return menu_; }
  QToolButton* CMD(int n) const { return buttons_[n - 1]; }  // n = 1..8
  QLabel* Label1() const { return label1_; }
  LinkLabel* Label3() const { return label3_; }
  TDriverForm& DriverForm() const { return *driverForm_; }
  TDirForm& DirForm() const { return *dirForm_; }
  TWinInfoF& WinInfoForm() const { return *winInfo_; }

  // Runs entry n (1-based) as its button does.
  void RunEntry(int n);
  void Label3Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void OpenTarget(const install::TInstallEntry& entry);

  install::InstallMenu menu_;
  InstallerServices services_;
  std::array<QToolButton*, kButtons> buttons_{};
  QLabel* label1_;
  LinkLabel* label3_;
  TDirForm* dirForm_;
  TDriverForm* driverForm_;
  TWinInfoF* winInfo_;
  bool errorShown_ = false;
};

}  // namespace edumac8
