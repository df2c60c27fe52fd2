// TuTRCF, the trace window "跟踪": one grid row per trace history record, oldest first.
// Selecting a row shows that step's recorded state in the live MachineState and EM for
// display only; the next micro-step still starts from CurrentRecord. Its bit boxes cannot
// edit: a click puts them back.
#pragma once

#include "views/micro_word_window.h"

namespace edumac8 {

class TuTRCF : public MicroWordWindow {
  Q_OBJECT

 public:
  explicit TuTRCF(Workbench& workbench, QWidget* parent = nullptr);

  // Rebuilds StepCountTable and rewrites the grid from TraceHistory.
  void FillTraceGrid();
  // The bit panel from CurrentMicroWord() and the register panel from the live state, which
  // holds the record of the current row: what differs from the record before it is marked.
  void ShowTraceWord();
  // Makes row TraceCount (the newest record) current.
  void SelectNewestRecord();

 protected:
  void uMGridSelectCell(int r) override;
  void MMClick(int bit, bool checked) override;
};

}  // namespace edumac8
