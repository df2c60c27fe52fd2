// The main window's file commands: the assembly source (new, open, save, save as, save all),
// the assemble command, the source position the debugger shows, the manual, the
// instruction-system file, the CSV exports, the VHDL generation and the questions at exit.
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
#include "ui/file_names.h"
#include "ui/status_line.h"
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
const char* const kSourceFilter = "Assemble files (*.ASM)|*.ASM|ABEL files (*.ABL)|*.ABL";
const char* const kInsFilter = "指令系统/微程序(*.INS)|*.INS";
const char* const kUtf8Warning = "此文件不是 GB2312 编码，已按 UTF-8 读入；保存时将转换为 GB2312：";
const char* const kSystemModifiedQuestion = "指令系统/微程序已修改, 保存?";
const char* const kDefaultInsName = "DEFAULT.INS";

bool Unnamed(const QString& name) { return name.isEmpty() || name.startsWith("NONAME"); }

QString FileNameOnly(const QString& path) { return DisplayPath(QFileInfo(path).fileName()); }

// A core file error ("写文件错误：" and the path's bytes) with the path as a person reads it.
QString FileErrorText(const std::string& error, const QString& path) {
  const std::string bytes = PathBytes(path);
  if (!error.ends_with(bytes)) return QString::fromStdString(error);
  return QString::fromStdString(error.substr(0, error.size() - bytes.size())) + DisplayPath(path);
}

// A name typed without an extension gets the one the dialog is for.
QString WithExtension(const QString& path, const char* dotExt) {
  return Extension(PathBytes(path)).empty() ? path + dotExt : path;
}

}  // namespace

QList<TSRCForm*> TMANForm::FurtherSources() const {
  QList<TSRCForm*> sources;
  for (int i = 0; i < pgHost_->count(); ++i)
    if (auto* editor = qobject_cast<TSRCForm*>(pgHost_->widget(i))) sources << editor;
  return sources;
}

bool TMANForm::WriteSource(TSRCForm& editor, const QString& path) {
  if (editor.SaveToFile(path)) return true;
  dialogs_->Error(this, kWriteError + DisplayPath(path));
  return false;
}

void TMANForm::New1Click() {
  if (!source_->QuerySave()) return;
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
  const bool assembly = HasExtension(PathBytes(path), ".ASM");
  const TSRCForm::TextFile file = TSRCForm::ReadTextFile(path);
  // The source path is taken even for a file that cannot be read, so that the next Make
  // reports it; a file that is not text is not taken at all.
  if (assembly && !file.readable) workbench_.control.SourcePath = PathBytes(path);
  if (!file.text) {
    dialogs_->Error(this, file.error);
    return;
  }
  if (!assembly) {
    auto* further = new TSRCForm(workbench_, *this, TSRCForm::Kind::Further);
    further->ShowFile(path, *file.text);
    further->setAttribute(Qt::WA_DeleteOnClose);
    further->setWindowTitle(FileNameOnly(path));
    DockPage(pgHost_, further);
    pgHost_->setCurrentWidget(further);
  } else {
    // The editor's unsaved text goes only when the user has said what becomes of it.
    if (!source_->QuerySave()) return;
    workbench_.control.SourcePath = PathBytes(path);
    pgLeft_->setCurrentWidget(source_);
    source_->ShowFile(path, *file.text);
    source_->setWindowTitle(FileNameOnly(path));
    source_->HighlightFor(path);
    workbench_.control.SourceModified = true;
    source_->Memo1()->setFocus();
  }
  if (file.text->encoding == TextEncoding::Utf8)
    dialogs_->Information(this, kUtf8Warning + DisplayPath(path));
}

bool TMANForm::SaveAs(TSRCForm& editor) {
  const QString title = Msg(126) + ' ' + editor.FileName() + ' ' + Msg(146);
  QString path = dialogs_->SaveFileName(this, title, ".ASM|*.ASM", editor.FileName());
  if (path.isEmpty()) return false;
  // The assembler looks for NAME.ASM when given NAME, so the file gets that name.
  path = WithExtension(path, ".ASM");
  if (!WriteSource(editor, path)) return false;
  editor.setWindowTitle(FileNameOnly(path));
  workbench_.control.SourcePath = PathBytes(path);
  editor.HighlightFor(path);
  return true;
}

void TMANForm::SaveFileas1Click() { SaveAs(*source_); }

void TMANForm::SaveFile1Click() { SaveSource(); }

bool TMANForm::SaveSource() {
  if (Unnamed(source_->FileName())) return SaveAs(*source_);
  // A file nobody changed is never written: its bytes stay exactly as they are.
  if (!source_->Modified()) return true;
  const bool saved = WriteSource(*source_, source_->FileName());
  source_->HighlightFor(source_->FileName());
  return saved;
}

void TMANForm::SaveFurtherSources() {
  for (TSRCForm* further : FurtherSources())
    if (further->Modified()) WriteSource(*further, further->FileName());
}

void TMANForm::SaveAllFileClick() { SaveAllFiles(); }

// Writes the modified texts. False when the source that Make assembles could not be saved or
// was left unnamed; a further file that could not be saved is reported and stops nothing.
bool TMANForm::SaveAllFiles() {
  SaveFurtherSources();
  if (!SaveSource()) return false;
  workbench_.control.SourcePath = PathBytes(source_->FileName());
  return true;
}

