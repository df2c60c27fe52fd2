// The workbench window while it runs: breakpoint marks stop a run where the editor shows
// them, the views follow a run, slow runs show every step, and what a step changed is marked.
#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QThread>
#include <QTimer>

#include "gui_test_support.h"
#include "ui/tcpu_form.h"
#include "ui/tsrc_form.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/run_lock.h"
#include "views/trace_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

QString Hex(unsigned byte) {
  return QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

// Counts without end: OUT shows a new value every few micro-steps.
const char* const kCounter =
    "        ORG 0\n"
    "        MOV A, #0\n"
    "LOOP:   ADD A, #1\n"
    "        OUT\n"
    "        JMP LOOP\n"
    "        END\n";

}  // namespace

class RunViewsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  Workbench& wb() { return form_->workbench(); }
  Machine& m() { return wb().machine; }
  TSRCForm& src() { return *form_->SRCForm(); }
  RegisterPanel& registers() { return form_->uMF()->Registers(); }
  QTimer* runRefresh() { return form_->findChild<QTimer*>("RunRefreshTimer"); }
  int StoppedAt() const {
    const auto at = form_->workbench().control.StoppedAtBreakpoint();
    return at ? *at : -1;
  }

  QString Sample(const QString& name) {
    const QString path = dir_.filePath(name);
    QFile::remove(path);
    QFile::copy(QStringLiteral(EDUMAC8_SAMPLES_DIR "/") + name, path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return path;
  }
  void OpenAndAssemble(const QString& path) {
    OpenThroughDialog(*form_, log_, path);
    Press(*form_, Qt::Key_F9);
    QVERIFY2(wb().assembler.AssembledOK(), qPrintable(log_.errors.join('\n')));
  }
  // The 1-based line of the docked editor that contains `text`.
  int LineOf(const QString& text) {
    const QStringList lines = src().Memo1()->text().split("\r\n");
    for (int i = 0; i < lines.size(); ++i)
      if (lines[i].contains(text)) return i + 1;
    qWarning() << "no line with" << text;
    return 0;
  }
  // Until the run has ended by itself and its epilogue has run; a run that goes on for ten
  // seconds is paused (and the check fails).
  bool RunEnds() {
    const bool ended = QTest::qWaitFor([&] { return !wb().control.Running(); }, 10000);
    if (!ended) form_->PauseBtnClick();
    return QTest::qWaitFor([&] { return !runRefresh()->isActive(); }, 10000) && ended;
  }
  // The views after a run or a step show the newest record.
  void ExpectViewsShowTheNewestRecord() {
    const MachineState& s = m().history.Newest().state;
    for (const auto& [name, field] : {std::pair{"SRegPC", Field::PC},
                                      {"SRegA", Field::A},
                                      {"SRegR0", Field::R0},
                                      {"SRegR1", Field::R1},
                                      {"SRegR2", Field::R2},
                                      {"SReguPC", Field::uPC}}) {
      const QString text = registers().Text(name);
      QVERIFY2(text.endsWith(":" + Hex(s[field])), qPrintable(text));
      QCOMPARE(form_->uTRCF()->Registers().Text(name), text);
    }
    QCOMPARE(form_->uTRCF()->CurrentGridRow(), m().history.Count());
    QCOMPARE(form_->uMF()->CurrentGridRow(), s[Field::uPC] + 1);
    for (int a = 0; a < 256; ++a) QCOMPARE(int(form_->DataF()->ShownMemory()[a]), int(m().EM[a]));
    QCOMPARE(src().ProgramCounterLine(), wb().assembler.AddressToLine(m().InstrAddr)->line);
  }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
  }
  void cleanup() {
    form_->PauseBtnClick();
    form_.reset();
  }

  void breakpointMarksStopRunsWhereTheEditorShowsThem() {
    OpenAndAssemble(Sample("loop.asm"));
    const int next = LineOf("NEXT:");
    src().ToggleBreakpoint(next);
    src().ToggleBreakpoint(1);  // a comment: a mark, but no breakpoint
    QVERIFY(src().HasBreakpoint(1));
    QCOMPARE(wb().control.Breakpoints().count(), 1u);
    QVERIFY(wb().control.Breakpoints()[0x06]);

    for (int round = 5; round >= 4; --round) {
      Press(*form_, Qt::Key_F9, Qt::ControlModifier);
      QVERIFY(RunEnds());
      QCOMPARE(StoppedAt(), 0x06);
      QCOMPARE(src().ProgramCounterLine(), next);
      QCOMPARE(registers().Text("SRegR1"), "R1:" + Hex(round));
      ExpectViewsShowTheNewestRecord();
    }

    // Two lines above, one of them code: after the assembly the mark is two lines lower and
    // its breakpoint one byte further.
    src().Memo1()->insertAt("; 先空转一条\r\n        NOP\r\n", LineOf("MOV     R0, #TABLE") - 1, 0);
    QVERIFY(src().HasBreakpoint(next + 2));
    QVERIFY2(wb().control.Breakpoints()[0x06], "until the next assembly");
    Press(*form_, Qt::Key_F9);
    QVERIFY2(wb().assembler.AssembledOK(), qPrintable(log_.errors.join('\n')));
    QCOMPARE(wb().control.Breakpoints().count(), 1u);
    QVERIFY(wb().control.Breakpoints()[0x07]);
    Press(*form_, Qt::Key_F9, Qt::ControlModifier);
    QVERIFY(RunEnds());
    QCOMPARE(StoppedAt(), 0x07);
    QCOMPARE(src().ProgramCounterLine(), next + 2);
  }

  void aRunStartedBeforeTheLastOnesEpilogueArrives() {
    OpenAndAssemble(Sample("loop.asm"));
    const int next = LineOf("NEXT:");
    src().ToggleBreakpoint(next);
    form_->RunBtnClick();
    // The run stops at once; its epilogue waits in the event queue while the breakpoint goes
    // and Run is pressed again: the epilogue runs first, then a run that does not stop.
    while (wb().control.Running()) QThread::msleep(1);
    src().ToggleBreakpoint(next);
    form_->RunBtnClick();
    QCOMPARE(src().ProgramCounterLine(), next);
    QVERIFY(wb().control.Running());
    QTest::qWait(100);  // the late epilogue call must leave the new run alone
    QVERIFY(wb().control.Running());
    QVERIFY(runRefresh()->isActive());
    form_->PauseBtnClick();
    QVERIFY(RunEnds());
    ExpectViewsShowTheNewestRecord();
  }

  void floatingCopiesShareTheDockedMarks() {
    OpenAndAssemble(Sample("loop.asm"));
    const int next = LineOf("NEXT:"), done = LineOf("DONE:");
    src().ToggleBreakpoint(next);
    TSRCForm* copy = src().Open1Click();
    QVERIFY(copy->HasBreakpoint(next));
    copy->ToggleBreakpoint(done);
    QVERIFY(src().HasBreakpoint(done));
    QVERIFY(wb().control.Breakpoints()[0x15]);
    copy->ToggleBreakpoint(next);
    QVERIFY(!src().HasBreakpoint(next));
    QVERIFY(!copy->HasBreakpoint(next));
    src().ToggleBreakpoint(next);
    QVERIFY2(copy->HasBreakpoint(next), "the docked editor's toggle reaches the copy");
    QCOMPARE(wb().control.Breakpoints().count(), 2u);
    copy->close();
  }

  void runToCursorAssemblesFirstAndStopsOnce() {
    OpenThroughDialog(*form_, log_, Sample("loop.asm"));
    const int done = LineOf("DONE:");
    src().GotoLine(done, 1);
    src().Memo1()->setFocus();
    QVERIFY(form_->Action("RunToCursor1"));
    QCOMPARE(form_->Action("RunToCursor1")->shortcut(), QKeySequence("F4"));
    Press(*form_, Qt::Key_F4);
    QVERIFY(wb().assembler.AssembledOK());
    QVERIFY(RunEnds());
    QCOMPARE(StoppedAt(), 0x15);
    QCOMPARE(src().ProgramCounterLine(), done);
    QVERIFY2(wb().control.Breakpoints().none(), "the one-shot breakpoint is no mark");

    // From a copy's popup, the first code line at or after its caret: here the loop head.
    Press(*form_, Qt::Key_F2, Qt::ControlModifier);
    TSRCForm* copy = src().Open1Click();
    copy->GotoLine(LineOf("NEXT:") - 1, 1);
    copy->RunToCursor1Click();
    QVERIFY(RunEnds());
    QCOMPARE(StoppedAt(), 0x04);  // MOV R2,#0 is on the line above
    copy->close();
  }

  void theRunSpeedIsChosenInTheMenuOrOnTheToolbar() {
    auto* box = form_->findChild<QComboBox*>("RunSpeedBox");
    QVERIFY(box);
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    QCOMPARE(texts,
             QStringList({"全速", "每秒1条指令", "每秒2条指令", "每秒5条指令", "每秒20条指令"}));
    QCOMPARE(box->currentText(), QString("全速"));
    QMenu* speeds = form_->findChild<QMenu*>("RunSpeed1");
    QVERIFY(speeds);
    speeds->actions()[3]->trigger();
    QCOMPARE(form_->RunSpeed(), 5);
    QCOMPARE(box->currentText(), QString("每秒5条指令"));
    emit box->activated(4);
    QCOMPARE(form_->RunSpeed(), 20);
    QVERIFY(speeds->actions()[4]->isChecked());
    QVERIFY(!speeds->actions()[3]->isChecked());
  }

  void aFullSpeedRunShowsItsProgress() {
    OpenAndAssemble(WriteSource(dir_, "COUNT.ASM", kCounter));
    Press(*form_, Qt::Key_F9, Qt::ControlModifier);
    QVERIFY(wb().control.Running());
    QVERIFY(runRefresh()->isActive());
    QCOMPARE(runRefresh()->interval(), 50);
    // The register panel follows the counter while the run goes on.
    QTRY_VERIFY(registers().Text("SRegOUT") != "OUT:00");
    const QString seen = registers().Text("SRegOUT");
    QTRY_VERIFY(registers().Text("SRegOUT") != seen);
    QVERIFY(wb().control.Running());
    QVERIFY(!form_->Action("StepBtn")->isEnabled());
    QVERIFY(!form_->Action("RunToCursor1")->isEnabled());
    // The user looks at the memory while the editor's caret stays where it was put.
    src().GotoLine(1, 1);
    form_->pgLeft()->setCurrentWidget(form_->DataF());
    QTRY_VERIFY(form_->DataF()->ShownMemory()[0] == 0x7C);  // the page's copy follows the run
    QTest::qWait(200);
    QCOMPARE(form_->pgLeft()->currentWidget(), static_cast<QWidget*>(form_->DataF()));
    QVERIFY(src().ProgramCounterLine() > 1);
    int line = 0, index = 0;
    src().Memo1()->getCursorPosition(&line, &index);
    QCOMPARE(line, 0);
    form_->PauseBtnClick();
    QVERIFY(RunEnds());
    ExpectViewsShowTheNewestRecord();
    QCOMPARE(form_->pgLeft()->currentWidget(), static_cast<QWidget*>(&src()));
  }

  void aSlowRunShowsEveryStepAndPausesAtOnce() {
    OpenAndAssemble(WriteSource(dir_, "COUNT.ASM", kCounter));
    form_->SetRunSpeed(20);
    QString atPause;
    for (int round = 0; round < 2; ++round) {
      Press(*form_, Qt::Key_F9, Qt::ControlModifier);
      QVERIFY(wb().control.Running());
      // The steps reach the views while the run goes on: the trace grid grows by each one,
      // and the counter moves on from where the last pause left it.
      const int shown = form_->uTRCF()->CurrentGridRow();
      QTRY_VERIFY(form_->uTRCF()->CurrentGridRow() > shown);
      QTRY_VERIFY(registers().Text("SRegOUT") != atPause);
      int stepsAtPause = 0;
      {
        RunLock lock(wb().control);
        stepsAtPause = m().history.Count();
      }
      form_->PauseBtnClick();
      QVERIFY(RunEnds());
      QVERIFY2(m().history.Count() <= stepsAtPause + 1, "at most the step in progress");
      ExpectViewsShowTheNewestRecord();
      atPause = registers().Text("SRegOUT");
      QVERIFY(wb().control.AnimationEnabled);
    }
  }

  void stepsMarkWhatTheyChanged() {
    OpenAndAssemble(Sample("arith.asm"));
    QVERIFY2(!registers().Highlighted("SRegPC"), "nothing after the assembly");
    Press(*form_, Qt::Key_F8);  // the first fetch
    QVERIFY(registers().Highlighted("SRegPC"));
    QVERIFY(registers().Highlighted("SRegIR"));
    QVERIFY(!registers().Highlighted("SRegA"));
    Press(*form_, Qt::Key_F8);  // MOV A,X
    QVERIFY(registers().Highlighted("SRegA"));
    QVERIFY(!registers().Highlighted("SRegR0"));
    QVERIFY2(!registers().Highlighted("SABUS"), "buses are not marked");
    Press(*form_, Qt::Key_F8);  // ADD A,Y: the carry comes on
    QVERIFY(registers().Highlighted("SRegC"));
    Press(*form_, Qt::Key_F8);  // MOV SUM,A writes 44H
    QVERIFY(form_->DataF()->ByteMarked(0x44));
    QCOMPARE(int(form_->DataF()->ShownMemory()[0x44]), 0x10);
    for (int a = 0; a < 256; ++a)
      if (a != 0x44) QVERIFY(!form_->DataF()->ByteMarked(a));
    QVERIFY2(!registers().Highlighted("SRegC"), "MOV keeps the flags");
    Press(*form_, Qt::Key_F8);
    QVERIFY(!form_->DataF()->ByteMarked(0x44));
    // The trace window marks what the step of its current row changed.
    TuTRCF& trace = *form_->uTRCF();
    QVERIFY(trace.Registers().Highlighted("SRegIR"));
    Press(*form_, Qt::Key_F2, Qt::ControlModifier);
    QVERIFY(!registers().Highlighted("SRegPC"));
    QVERIFY(!registers().Highlighted("SRegA"));
  }

  void theMemoryPageShowsTheAssembledProgram() {
    OpenAndAssemble(Sample("arith.asm"));
    for (int a = 0; a < 256; ++a) QCOMPARE(int(form_->DataF()->ShownMemory()[a]), int(m().EM[a]));
  }
};

QTEST_MAIN(RunViewsTest)
#include "run_views_test.moc"
