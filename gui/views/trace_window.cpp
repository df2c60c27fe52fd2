#include "views/trace_window.h"

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

void TuTRCF::ShowTraceWord() { ShowCurrentWordAndRegisters(); }

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
