#include "workbench/workbench.h"

#include "platform/paths.h"

namespace edumac8 {

Workbench::Workbench(Host& host, std::unique_ptr<BoxOperations> boxOperations)
    : box(boxOperations ? std::move(boxOperations) : std::make_unique<BoxOperations>()),
      assembler(isa, machine.uM, machine.EM, *box),
      control(machine, host, *box, assembler),
      HomeDir(HomeDirOf(ProgramPath())) {
  isa.LoadDefaults(machine.uM);
}

bool Workbench::Make() {
  if (control.Running()) return false;
  assembler.ClearAssembledOK();
  control.SourceModified = false;
  control.Stepped = false;
  const bool ok = assembler.AssembleSource(control.SourcePath);
  machine.SnapshotTo(machine.CurrentRecord);
  machine.ResetMachine();
  box->BoxReset();
  machine.InstrAddr = 0;
  control.ShowResetViews();
  return ok;
}

}  // namespace edumac8
