// The board window's pictures, its keys and the test mode.
#include "fpga/board_button.h"
#include "fpga/component_picture.h"
#include "fpga/tstruc_fpgaf.h"
#include "ui/user_dialogs.h"

namespace edumac8 {

void TStrucFPGAF::InitForm() {
  std::vector<CList>& components = Mode().components;
  for (int i = 0; i < static_cast<int>(components.size()); ++i) {
    CList& c = components[i];
    if (!fullRedraw_ && c.Value == c.ShownValue) continue;
    controls_[i].visual->SetPicture(ComponentPicture(c, i == selected_));
    c.ShownValue = c.Value;
  }
  for (int i = 0; i < kBoardColumns; ++i) RedrawKey(i);
  fullRedraw_ = false;
}

void TStrucFPGAF::sbKeyClick(int i) {
  RedrawKey(i);
  BoardColumn& col = Mode().columns[i];
  if (!IsClockKey(col.KeyType)) return;
  BoardButton* key = columns_[i].key;
  if (key->isChecked() && !(col.ClockBusy & 1)) {
    col.ClockBusy |= 1;
    return;
  }
  // A running clock cannot be stopped by its key: only 输出D ends it.
  key->setChecked(true);
  RedrawKey(i);
  dialogs_().Information(this, "Clock Busy Now.");
}

void TStrucFPGAF::Timer1Timer() {
  ApplyTestValues(Mode(), random_.Draw());
  for (int i = 0; i < kBoardColumns; ++i) {
    const BoardColumn& col = Mode().columns[i];
    if (IsClockKey(col.KeyType) && !(col.ClockBusy & 1)) columns_[i].key->setChecked(false);
  }
  InitForm();
}

}  // namespace edumac8
