// The breakpoint marks as the debugger's breakpoints: the docked editor's marks are the ones
// that count. Execution control gets their addresses through the line map, the disassembly
// shows them, and floating copies show and change the same marks.
#include <Qsci/qsciscintilla.h>

#include "ui/tcpu_form.h"
#include "ui/tman_form.h"
#include "ui/tsrc_form.h"

namespace edumac8 {
namespace {

constexpr int kBreakpointMarkers = 1 << TSRCForm::kBreakpoint | 1 << TSRCForm::kBreakpointStepped |
                                   1 << TSRCForm::kBreakpointOnCode;

QList<TSRCForm*> FloatingCopies(TMANForm& main) {
  QList<TSRCForm*> copies;
  for (TSRCForm* editor : main.findChildren<TSRCForm*>(QString(), Qt::FindDirectChildrenOnly))
    if (editor->WindowKind() == TSRCForm::Kind::FloatingCopy && editor->SharesDockedMarks())
      copies << editor;
  return copies;
}

}  // namespace

std::vector<int> TSRCForm::BreakpointLines() const {
  std::vector<int> lines;
  for (int l = memo_->markerFindNext(0, kBreakpointMarkers); l >= 0;
       l = memo_->markerFindNext(l + 1, kBreakpointMarkers))
    lines.push_back(l + 1);
  return lines;
}

void TSRCForm::ShareDockedMarks(const TSRCForm& docked) {
  sharesDockedMarks_ = true;
  ShowBreakpointLines(docked.BreakpointLines());
}

void TSRCForm::ShowBreakpointLines(const std::vector<int>& lines) {
  for (int m : {kBreakpoint, kBreakpointStepped, kBreakpointOnCode}) memo_->markerDeleteAll(m);
  for (int line : lines)
    if (line >= 1 && line <= memo_->lines()) memo_->markerAdd(line - 1, kBreakpoint);
  glyphState_ = -1;
  RefreshLineGlyphs();
}

void TSRCForm::PublishBreakpoints() {
  if (kind_ != Kind::Docked) return;
  const std::vector<int> lines = BreakpointLines();
  workbench_.control.SetBreakpointLines(lines);
  for (TSRCForm* copy : FloatingCopies(main_)) copy->ShowBreakpointLines(lines);
  if (main_.CPUForm()) main_.CPUForm()->viewport()->update();
}

void TSRCForm::RunToCursor1Click() {
  if (!SharesDockedMarks()) return;  // another file has no line map
  int line = 0, index = 0;
  memo_->getCursorPosition(&line, &index);
  main_.RunToLine(line + 1);
}

}  // namespace edumac8