void TMANForm::Make1Click() {
  if (workbench_.control.Running()) return;
  WaitForLink();
  QAction* makeButton = Action("MakeBtn");
  makeButton->setEnabled(false);
  // An unsaved text is never assembled from an older file, nor a never named one from
  // nothing: when saving fails or is cancelled there is no assembly.
  if (!SaveAllFiles()) {
    makeButton->setEnabled(true);
    return;
  }
  source_->ClearErrorMarks();
  source_->ClearProgramCounterMark();
  const bool ok = workbench_.Make();
  makeButton->setEnabled(true);
  source_->RefreshLineGlyphs();
  source_->PublishBreakpoints();  // the marks have moved with the text
  if (ok) {
    status_->ShowOutcome(QString("汇编成功：%1 字节").arg(workbench_.assembler.ProgramBytes()),
                         false);
  } else {
    status_->ShowOutcome(QString::fromStdString(workbench_.assembler.ErrorText()), true);
    ReportAssemblyError();
  }
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
  const std::string p = PathBytes(path);
  if (p.empty() || Extension(p).empty() || HasExtension(p, ".PRJ")) return;
  // While a run goes on the views follow it many times a second: the page in front, the
  // caret and the user's typing stay as they are, and a missing file is reported once the
  // run has stopped.
  const bool running = workbench_.control.Running();
  if (!FileReadable(p)) {
    if (!running) dialogs_->Information(this, "Can not found: " + DisplayPath(path));
    return;
  }
  if (!running) pgLeft_->setCurrentWidget(source_);
  if (running && line != -1)
    source_->Memo1()->ensureLineVisible(line - 1);
  else if (line != -1)
    source_->GotoLine(line, column);
  if (mark == kProgramCounterMark)
    source_->SetProgramCounterMark(line);
  else if (mark == kErrorMark)
    source_->AddErrorMark(line);
}

void TMANForm::Manual1Click() {
  const QString path = PathText(workbench_.HelpDir() + "EDUMAC8.PDF");
  if (!FileReadable(PathBytes(path))) {
    dialogs_->Information(this, Msg(102) + DisplayPath(path));
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

void TMANForm::DefaultuMClick() {
  if (workbench_.control.Running()) return;
  InstructionSystem& isa = workbench_.isa;
  isa.LoadDefaults(workbench_.machine.uM);
  // Unlike the start-up defaults, this replaced the user's system: exit offers to save it.
  isa.UMModified = true;
  asmDef_->Refresh();
  InstructionSystemChanged();
}

void TMANForm::LoaduMClick() {
  if (workbench_.control.Running()) return;
  InstructionSystem& isa = workbench_.isa;
  if (isa.InsFileName.empty()) isa.InsFileName = "INST.INS";
  const QString path = dialogs_->OpenFileName(this, "打开指令系统/微程序文件", kInsFilter,
                                              PathText(isa.InsFileName));
  if (path.isEmpty()) return;
  // A file that does not load whole changes nothing.
  if (const auto error = LoadInsFile(PathBytes(path), isa, workbench_.machine.uM)) {
    dialogs_->Error(this, FileErrorText(*error, path));
    return;
  }
  asmDef_->Refresh();
  InstructionSystemChanged();
}

bool TMANForm::SaveInstructionSystem(const QString& proposed) {
  QString path = dialogs_->SaveFileName(this, "保存指令系统/微程序文件", kInsFilter, proposed);
  if (path.isEmpty()) return false;
  path = WithExtension(path, ".INS");
  if (const auto error = SaveInsFile(PathBytes(path), workbench_.isa, workbench_.machine.uM)) {
    dialogs_->Error(this, FileErrorText(*error, path));
    return false;
  }
  return true;
}

void TMANForm::SaveuMClick() {
  InstructionSystem& isa = workbench_.isa;
  if (isa.InsFileName.empty()) isa.InsFileName = "INST.INS";
  SaveInstructionSystem(PathText(isa.InsFileName));
}

bool TMANForm::CloseQuery() {
  QList<TSRCForm*> texts{source_};
  texts << FurtherSources() << findChildren<TSRCForm*>(QString(), Qt::FindDirectChildrenOnly);
  for (TSRCForm* text : texts)
    if (!text->QuerySave()) return false;
  if (!workbench_.isa.UMModified) return true;
  switch (dialogs_->Question(this, kSystemModifiedQuestion)) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    case Answer::Yes:
      break;
  }
  const std::string& remembered = workbench_.isa.InsFileName;
  return SaveInstructionSystem(HasExtension(remembered, ".INS") ? PathText(remembered)
                                                                : kDefaultInsName);
}

void TMANForm::ExportCsv(int kind) {
  const auto csv = static_cast<CsvKind>(kind);
  const CsvDialogText text = CsvDialogFor(csv);
  const std::string proposed =
      ProposeCsvName(PathBytes(csvFileName_), workbench_.control.SourcePath, csv);
  QString path = dialogs_->SaveFileName(this, QString::fromUtf8(text.title),
                                        QString::fromUtf8(text.filter), PathText(proposed));
  if (path.isEmpty()) return;
  const std::string target = CsvTargetPath(PathBytes(path));
  std::optional<std::string> error;
  {
    RunLock lock(workbench_.control);
    error = edumac8::ExportCsv(csv, target, workbench_.isa, workbench_.machine);
  }
  // A refused instruction-system file is not remembered: it must not be proposed again.
  if (!HasExtension(target, ".INS")) csvFileName_ = PathText(target);
  if (error) dialogs_->Error(this, FileErrorText(*error, PathText(target)));
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
  // The files are written without asking; a failure is worth a box, success a word below.
  if (failed) {
    const QString error = kWriteError + DisplayPath(PathText(*failed));
    status_->ShowOutcome(error, true);
    dialogs_->Error(this, error);
    return;
  }
  status_->ShowOutcome("VHDL 文件已写入：" + DisplayPath(PathText(workbench_.FpgaDir())), false);
}

}  // namespace edumac8
