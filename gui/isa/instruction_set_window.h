// TFASMDef, the instruction-system window "指令系统": the 64 entries of the instruction set in
// a grid and an editor below it for the current entry. Modify and delete go through the
// instruction system, which validates, changes the entry and rebuilds the derived tables; a
// refusal is shown in an error box and changes nothing.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "views/error_box.h"
#include "workbench/workbench.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace edumac8 {

class InstrGridModel;

class TFASMDef : public QWidget {
  Q_OBJECT

 public:
  explicit TFASMDef(Workbench& workbench, QWidget* parent = nullptr);

  // The grid and the editor reloaded from the instruction set (after a load or a new system).
  void Refresh();
  void SetErrorBox(ErrorBox box) { errorBox_ = std::move(box); }

  // The current entry (grid row - 1).
  int CurrentEntry() const { return current_; }
  void SelectEntry(int entry);
  QTableView* Grid() const { return grid_; }

  // Handlers, by the names the form binds.
  void ASMDefGridSelectCell(int row);
  void OPDExit();
  void OP1Change(int kind);
  void OP2Change(int kind);
  void ModifyBtnClick();
  void DeleteBtnClick();

 signals:
  // An entry was modified or deleted; the micro-program window shows the entry texts.
  void instructionSetChanged();

 private:
  void LoadEditor();
  void ShowPanels();
  void AfterChange();

  Workbench& workbench_;
  ErrorBox errorBox_;
  int current_ = 0;
  std::string editedMnemonic_;
  std::uint8_t editedKind1_ = 0;
  std::uint8_t editedKind2_ = 0;
  InstrGridModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLineEdit* OPD = nullptr;
  QComboBox* OP1 = nullptr;
  QComboBox* OP2 = nullptr;
  QLabel* MC1S = nullptr;
  QLabel* MC2S = nullptr;
  QLabel* MC3S = nullptr;
  QPushButton* ModifyBtn = nullptr;
  QPushButton* DeleteBtn = nullptr;
};

}  // namespace edumac8
