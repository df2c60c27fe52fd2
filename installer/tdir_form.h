// TDirForm: the dialog in which the Keil directory is chosen. The drive list offers the Wine
// drives found in the prefixes; the directory list shows the chain from the drive's root to
// the current directory and the current directory's subdirectories.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <string>
#include <vector>

#include "install/keil_location.h"

namespace edumac8 {

class InstallerDialogs;

class TDirForm : public QDialog {
  Q_OBJECT
 public:
  TDirForm(const std::vector<std::string>& winePrefixes, InstallerDialogs& dialogs, bool chinese,
           QWidget* parent = nullptr);

  QLabel* SelectDir() const { return selectDir_; }
  QComboBox* DriveComboBox1() const { return drives_; }
  QListWidget* DirectoryListBox1() const { return directories_; }
  QPushButton* Okbtn() const { return ok_; }
  QPushButton* Cancel() const { return cancel_; }
  QPushButton* Help() const { return help_; }

  // The directory shown; the dialog's answer.
  QString Directory() const { return QString::fromStdString(current_); }
  // Shows `path` (on the drive that holds it) or, when it is no directory, the first drive.
  void SetDirectory(const QString& path);
  void HelpClick();

 private:
  void ShowDrive(int index);
  void ShowDirectory(const std::string& path);

  InstallerDialogs& dialogs_;
  bool chinese_;
  std::vector<std::string> roots_;  // per drive list item
  std::string current_;
  QLabel* selectDir_;
  QComboBox* drives_;
  QListWidget* directories_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
};

}  // namespace edumac8
