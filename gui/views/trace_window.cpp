#include "views/trace_window.h"

#include <algorithm>

namespace edumac8 {

TuTRCF::TuTRCF(Workbench& workbench, QWidget* parent)
    : MicroWordWindow(workbench, QStringLiteral("跟踪"), parent) {
  setObjectName("TuTRCF");
}

void TuTRCF::FillTraceGrid() {
  Machine& m = workbench_.machine;
  m.BuildStepCountTable();
  model_->Refill([&](int i) { return TraceGridRowOf(workbench_.isa, m, i); });
}

void TuTRCF::ShowTraceWord() {
  const TraceHistory& history = workbench_.machine.history;
  const int row = CurrentGridRow();
  const int count = history.Count();
  const int index = std::clamp(row > 0 ? row - 1 : count - 1, 0, std::max(count - 1, 0));
  // Each row is one micro-step: its changes are those against the row above.
  ShowCurrentWordAndRegisters(count > 0 && index > 0 ? history[index - 1].state
                                                     : workbench_.machine.state);
}

void TuTRCF::SelectNewestRecord() { SelectGridRow(workbench_.machine.history.Count()); }

void TuTRCF::uMGridSelectCell(int r) {
  Machine& m = workbench_.machine;
  const int count = m.history.Count();
  if (count == 0) return;
  m.RestoreFrom(m.history[r - 1 < count ? r - 1 : count - 1]);
  ShowTraceWord();
  DecodeAndRedrawIfAnimating();
}

void TuTRCF::MMClick(int /*bit*/, bool /*checked*/) {
  FillTraceGrid();
  ShowTraceWord();
}

}  // namespace edumac8
