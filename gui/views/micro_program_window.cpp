#include "views/micro_program_window.h"

#include "views/trace_window.h"

namespace edumac8 {

TuMF::TuMF(Workbench& workbench, TuTRCF& trace, QWidget* parent)
    : MicroWordWindow(workbench, QStringLiteral("uM 微程序"), parent), trace_(trace) {
  setObjectName("TuMF");
}

void TuMF::FillMicroProgramGrid() {
  Machine& m = workbench_.machine;
  m.BuildStepCountTable();
  model_->Refill([&](int a) { return MicroGridRowOf(workbench_.isa, m, a); });
}

void TuMF::ShowMicroWord(int a) {
  shownAddress_ = a;
  shownWord_ = workbench_.machine.CurrentMicroWord();
  // What the last command (or the run since the last refresh) changed.
  ShowCurrentWordAndRegisters(workbench_.control.ChangeBaseline().state);
}

void TuMF::RefreshMicroViews() {
  Machine& m = workbench_.machine;
  trace_.FillTraceGrid();
  trace_.SelectNewestRecord();
  FillMicroProgramGrid();
  SelectGridRow(m.state[Field::uPC] + 1);
  if (m.history.Count() > 0) m.RestoreFrom(m.history.Newest());
  const std::uint8_t upc = m.state[Field::uPC];
  ShowMicroWord(upc);
  m.LoadMicroWord(m.uM[upc]);
  trace_.ShowTraceWord();
  // The grids, boxes and labels repaint by themselves where their contents changed.
}

void TuMF::uMGridSelectCell(int r) {
  workbench_.machine.LoadMicroWord(workbench_.machine.uM[r - 1]);
  ShowMicroWord(r - 1);
  DecodeAndRedrawIfAnimating();
}

void TuMF::MMClick(int bit, bool checked) {
  Machine& m = workbench_.machine;
  const std::uint32_t mask = 1u << bit;
  shownWord_ = checked ? shownWord_ | mask : shownWord_ & ~mask;
  m.uM[shownAddress_] = shownWord_ & kWordMask;  // an edited cell carries a zero high byte
  workbench_.isa.UMModified = true;

  const int row = CurrentGridRow();
  const std::uint8_t upc = static_cast<std::uint8_t>(row > 0 ? row - 1 : shownAddress_);
  m.state[Field::uPC] = upc;
  // The next micro-step starts from CurrentRecord; without this it would run from the old
  // micro-address instead of the edited one.
  m.CurrentRecord.state[Field::uPC] = upc;
  m.LoadMicroWord(m.uM[upc]);
  FillMicroProgramGrid();
  m.Evaluate();
  // The buses, D, L and R now show the edited word's effect.
  Registers().ShowState(m.state, workbench_.control.ChangeBaseline().state);
  DecodeAndRedrawIfAnimating();
}

}  // namespace edumac8
