// What the micro-program window and the trace window share: a 257-row micro-word grid (its
// header row is the column header, grid row r >= 1 is model row r - 1), the bit panel and the
// register panel, and the structure diagram's hook. The two windows differ only in what a row
// and a click on a bit box mean.
#pragma once

#include <QWidget>
#include <functional>

#include "views/micro_grid_model.h"
#include "views/micro_word_panels.h"
#include "workbench/workbench.h"

class QTableView;

namespace edumac8 {

class MicroWordWindow : public QWidget {
  Q_OBJECT

 public:
  // The structure diagram's "decode the current micro-word and redraw". Called after a row
  // selection (and a bit edit) while execution control's AnimationEnabled is set; nothing is
  // called until one is installed.
  void SetDiagramHook(std::function<void()> decodeAndRedraw);

  QTableView* Grid() const { return grid_; }
  const MicroGridModel& Model() const { return *model_; }
  MicroWordBitPanel& BitPanel() const { return *bits_; }
  RegisterPanel& Registers() const { return *registers_; }

  // The grid's current row r (1 … 256), 0 when none is current.
  int CurrentGridRow() const;
  // Makes grid row r current and shows it; a change of row runs the row-selection behaviour.
  // While a run is in progress the caller holds OuterLock and InnerLock; the user's own
  // selections and bit clicks take them by themselves.
  void SelectGridRow(int r);

 protected:
  MicroWordWindow(Workbench& workbench, const QString& caption, QWidget* parent);

  // Row r (>= 1) became current, by the user or by SelectGridRow.
  virtual void uMGridSelectCell(int r) = 0;
  // The user clicked bit box `bit`.
  virtual void MMClick(int bit, bool checked) = 0;

  void showEvent(QShowEvent* event) override;

  // The bits of CurrentMicroWord() in the bit panel and the live registers, those that differ
  // from `before` highlighted.
  void ShowCurrentWordAndRegisters(const MachineState& before);
  void DecodeAndRedrawIfAnimating();

  Workbench& workbench_;
  MicroGridModel* model_ = nullptr;

 private:
  QTableView* grid_ = nullptr;
  MicroWordBitPanel* bits_ = nullptr;
  RegisterPanel* registers_ = nullptr;
  std::function<void()> decodeAndRedraw_;
  bool selectingByProgram_ = false;
  // A hidden page's grid has no true size to scroll by; it scrolls when it is shown.
  bool scrollWhenShown_ = false;
  void ScrollToCurrentRow();
};

}  // namespace edumac8
