#include "ui/window_host.h"

#include <QMetaObject>

#include "asm/messages.h"
#include "diagram/structure_diagram.h"
#include "la/tla_form.h"
#include "ui/file_names.h"
#include "ui/tcpu_form.h"
#include "ui/tman_form.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"

namespace edumac8 {

void WindowHost::DecodeTransfer() {
  if (TMANForm* form = form_.load(); form && form->Flow()) form->Flow()->DecodeTransfer();
}

void WindowHost::RefreshDiagram() {
  if (TMANForm* form = form_.load(); form && form->Flow()) form->Flow()->RefreshDiagram();
}

void WindowHost::BuildLAChannels() {
  if (TMANForm* form = form_.load(); form && form->LAForm()) form->LAForm()->BuildLAChannels();
}

void WindowHost::ResetLAView() {
  if (TMANForm* form = form_.load(); form && form->LAForm()) form->LAForm()->ResetLAView();
}

void WindowHost::RefreshMicroViews() {
  if (TMANForm* form = form_.load(); form && form->uMF()) form->uMF()->RefreshMicroViews();
}

void WindowHost::RepaintMemory() {
  if (TMANForm* form = form_.load(); form && form->DataF()) form->DataF()->RepaintMemory();
}

void WindowHost::ShowDisassemblyAt(std::uint32_t address) {
  TMANForm* form = form_.load();
  if (form && form->CPUForm() && form->CPUForm()->IsOpen())
    form->CPUForm()->ShowAddress(static_cast<std::uint8_t>(address), true);
}

void WindowHost::ClearDisassemblyCache() {
  if (TMANForm* form = form_.load(); form && form->CPUForm()) form->CPUForm()->ResetAddressCache();
}

void WindowHost::UpdateButtons() {
  if (TMANForm* form = form_.load()) form->UpdateButtons();
}

void WindowHost::OpenSource(const std::string& path, int line, int mark, int column) {
  if (TMANForm* form = form_.load()) form->OpenSource(PathText(path), line, mark, column);
}

Answer WindowHost::AskReassemble() {
  TMANForm* form = form_.load();
  if (!form) return Answer::Cancel;
  return form->Dialogs().Question(form, QString::fromStdString(MessageText(784)));
}

void WindowHost::Make() {
  if (TMANForm* form = form_.load()) form->Make1Click();
}

void WindowHost::RunLoopEnded() {
  // On the worker's thread: the epilogue runs on the user-interface thread, after the worker
  // has let go of the machine.
  if (TMANForm* form = form_.load())
    QMetaObject::invokeMethod(
        form, [form] { form->RunFinished(); }, Qt::QueuedConnection);
}

bool WindowHost::RunStepDone() {
  // On the worker's thread, which waits until the step has been shown.
  TMANForm* form = form_.load();
  if (!form) return false;
  QMetaObject::invokeMethod(
      form, [form] { form->workbench().control.ShowRunStep(); }, Qt::QueuedConnection);
  return true;
}

}  // namespace edumac8
