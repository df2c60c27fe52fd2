// TDataF, the program-memory window "EM 程序": EM as a hex dump of 16 rows with an ASCII
// column. The user overwrites the current byte by typing two hex digits (or one and Enter);
// the edit goes into EM and CurrentRecord, so the next micro-step uses it.
//
// The grid paints from a copy of EM taken by RepaintMemory, so a run in progress never has
// its memory read behind its back.
#pragma once

#include <QString>
#include <QWidget>
#include <bitset>

#include "machine/machine_state.h"
#include "views/dump_grid_rules.h"
#include "views/error_box.h"
#include "workbench/workbench.h"

class QMenu;
class QPainter;
class QRect;
class QStatusBar;

namespace edumac8 {

class DumpGridWidget;

class TDataF : public QWidget {
  Q_OBJECT

 public:
  explicit TDataF(Workbench& workbench, QWidget* parent = nullptr);

  // Takes EM anew and repaints; execution control calls it after steps and runs. Bytes that
  // differ from execution control's change baseline are marked.
  void RepaintMemory();
  // The bytes the page shows now.
  const ProgramMemory& ShownMemory() const { return shown_; }
  bool ByteMarked(int address) const { return marked_[address]; }
  void SetErrorBox(ErrorBox box) { errorBox_ = std::move(box); }

  DumpCell CurrentCell() const { return current_; }
  // Moves the cursor (row 0-15, column 1-16); the selection collapses onto it.
  void SetCurrentCell(DumpCell cell);
  bool Editing() const { return editing_; }
  QWidget* Grid() const;
  QMenu* ContextMenu() const { return menu_; }

  // Handlers of the grid, by the names the form binds.
  void DmpGridDrawCell(QPainter& painter, int row, int column, const QRect& rect);
  void DmpGridKeyPress(QChar key);
  void DmpGridMouseDown(DumpCell cell);
  void DmpGridMouseMove(DumpCell cell);
  void DmpGridMouseUp(DumpCell cell);
  void DmpMenuPopup();
  void ShowAsWhatClick();

 private:
  void Commit();
  void AbandonEdit();
  void ClearStatus();

  Workbench& workbench_;
  ErrorBox errorBox_;
  ProgramMemory shown_{};
  std::bitset<256> marked_;
  DumpCell current_{0, 1};
  DumpCell selStart_{0, 1};
  DumpCell selEnd_{0, 1};
  bool editing_ = false;
  QString editBuffer_;  // the typed characters
  DumpCell editCell_{0, 1};
  DumpGridWidget* grid_ = nullptr;
  QStatusBar* status_ = nullptr;
  QMenu* menu_ = nullptr;
};

}  // namespace edumac8
