// TuMF, the micro-program window "uM 微程序": all 256 uM cells spelled out, the micro-address
// that executes next marked, and the bits of the shown micro-word as check boxes through which
// the user edits uM.
#pragma once

#include "views/micro_word_window.h"

namespace edumac8 {

class TuTRCF;

class TuMF : public MicroWordWindow {
  Q_OBJECT

 public:
  TuMF(Workbench& workbench, TuTRCF& trace, QWidget* parent = nullptr);

  // Rebuilds StepCountTable and rewrites the grid from uM and uPC.
  void FillMicroProgramGrid();
  // Shows CurrentMicroWord() in the bit panel, makes `a` the shown micro-address (where bit
  // edits go) and rewrites the register panel.
  void ShowMicroWord(int a);
  // The refresh after every step, reset, assembly and load: trace grid at the newest record,
  // this grid at uPC, the newest record back into the live state, both bit panels. While a
  // run is in progress the caller holds OuterLock and InnerLock.
  void RefreshMicroViews();

  int ShownMicroAddress() const { return shownAddress_; }

 protected:
  void uMGridSelectCell(int r) override;
  void MMClick(int bit, bool checked) override;

 private:
  TuTRCF& trace_;
  int shownAddress_ = 0;
  std::uint32_t shownWord_ = 0;
};

}  // namespace edumac8
