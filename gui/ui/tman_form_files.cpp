// The main window's file commands: the assembly source (new, open, save, save as, save all),
// the assemble command, the source position the debugger shows, the manual, the
// instruction-system file, the CSV exports and the VHDL generation.
#include <Qsci/qsciscintilla.h>

#include <QFileInfo>
#include <QProcess>
#include <QTabWidget>

#include "asm/messages.h"
#include "isa/csv_export.h"
#include "isa/ins_file.h"
#include "isa/instruction_set_window.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "ui/tcpu_form.h"
#include "ui/tman_form.h"
#include "ui/tsrc_form.h"
#include "vhdl/vhdl_generator.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/run_lock.h"

namespace edumac8 {
namespace {

QString Msg(int number) { return QString::fromStdString(MessageText(number)); }

const char* const kWriteError = "写文件错误：";
const char* const kReadError = "读文件错误：";
const char* const kSourceFilter = "Assemble files (*.ASM)|*.ASM|ABEL files (*.ABL)|*.ABL";
const char* const kInsFilter = "指令系统/微程序(*.INS)|*.INS";

bool Unnamed(const QString& name) { return name.isEmpty() || name.startsWith("NONAME"); }

QString FileNameOnly(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

QList<TSRCForm*> TMANForm::FurtherSources() const {
  QList<TSRCForm*> sources;
  for (int i = 0; i < pgHost_->count(); ++i)
    if (auto* editor = qobject_cast<TSRCForm*>(pgHost_->widget(i))) sources << editor;
  return sources;
}

bool TMANForm::WriteSource(TSRCForm& editor, const QString& path) {
  if (editor.SaveToFile(path)) return true;
  dialogs_->Error(this, kWriteError + path);
  return false;
}

void TMANForm::New1Click() {
  source_->NewText("NONAME1");
  source_->setWindowTitle("*.ASM");
  workbench_.control.SourcePath = "*.ASM";
  pgLeft_->setCurrentWidget(source_);
  source_->HighlightFor("*.ASM");
}

void TMANForm::OpenFile1Click() {
  const QString path = dialogs_->OpenFileName(this, Msg(125), kSourceFilter, QString());
  if (!path.isEmpty()) OpenFile(path);
}

void TMANForm::OpenFile(const QString& path) {
  if (!HasExtension(path.toStdString(), ".ASM")) {
    if (!FileReadable(path.toStdString())) {
      dialogs_->Error(this, kReadError + path);
      return;
    }
    auto* further = new TSRCForm(workbench_, *this, TSRCForm::Kind::Further, path);
    further->setAttribute(Qt::WA_DeleteOnClose);
    further->setWindowTitle(FileNameOnly(path));
    DockPage(pgHost_, further);
    pgHost_->setCurrentWidget(further);
    return;
  }
  workbench_.control.SourcePath = path.toStdString();
  pgLeft_->setCurrentWidget(source_);
  if (!source_->LoadFromFile(path)) {
    dialogs_->Error(this, kReadError + path);
    return;
  }
  source_->setWindowTitle(FileNameOnly(path));
  source_->HighlightFor(path);
  workbench_.control.SourceModified = true;
  source_->Memo1()->setFocus();
}

bool TMANForm::SaveAs(TSRCForm& editor) {
  const QString title = Msg(126) + ' ' + editor.FileName() + ' ' + Msg(146);
  QString path = dialogs_->SaveFileName(this, title, ".ASM|*.ASM", editor.FileName());
  if (path.isEmpty()) return false;
  // The assembler looks for NAME.ASM when given NAME, so the file gets that name.
  if (Extension(path.toStdString()).empty()) path += ".ASM";
  if (!WriteSource(editor, path)) return false;
  editor.setWindowTitle(FileNameOnly(path));
  workbench_.control.SourcePath = path.toStdString();
  editor.HighlightFor(path);
  return true;
}

void TMANForm::SaveFileas1Click() { SaveAs(*source_); }

void TMANForm::SaveFile1Click() {
  if (Unnamed(source_->FileName())) {
    SaveAs(*source_);
    return;
  }
  WriteSource(*source_, source_->FileName());
  source_->HighlightFor(source_->FileName());
}

bool TMANForm::SaveFurtherSources() {
  bool ok = true;
  for (TSRCForm* further : FurtherSources())
    if (further->Modified()) ok = WriteSource(*further, further->FileName()) && ok;
  return ok;
}

void TMANForm::SaveAllFileClick() {
  SaveFurtherSources();
  // A text that was never named is written only once the user has named it.
  if (Unnamed(source_->FileName()) && !SaveAs(*source_)) return;
  if (WriteSource(*source_, source_->FileName()))
    workbench_.control.SourcePath = source_->FileName().toStdString();
}

void TMANForm::Make1Click() {
  if (workbench_.control.Running()) return;
  WaitForLink();
  QAction* makeButton = Action("MakeBtn");
  makeButton->setEnabled(false);
  SaveAllFileClick();
  source_->ClearErrorMarks();
  source_->ClearProgramCounterMark();
  const bool ok = workbench_.Make();
  makeButton->setEnabled(true);
  source_->RefreshLineGlyphs();
  if (!ok) ReportAssemblyError();
}

void TMANForm::ReportAssemblyError() {
  const std::string& text = workbench_.assembler.ErrorText();
  if (text.empty()) return;
  const int line = workbench_.assembler.ErrorLine();
  const auto placeCaret = [this, line] {
    if (line <= 0) return;
    pgLeft_->setCurrentWidget(source_);
    source_->GotoLine(line, 1);
    source_->Memo1()->setFocus();
  };
  if (line > 0) source_->AddErrorMark(line);
  placeCaret();
  dialogs_->Error(this, QString::fromStdString(text));
  placeCaret();
}

void TMANForm::OpenSource(const QString& path, int line, int mark, int column) {
  const std::string p = path.toStdString();
  if (p.empty() || Extension(p).empty() || HasExtension(p, ".PRJ")) return;
  if (!FileReadable(p)) {
    dialogs_->Information(this, "Can not found: " + path);
    return;
  }
  pgLeft_->setCurrentWidget(source_);
  if (line != -1) source_->GotoLine(line, column);
  if (mark == kProgramCounterMark)
    source_->SetProgramCounterMark(line);
  else if (mark == kErrorMark)
    source_->AddErrorMark(line);
}

void TMANForm::Manual1Click() {
  const QString path = QString::fromStdString(workbench_.HelpDir()) + "EDUMAC8.PDF";
  if (!FileReadable(path.toStdString())) {
    dialogs_->Information(this, Msg(102) + path);
    return;
  }
  QProcess::startDetached("xdg-open", {path});
}

void TMANForm::NewuMClick() {
  if (workbench_.control.Running()) return;
  workbench_.isa.MakeNew(workbench_.machine.uM);
  asmDef_->Refresh();
  InstructionSystemChanged();
}

void TMANForm::LoaduMClick() {
  if (workbench_.control.Running()) return;
  InstructionSystem& isa = workbench_.isa;
  if (isa.InsFileName.empty()) isa.InsFileName = "INST.INS";
  const QString path = dialogs_->OpenFileName(this, "打开指令系统/微程序文件", kInsFilter,
                                              QString::fromStdString(isa.InsFileName));
  if (path.isEmpty()) return;
  const std::optional<std::string> error =
      LoadInsFile(path.toStdString(), isa, workbench_.machine.uM);
  // A refused file changes nothing; one cut short leaves what was read, which the views show.
  if (!error || isa.InsFileName == path.toStdString()) {
    asmDef_->Refresh();
    InstructionSystemChanged();
  }
  if (error) dialogs_->Error(this, QString::fromStdString(*error));
}

void TMANForm::SaveuMClick() {
  InstructionSystem& isa = workbench_.isa;
  if (isa.InsFileName.empty()) isa.InsFileName = "INST.INS";
  const QString path = dialogs_->SaveFileName(this, "保存指令系统/微程序文件", kInsFilter,
                                              QString::fromStdString(isa.InsFileName));
  if (path.isEmpty()) return;
  if (const auto error = SaveInsFile(path.toStdString(), isa, workbench_.machine.uM))
    dialogs_->Error(this, QString::fromStdString(*error));
}

void TMANForm::SaveModifiedSystemAtExit() {
  if (workbench_.isa.UMModified) SaveuMClick();
}

void TMANForm::ExportCsv(int kind) {
  const auto csv = static_cast<CsvKind>(kind);
  const CsvDialogText text = CsvDialogFor(csv);
  const std::string proposed = ProposeCsvName(workbench_.isa, csv);
  const QString path =
      dialogs_->SaveFileName(this, QString::fromUtf8(text.title), QString::fromUtf8(text.filter),
                             QString::fromStdString(proposed));
  if (path.isEmpty()) return;
  std::optional<std::string> error;
  {
    RunLock lock(workbench_.control);
    error = edumac8::ExportCsv(csv, path.toStdString(), workbench_.isa, workbench_.machine);
  }
  if (error) dialogs_->Error(this, QString::fromStdString(*error));
}

void TMANForm::SaveINSTCSVClick() { ExportCsv(int(CsvKind::InstructionSet)); }
void TMANForm::SaveuMCSVClick() { ExportCsv(int(CsvKind::MicroProgram)); }
void TMANForm::SaveTraceCSVClick() { ExportCsv(int(CsvKind::Trace)); }

void TMANForm::ABELBtnClick() {
  std::optional<std::string> failed;
  {
    RunLock lock(workbench_.control);
    const VhdlFiles files = GenerateVhdl(workbench_.isa, workbench_.machine);
    failed = WriteVhdlFiles(workbench_.FpgaDir(), files);
  }
  // The files are written without asking; only a failure is worth a word.
  if (failed) dialogs_->Error(this, kWriteError + QString::fromStdString(*failed));
}

}  // namespace edumac8
