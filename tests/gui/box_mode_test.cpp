// The workbench window with the software experiment box plugged in: the caption follows the
// link, the machine executes on the box, and unplugging falls back to simulation.
#include <Qsci/qsciscintilla.h>

#include <QTimer>

#include "diagram/structure_diagram.h"
#include "gui_test_support.h"
#include "link/link_status.h"
#include "link/link_test_support.h"
#include "ui/tsrc_form.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/trace_window.h"

using namespace edumac8;
using namespace edumac8::test;

// A shown workbench whose link looks for boxes in a private directory, with one software box
// started there after the window.
struct PluggedWorkbench {
  TempDir linkDir;
  QTemporaryDir sources;
  DialogLog log;
  TMANForm form{std::make_unique<ScriptedDialogs>(log),
                std::make_unique<BoxLink>(TestLinkOptions(linkDir))};
  std::unique_ptr<BoxProcess> box;

  PluggedWorkbench() {
    form.show();
    box = std::make_unique<BoxProcess>(linkDir / "devices", linkDir / "box.log",
                                       std::vector<std::string>{});
  }
  // The box answers and the connection step hands execution to it.
  bool Connected() {
    if (!box->Plugged()) return false;
    form.Timer1Timer();
    return !form.workbench().control.Simulation;
  }
};

class BoxModeTest : public QObject {
  Q_OBJECT

 private slots:
  void workbenchExecutesOnThePluggedBox() {
    PluggedWorkbench bench;
    QVERIFY(bench.Connected());
    auto& [linkDir, sources, log, form, box] = bench;
    QCOMPARE(form.windowTitle(),
             TMANForm::ProductTitle() + "   " + "已连接 EDUMAC8 实验仪(微程序控制器实验)");

    // Memory byte 40H goes into A on the box.
    const QString path =
        WriteSource(sources, "READ.ASM",
                    "        ORG 0\n        MOV A, 40H\n        OUT\n"
                    "HALT:   JMP HALT\n        ORG 40H\n        DB 11H\n        END\n");
    log.paths.push_back(path);
    form.OpenFile1Click();
    form.Make1Click();
    QVERIFY(form.workbench().assembler.AssembledOK());
    form.StepBtnClick();
    // An edit reaches only the workbench's EM: the box's memory comes back with the step.
    TDataF& memory = *form.DataF();
    memory.SetCurrentCell({4, 1});
    memory.DmpGridKeyPress('4');
    memory.DmpGridKeyPress('1');
    form.StepBtnClick();
    QCOMPARE(int(form.workbench().machine.state[Field::A]), 0x11);
    QCOMPARE(int(form.workbench().machine.EM[0x40]), 0x11);
    // On the box the views follow PC after the step: one past the fetched OUT.
    QCOMPARE(int(form.workbench().machine.InstrAddr), 3);
    QCOMPARE(int(form.workbench().machine.state[Field::PC]), 3);

    // Unplugged: the heartbeat fails and the caption says so, without a message.
    box->Unplug();
    form.Timer1Timer();
    QVERIFY(form.workbench().control.Simulation);
    QCOMPARE(form.windowTitle(), TMANForm::ProductTitle() + "   " + kNotConnectedText);
    QVERIFY(log.errors.isEmpty());
  }

  // Breakpoints and the slow speed on the box: the box steps, the same stop rule applies to
  // what it reports, and the views follow.
  void runsStopAtBreakpointsAndGoSlowlyOnTheBox() {
    PluggedWorkbench bench;
    QVERIFY(bench.Connected());
    auto& [linkDir, sources, log, form, box] = bench;
    ExecutionControl& control = form.workbench().control;

    log.paths.push_back(WriteSource(sources, "COUNT.ASM",
                                    "        ORG 0\n        MOV A, #0\nLOOP:   ADD A, #1\n"
                                    "        OUT\n        JMP LOOP\n        END\n"));
    form.OpenFile1Click();
    form.Make1Click();
    QVERIFY(form.workbench().assembler.AssembledOK());
    // The box reports PC after a fetch as the instruction's address: the fetch of OUT (04H)
    // leaves 05H, the line of JMP, which the views then show.
    TSRCForm& src = *form.SRCForm();
    src.ToggleBreakpoint(5);
    QVERIFY(control.Breakpoints()[0x05]);
    QTimer* refresh = form.findChild<QTimer*>("RunRefreshTimer");
    const auto runEnds = [&] {
      const bool ended = QTest::qWaitFor([&] { return !control.Running(); }, 10000);
      if (!ended) form.PauseBtnClick();
      return QTest::qWaitFor([&] { return !refresh->isActive(); }, 10000) && ended;
    };
    RegisterPanel& registers = form.uMF()->Registers();
    for (const char* out : {"OUT:00", "OUT:01"}) {  // OUT fetched, not yet executed
      form.RunBtnClick();
      QVERIFY(runEnds());
      QCOMPARE(control.StoppedAtBreakpoint(), std::optional<std::uint8_t>(0x05));
      QCOMPARE(src.ProgramCounterLine(), 5);
      QCOMPARE(registers.Text("SRegOUT"), QString(out));
    }

    src.ToggleBreakpoint(5);
    form.SetRunSpeed(20);
    form.RunBtnClick();
    QTRY_VERIFY(registers.Text("SRegOUT") != "OUT:01");
    form.PauseBtnClick();
    QVERIFY(runEnds());
    QVERIFY(!control.StoppedAtBreakpoint());
    const MachineState& newest = form.workbench().machine.history.Newest().state;
    QCOMPARE(registers.Text("SRegPC"),
             "PC:" + QString::number(newest[Field::PC], 16).toUpper().rightJustified(2, '0'));
    QCOMPARE(form.uTRCF()->CurrentGridRow(), form.workbench().machine.history.Count());
    QVERIFY(log.errors.isEmpty());
  }

  // The diagram decodes the word the box executes next and shows the values the box reports.
  void diagramShowsWhatTheBoxReports() {
    PluggedWorkbench bench;
    QVERIFY(bench.Connected());
    auto& [linkDir, sources, log, form, box] = bench;

    log.paths.push_back(WriteSource(sources, "ADD.ASM",
                                    "        ORG 0\n        ADD A, R1\nHALT:   JMP HALT\n"
                                    "        END\n"));
    form.OpenFile1Click();
    form.Make1Click();
    QVERIFY(form.workbench().assembler.AssembledOK());
    Machine& m = form.workbench().machine;
    TFlow& flow = *form.Flow();
    // The fetch, then the first word of ADD A,R?: one step left, which the simulation would
    // show in RT1 RT0.
    for (int i = 0; i < 2; ++i) {
      const std::uint32_t next = m.uM[m.CurrentRecord.state[Field::uPC]] & kWordMask;
      form.TraceBtnClick();
      QCOMPARE(flow.Animation().Decoded().word, next);
    }
    QCOMPARE(int(RemainingSteps(m.StepCountTable, m.state[Field::uPC])), 1);
    QCOMPARE(m.state[Field::STATUS] & (status::RT1 | status::RT0), 0);  // as the box reported
    QVERIFY(!flow.Readout().lamps[int(Lamp::RT1)]);
    QVERIFY(!flow.Readout().lamps[int(Lamp::RT0)]);
    QCOMPARE(flow.Block(BlockId::PC)->text(),
             QString("PC:%1").arg(m.state[Field::PC], 2, 16, QChar('0')).toUpper());
  }
};

QTEST_MAIN(BoxModeTest)
#include "box_mode_test.moc"
