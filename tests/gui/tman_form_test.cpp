// The workbench window driven as a user drives it: files through the (scripted) dialogs,
// commands through the keys and buttons, results read from the windows and the machine.
#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

#include "asm/messages.h"
#include "gui_test_support.h"
#include "isa/disassembler.h"
#include "isa/grid_rows.h"
#include "isa/instruction_set_window.h"
#include "link/box_link.h"
#include "link/link_status.h"
#include "platform/paths.h"
#include "ui/tcpu_form.h"
#include "ui/tsrc_form.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/trace_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

QString Msg(int n) { return QString::fromStdString(MessageText(n)); }

// Reads memory byte 40H into A and shows it: the second instruction's micro-steps read EM.
const char* const kReadByteProgram =
    "        ORG     0\n"
    "        MOV     A, 40H\n"
    "        OUT\n"
    "HALT:   JMP     HALT\n"
    "        ORG     40H\n"
    "        DB      11H\n"
    "        END\n";

QStringList TabTexts(const QTabWidget* area) {
  QStringList texts;
  for (int i = 0; i < area->count(); ++i) texts << area->tabText(i);
  return texts;
}

// The disassembly line that shows `address` among the visible ones; 0 when none.
int VisibleLineOf(TCPUForm& cpu, int address) {
  for (int line = cpu.TopLine(); line < cpu.TopLine() + cpu.VisibleLines() && line <= 256; ++line)
    if (cpu.LineAddress(line) == address) return line;
  return 0;
}

QStringList FileLines(const QString& path) {
  QString text = ReadText(path);
  if (text.endsWith("\r\n")) text.chop(2);
  return text.split("\r\n");
}

}  // namespace

class TMANFormTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  Workbench& wb() { return form_->workbench(); }
  TSRCForm& src() { return *form_->SRCForm(); }

  void OpenAndAssemble(const QString& path) {
    OpenThroughDialog(*form_, log_, path);
    Press(*form_, Qt::Key_F9);
    QVERIFY2(wb().assembler.AssembledOK(), qPrintable(log_.errors.join('\n')));
  }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
  }
  void cleanup() { form_.reset(); }

  void startUpShowsTheAreasPagesAndCaption() {
    QCOMPARE(form_->windowTitle(),
             QString("EDUMAC8 计算机组成原理实验系统  开源教学实验室 www.edumac8.example   "
                     " 未连接 EDUMAC8 实验仪"));
    QCOMPARE(TabTexts(form_->pgLeft()), QStringList({"反汇编", "*.ASM", "EM 程序"}));
    QCOMPARE(TabTexts(form_->pgBottom()), QStringList({"指令系统", "uM 微程序", "跟踪"}));
    QCOMPARE(TabTexts(form_->pgHost()), QStringList({"结构图", "图示帮助", "逻辑分析"}));
    QCOMPARE(form_->pgBottom()->currentWidget(), static_cast<QWidget*>(form_->ASMDef()));
    QCOMPARE(form_->pgLeft()->width(), TMANForm::kLeftWidth);
    QCOMPARE(form_->pgBottom()->height(), TMANForm::kBottomHeight);
    QCOMPARE(src().FileName(), QString("NONAME1"));
    QVERIFY(wb().control.SourcePath.empty());
    QVERIFY(form_->Timer1()->isActive());
    QCOMPARE(form_->Timer1()->interval(), 1000);
  }

  void toolbarHasEveryButtonInOrderWithItsHint() {
    const QStringList expected = {"RefreshBtn", "OpenFileBtn", "SaveAllBtn",  "MakeBtn",  "CutBtn",
                                  "CopyBtn",    "PasteBtn",    "ResetBtn",    "PauseBtn", "RunBtn",
                                  "TraceBtn",   "StepBtn",     "RunSpeedBox", "ABELBtn",  "IntBtn",
                                  "sbDrawBus",  "sbAnimate",   "sbFPGAOpen"};
    QStringList names;
    for (QAction* a : form_->findChild<QToolBar*>("Panel1")->actions())
      if (!a->isSeparator()) names << a->objectName();
    QCOMPARE(names, expected);
    QCOMPARE(form_->Action("TraceBtn")->toolTip(), QString("单微指令运行"));
    QCOMPARE(form_->Action("ABELBtn")->toolTip().split('\n').size(), 4);
    QVERIFY(!form_->Action("sbDrawBus")->isChecked());
    QVERIFY(form_->Action("sbAnimate")->isChecked());
    QVERIFY(!form_->Action("sbAnimate")->isVisible());
    // Stopped: pause is the only execution button that is off.
    QVERIFY(!form_->Action("PauseBtn")->isEnabled());
    QVERIFY(form_->Action("StepBtn")->isEnabled());
  }

  void editMenuFollowsTheEditor() {
    QMenu* edit = form_->findChild<QMenu*>("Edit1");
    emit edit->aboutToShow();
    QVERIFY(!form_->Action("Undo1")->isEnabled());
    QVERIFY(!form_->Action("Selectall1")->isEnabled());
    QVERIFY(!form_->Action("CutBtn")->isEnabled());
    QTest::keyClicks(src().Memo1(), "NOP");
    src().Memo1()->selectAll();
    emit edit->aboutToShow();
    QVERIFY(form_->Action("Undo1")->isEnabled());
    QVERIFY(form_->Action("Cut1")->isEnabled());
    QVERIFY(form_->Action("CutBtn")->isEnabled());
    form_->Action("Cut1")->trigger();
    QVERIFY(src().Empty());
    QTRY_VERIFY(form_->Action("PasteBtn")->isEnabled());  // the clipboard now holds text
    form_->Action("Undo1")->trigger();
    QCOMPARE(src().Memo1()->text(), QString("NOP"));
  }

  void menuItemsCarryMessageCaptionsAndShortcuts() {
    const struct {
      const char* name;
      int message;
      const char* keys;
    } items[] = {{"OpenFile1", 702, "F3"},   {"SaveFile1", 703, "F2"},  {"Make1", 739, "F9"},
                 {"Run2", 756, "Ctrl+F9"},   {"Traceinto1", 743, "F7"}, {"StepOver1", 742, "F8"},
                 {"Reset1", 747, "Ctrl+F2"}, {"Exit2", 708, ""}};
    for (const auto& item : items) {
      QAction* action = form_->Action(item.name);
      QVERIFY2(action, item.name);
      QCOMPARE(action->text(), Msg(item.message));
      QCOMPARE(action->shortcut(), QKeySequence(item.keys));
    }
    // A message without an underlined letter gets one.
    QCOMPARE(form_->Action("SaveTraceCSV")->text(), QString("保存跟踪为CSV(&T)..."));
  }

  void openAssembleAndStepThroughAnInstruction() {
    const QString path = WriteSource(dir_, "READ.ASM", kReadByteProgram);
    OpenThroughDialog(*form_, log_, path);
    QCOMPARE(log_.titles.last(), Msg(125));
    QCOMPARE(src().windowTitle(), QString("READ.ASM"));
    QVERIFY(src().Highlighted());
    QVERIFY(wb().control.SourceModified);

    // F8 assembles first (the source is new), then fetches the first instruction.
    Press(*form_, Qt::Key_F8);
    QVERIFY(wb().assembler.AssembledOK());
    Press(*form_, Qt::Key_F8);
    Machine& m = wb().machine;
    QCOMPARE(int(m.InstrAddr), 2);  // MOV A,MM done, OUT fetched
    QCOMPARE(int(m.state[Field::A]), 0x11);

    TCPUForm& cpu = *form_->CPUForm();
    const int line = VisibleLineOf(cpu, 2);
    QVERIFY(line > 0);
    QCOMPARE(cpu.LineText(line).trimmed(),
             QString::fromStdString(DisassembleAt(wb().isa, m.EM, 2).text).trimmed());
    QCOMPARE(src().ProgramCounterLine(), wb().assembler.AddressToLine(2)->line);
    QCOMPARE(src().ProgramCounterLine(), 3);
    QCOMPARE(form_->pgLeft()->currentWidget(), static_cast<QWidget*>(&src()));

    TuMF& micro = *form_->uMF();
    QCOMPARE(micro.CurrentGridRow(), m.state[Field::uPC] + 1);
    QVERIFY(QString::fromStdString(micro.Model().Row(m.state[Field::uPC])[2]).startsWith("-> "));
    TuTRCF& trace = *form_->uTRCF();
    const int count = m.history.Count();
    QCOMPARE(count, 1 + 1 + 3);  // reset, fetch, two steps of MOV A,MM and the fetch of OUT
    QVERIFY(QString::fromStdString(trace.Model().Row(count - 1)[2]).startsWith("-> "));
    QVERIFY(!trace.Model().Row(count - 1)[3].empty());
    QVERIFY(trace.Model().Row(count)[3].empty());

    // Ctrl+F2 resets: one trace row, everything back at address 0.
    Press(*form_, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(m.history.Count(), 1);
    QCOMPARE(int(m.InstrAddr), 0);
    QCOMPARE(src().ProgramCounterLine(), wb().assembler.AddressToLine(0)->line);
    QCOMPARE(cpu.Cache().Anchor(), 0);
  }

  void editedSourceAsksBeforeTheNextStep() {
    OpenAndAssemble(WriteSource(dir_, "READ.ASM", kReadByteProgram));
    Press(*form_, Qt::Key_F8);
    const int steps = wb().machine.history.Count();

    src().Memo1()->setCursorPosition(0, 0);
    QTest::keyClicks(src().Memo1(), ";");
    QCOMPARE(src().ModifiedText(), QString("Modified"));
    QVERIFY(wb().control.SourceModified);

    // No: the edit stays unassembled and the step goes on from where it was.
    log_.answers.push_back(Answer::No);
    Press(*form_, Qt::Key_F7);
    QCOMPARE(log_.questions, QStringList({Msg(784)}));
    QVERIFY(!wb().control.SourceModified);
    QCOMPARE(wb().machine.history.Count(), steps + 1);

    // Yes: saved, assembled, reset, then stepped once.
    QTest::keyClicks(src().Memo1(), ";");
    log_.answers.push_back(Answer::Yes);
    Press(*form_, Qt::Key_F7);
    QCOMPARE(log_.questions.size(), 2);
    QCOMPARE(wb().machine.history.Count(), 2);
    QCOMPARE(ReadText(src().FileName()), src().Memo1()->text());
    QVERIFY(QFile::exists(dir_.filePath("READ.BAK")));

    // Cancel: nothing runs.
    QTest::keyClicks(src().Memo1(), ";");
    log_.answers.push_back(Answer::Cancel);
    Press(*form_, Qt::Key_F7);
    QCOMPARE(wb().machine.history.Count(), 2);
    QVERIFY(wb().control.SourceModified);
  }

  void memoryEditReachesTheNextMicroStep() {
    OpenAndAssemble(WriteSource(dir_, "READ.ASM", kReadByteProgram));
    Press(*form_, Qt::Key_F8);  // fetch MOV A,40H
    TDataF& memory = *form_->DataF();
    memory.SetCurrentCell({4, 1});
    memory.DmpGridKeyPress('4');
    memory.DmpGridKeyPress('1');
    QCOMPARE(int(wb().machine.EM[0x40]), 0x41);
    QCOMPARE(int(wb().machine.CurrentRecord.EM[0x40]), 0x41);
    QCOMPARE(memory.CurrentCell(), (DumpCell{4, 2}));
    Press(*form_, Qt::Key_F8);
    QCOMPARE(int(wb().machine.state[Field::A]), 0x41);
    QVERIFY(log_.errors.isEmpty());
  }

  void tickingABitWritesTheMicroProgram() {
    TuMF& micro = *form_->uMF();
    form_->pgBottom()->setCurrentWidget(&micro);
    micro.SelectGridRow(0x11 + 1);
    QCheckBox* aen = micro.BitPanel().Box(3);
    QVERIFY(!aen->isChecked());
    QTest::mouseClick(aen, Qt::LeftButton);
    QCOMPARE(wb().machine.uM[0x11], 0x00FFFE98u);
    QVERIFY(wb().isa.UMModified);
    QCOMPARE(int(wb().machine.state[Field::uPC]), 0x11);

    // The trace window's boxes do not edit.
    TuTRCF& trace = *form_->uTRCF();
    form_->pgBottom()->setCurrentWidget(&trace);
    const MicroProgram before = wb().machine.uM;
    QTest::mouseClick(trace.BitPanel().Box(3), Qt::LeftButton);
    QCOMPARE(wb().machine.uM, before);

    // At exit the changed system is offered for saving.
    const QString path = dir_.filePath("EXIT.INS");
    log_.answers.push_back(Answer::Yes);
    log_.paths.push_back(path);
    QVERIFY(form_->close());
    QVERIFY(QFile::exists(path));
    QVERIFY(!wb().isa.UMModified);
  }

  void instructionSetModifyAndDeleteReportTheirRules() {
    TFASMDef& def = *form_->ASMDef();
    auto* opd = def.findChild<QLineEdit*>("OPD");
    auto* op1 = def.findChild<QComboBox*>("OP1");
    QVERIFY(opd && op1);

    // The protected fetch entry refuses both, with the instruction system's own texts.
    InstructionSystem copy = wb().isa;
    const std::optional<std::string> refusal = copy.DeleteEntry(kFetchEntry);
    QVERIFY(refusal);
    def.SelectEntry(kFetchEntry);
    def.DeleteBtnClick();
    QCOMPARE(log_.errors, QStringList({QString::fromStdString(*refusal)}));
    QVERIFY(wb().isa.InstrTable[kFetchEntry].defined);

    // A new instruction in a free group appears in the micro-program window's rows.
    const int free = 2;  // op-codes 08-0B
    QVERIFY(!wb().isa.InstrTable[free].defined);
    def.SelectEntry(free);
    opd->setText("inc");
    def.OPDExit();
    op1->setCurrentIndex(1);  // A
    def.OP1Change(1);
    def.ModifyBtnClick();
    QCOMPARE(log_.errors.size(), 1);
    QCOMPARE(wb().isa.InstrTable[free].mnemonic, std::string("INC"));
    QCOMPARE(form_->uMF()->Model().Row(free * 4)[0], wb().isa.InstrTextTable[free]);

    // The same mnemonic with the same operands again is refused with the rule's text.
    const int other = 3;
    copy = wb().isa;
    const std::optional<std::string> duplicate = copy.ModifyEntry(other, "INC", 1, 0);
    QVERIFY(duplicate);
    def.SelectEntry(other);
    opd->setText("INC");
    def.OPDExit();
    op1->setCurrentIndex(1);
    def.OP1Change(1);
    def.ModifyBtnClick();
    QCOMPARE(log_.errors.last(), QString::fromStdString(*duplicate));
    QVERIFY(!wb().isa.InstrTable[other].defined);

    def.SelectEntry(free);
    def.DeleteBtnClick();
    QVERIFY(!wb().isa.InstrTable[free].defined);
  }

  void instructionSystemFileSavesAndLoads() {
    const QString path = dir_.filePath("MY.INS");
    log_.paths.push_back(path);
    form_->SaveuMClick();
    QCOMPARE(log_.proposals.last(), QString("INST.INS"));
    QCOMPARE(log_.titles.last(), QString("保存指令系统/微程序文件"));
    QVERIFY(QFile::exists(path));

    const MicroProgram defaults = wb().machine.uM;
    const std::string addText = form_->uMF()->Model().Row(0x10)[0];
    QCOMPARE(QString::fromStdString(addText).simplified(), QString("ADD A, R?"));
    form_->NewuMClick();
    QCOMPARE(wb().machine.uM[0x10], 0x00FFFFFFu);
    QVERIFY(form_->uMF()->Model().Row(0x10)[0] != addText);

    log_.paths.push_back(path);
    form_->LoaduMClick();
    QCOMPARE(log_.titles.last(), QString("打开指令系统/微程序文件"));
    QCOMPARE(wb().machine.uM, defaults);
    QCOMPARE(QString::fromStdString(form_->uMF()->Model().Row(0x10)[0]),
             QString::fromStdString(addText));
    QVERIFY(log_.errors.isEmpty());

    // A foreign file is refused once, after the dialog, and changes nothing.
    const QString foreign = WriteSource(dir_, "BAD.INS", "not an instruction system\n");
    form_->NewuMClick();
    log_.paths.push_back(foreign);
    form_->LoaduMClick();
    QCOMPARE(log_.errors, QStringList({"文件格式错误：" + foreign}));
    QCOMPARE(wb().machine.uM[0x10], 0x00FFFFFFu);
  }

  void csvExportsWriteTheGridsThroughTheCommands() {
    const QString inst = dir_.filePath("I.CSV"), um = dir_.filePath("U.CSV"),
                  trace = dir_.filePath("T.CSV");
    log_.paths = {inst, um, trace};
    form_->SaveINSTCSVClick();
    QCOMPARE(log_.proposals.last(), QString("INST.CSV"));
    form_->SaveuMCSVClick();
    QCOMPARE(log_.proposals.last(), inst);  // the exports remember the last CSV file
    form_->SaveTraceCSVClick();
    QCOMPARE(log_.titles, QStringList({"保存指令系统为 CSV", "微程序为 CSV", "跟踪 为 CSV"}));
    QCOMPARE(FileLines(inst).size(), 66);
    QCOMPARE(FileLines(um).size(), 258);
    QCOMPARE(FileLines(trace).size(), 3);
    QCOMPARE(FileLines(trace).first(), QString("Sep=;"));
    QVERIFY(log_.errors.isEmpty());
    // The instruction-system commands keep their own name.
    form_->SaveuMClick();
    QCOMPARE(log_.proposals.last(), QString("INST.INS"));
  }

  void makeOfANeverSavedTextOffersSaveAsFirst() {
    src().Memo1()->insert("        ORG 0\r\n        NOP\r\n        END\r\n");
    const QString path = dir_.filePath("X");
    log_.paths.push_back(path);
    Press(*form_, Qt::Key_F9);
    QCOMPARE(log_.titles.last(), Msg(126) + " NONAME1 " + Msg(146));
    QCOMPARE(QString::fromStdString(wb().control.SourcePath), path + ".ASM");
    QVERIFY(wb().assembler.AssembledOK());
    QCOMPARE(src().windowTitle(), QString("X.ASM"));
    QCOMPARE(form_->CPUForm()->Cache().Anchor(), 0);

    // Cancelling Save as writes nothing and assembles nothing new.
    form_->New1Click();
    QCOMPARE(QString::fromStdString(wb().control.SourcePath), QString("*.ASM"));
    src().Memo1()->insert("        END\r\n");
    Press(*form_, Qt::Key_F9);
    QVERIFY(!QFile::exists("NONAME1"));
  }

  void runDisablesTheStepCommandsUntilPaused() {
    OpenAndAssemble(WriteSource(dir_, "READ.ASM", kReadByteProgram));
    Press(*form_, Qt::Key_F9);
    Press(*form_, Qt::Key_F9, Qt::ControlModifier);
    QVERIFY(wb().control.Running());
    QVERIFY(!form_->Action("StepBtn")->isEnabled());
    QVERIFY(form_->Action("PauseBtn")->isEnabled());
    const bool steppedBefore = wb().control.Stepped;
    Press(*form_, Qt::Key_F9);  // Make is off while running
    QVERIFY(wb().control.Running());
    QCOMPARE(wb().control.Stepped, steppedBefore);
    form_->RefreshBtnClick();  // waits for the step in progress, then lets the run go on
    QVERIFY(wb().control.Running());

    QTest::qWait(50);  // long enough for far more than 256 micro-steps
    form_->PauseBtnClick();
    QTRY_VERIFY(!wb().control.Running());
    QTRY_VERIFY(form_->Action("StepBtn")->isEnabled());
    QCOMPARE(wb().machine.history.Count(), 256);
    QCOMPARE(src().ProgramCounterLine(),
             wb().assembler.AddressToLine(wb().machine.InstrAddr)->line);
  }

  void assemblyErrorPutsTheCaretOnItsLine() {
    const QString path = WriteSource(
        dir_, "BAD.ASM", "        ORG 0\n        NOP\n        JMP NOWHERE\n        END\n");
    OpenThroughDialog(*form_, log_, path);
    Press(*form_, Qt::Key_F9);
    QVERIFY(!wb().assembler.AssembledOK());
    QCOMPARE(log_.errors, QStringList({QString::fromStdString(wb().assembler.ErrorText())}));
    int line = 0, index = 0;
    src().Memo1()->getCursorPosition(&line, &index);
    QCOMPARE(line + 1, wb().assembler.ErrorLine());
    QCOMPARE(index, 0);
    QVERIFY(src().HasErrorMark(wb().assembler.ErrorLine()));
    // The next Make clears the error marks.
    Press(*form_, Qt::Key_F9);
    QCOMPARE(log_.errors.size(), 2);
  }

  void openingAFileOtherThanAsmAddsAPage() {
    const QString asmPath = WriteSource(dir_, "MAIN.ASM", kReadByteProgram);
    OpenThroughDialog(*form_, log_, asmPath);
    const QString abl = WriteSource(dir_, "TEST.ABL", "MODULE test\nEND\n");
    OpenThroughDialog(*form_, log_, abl);
    QCOMPARE(form_->pgHost()->count(), 4);
    QCOMPARE(form_->pgHost()->tabText(3), QString("TEST.ABL"));
    QCOMPARE(form_->FurtherSources().size(), 1);
    QVERIFY(!form_->FurtherSources().first()->Highlighted());
    QCOMPARE(QString::fromStdString(wb().control.SourcePath), asmPath);
    QCOMPARE(src().windowTitle(), QString("MAIN.ASM"));
    // Save all writes the further window's edit too.
    TSRCForm* further = form_->FurtherSources().first();
    further->Memo1()->setCursorPosition(0, 0);
    QTest::keyClicks(further->Memo1(), "-- ");
    form_->SaveAllFileClick();
    QVERIFY(ReadText(abl).startsWith("-- MODULE"));

    // Its tab closes it, asking first when it holds an unsaved edit.
    QTest::keyClicks(further->Memo1(), "x");
    log_.answers.push_back(Answer::Cancel);
    emit form_->pgHost()->tabCloseRequested(3);
    QCOMPARE(log_.questions.last(), Msg(798).replace("%s", "TEST.ABL"));
    QCOMPARE(form_->pgHost()->count(), 4);
    log_.answers.push_back(Answer::No);
    emit form_->pgHost()->tabCloseRequested(3);
    QTRY_COMPARE(form_->pgHost()->count(), 3);
    QVERIFY(ReadText(abl).startsWith("-- MODULE"));
  }

  void missingFilesAreReported() {
    OpenThroughDialog(*form_, log_, dir_.filePath("GONE.ABL"));
    OpenThroughDialog(*form_, log_, dir_.filePath("GONE.ASM"));
    QCOMPARE(log_.errors, QStringList({"读文件错误：" + dir_.filePath("GONE.ABL"),
                                       "读文件错误：" + dir_.filePath("GONE.ASM")}));
    QCOMPARE(form_->pgHost()->count(), 3);
    // The source path is taken even so: the next Make reports the missing file once more.
    QCOMPARE(QString::fromStdString(wb().control.SourcePath), dir_.filePath("GONE.ASM"));

    wb().HomeDir = dir_.path().toStdString() + "/";  // a directory without the manual
    form_->Manual1Click();
    QCOMPARE(log_.informations,
             QStringList({Msg(102) + QString::fromStdString(wb().HelpDir()) + "EDUMAC8.PDF"}));
    form_->OpenSource(dir_.filePath("GONE.ASM"), 1, kProgramCounterMark, 1);
    QCOMPARE(log_.informations.last(), "Can not found: " + dir_.filePath("GONE.ASM"));
    form_->OpenSource("PROJECT.PRJ", 1, kProgramCounterMark, 1);
    QCOMPARE(log_.informations.size(), 2);
  }

  void connectionStepWithoutABoxKeepsSimulatingAndSaysSo() {
    LinkOptions options;
    int lookups = 0;
    options.devices = [&lookups] {
      ++lookups;
      return std::vector<DeviceRecord>{};
    };
    TMANForm form(std::make_unique<ScriptedDialogs>(log_), std::make_unique<BoxLink>(options));
    form.Timer1Timer();
    form.Timer1Timer();
    QCOMPARE(lookups, 2);  // one attempt per tick, no back-off
    QVERIFY(form.workbench().control.Simulation);
    QCOMPARE(form.windowTitle(), TMANForm::ProductTitle() + "   " + kNotConnectedText);
    QVERIFY(log_.errors.isEmpty() && log_.informations.isEmpty());
  }

  void vhdlFilesGoToTheFpgaDirectory() {
    form_->ABELBtnClick();
    const QString dir = QString::fromStdString(wb().FpgaDir());
    QVERIFY(log_.errors.isEmpty());
    QVERIFY(QFile::exists(dir + "EDUMAC8_U.VHD"));
    QVERIFY(QFile::exists(dir + "EDUMAC8_C.VHD"));
    QCOMPARE(FileLines(dir + "EDUMAC8.mem").size(), 256);
  }
};

QTEST_MAIN(TMANFormTest)
#include "tman_form_test.moc"
