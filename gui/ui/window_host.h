// The workbench window's side of execution control: the view hooks go to the windows that
// exist (a window not yet created is skipped), the question of message 784 goes to the
// main window's dialogs, and the run worker's epilogue is handed to the user-interface thread.
#pragma once

#include <atomic>

#include "machine/host.h"

namespace edumac8 {

class TMANForm;

class WindowHost : public Host {
 public:
  void Attach(TMANForm* form) { form_.store(form); }

  void DecodeTransfer() override;
  void RefreshDiagram() override;
  void RefreshMicroViews() override;
  void BuildLAChannels() override;
  void ResetLAView() override;
  void RepaintMemory() override;
  void ShowDisassemblyAt(std::uint32_t address) override;
  void ClearDisassemblyCache() override;
  void UpdateButtons() override;
  void OpenSource(const std::string& path, int line, int mark, int column) override;
  Answer AskReassemble() override;
  void Make() override;
  void RunLoopEnded() override;
  bool RunStepDone() override;

 private:
  // Read by the run worker when its loop ends.
  std::atomic<TMANForm*> form_{nullptr};
};

}  // namespace edumac8
