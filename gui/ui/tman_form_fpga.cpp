// The main window's side of the FPGA board window: it is created hidden with the workbench,
// shown by the toolbar, and its caption follows the link's status.
#include "fpga/tstruc_fpgaf.h"
#include "link/box_link.h"
#include "ui/tman_form.h"

namespace edumac8 {

void TMANForm::CreateBoardWindow() {
  fpga_ = new TStrucFPGAF(
      workbench_, [this]() -> UserDialogs& { return *dialogs_; }, this);
  fpga_->hide();
}

void TMANForm::sbFPGAOpenClick() { fpga_->ShowBoard(); }

void TMANForm::ShowBoardLinkStatus() {
  if (!fpga_) return;
  BoardLinkState state;
  if (link_) {
    state.connected = link_->LinkUp() && !link_->LinkFailedFlag();
    state.boxConfig = link_->BoxConfig();
    state.boxFpgaMode = link_->BoxFpgaMode();
    state.boxController = link_->BoxController();
  }
  fpga_->ShowLinkStatus(state);
}

}  // namespace edumac8
