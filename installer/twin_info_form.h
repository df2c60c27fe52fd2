// TWinInfoF: the USB entry's dialog. It tells what the box needs from this machine (the kernel,
// the cdc_acm driver, the box's udev rule); Ok installs the rule with root's rights.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace edumac8 {

struct InstallerServices;

class TWinInfoF : public QDialog {
  Q_OBJECT
 public:
  TWinInfoF(InstallerServices& services, bool chinese, QWidget* parent = nullptr);

  QLabel* WinInfo() const { return winInfo_; }
  QLabel* ValidMsg() const { return validMsg_; }
  QLabel* l1() const { return l1_; }
  QLabel* l2() const { return l2_; }
  QPushButton* OkBtn() const { return ok_; }

  // Reads the machine's facts anew and shows the dialog modally.
  void Open();
  void Refresh();
  // Installs the rule; reports the outcome and, on success, closes the dialog.
  void OkClick();

 private:
  InstallerServices& services_;
  bool chinese_;
  QLabel* winInfo_;
  QLabel* validMsg_;
  QLabel* l1_;
  QLabel* l2_;
  QPushButton* ok_;
};

}  // namespace edumac8
