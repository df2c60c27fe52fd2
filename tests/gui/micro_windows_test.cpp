#include <QCheckBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

#include "views_fixture.h"

using namespace edumac8;
using namespace edumac8::test;

class MicroWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void afterResetBothGridsMarkTheFirstStep() {
    ViewsFixture f;
    QCOMPARE(GridText(f.micro, 1, 0).trimmed(), QString("_FATCH_"));
    QCOMPARE(GridText(f.micro, 2, 0), QString());
    QCOMPARE(GridText(f.micro, 1, 1), QString(" T0"));
    QCOMPARE(GridText(f.micro, 1, 2), QString("-> 00"));
    QCOMPARE(GridText(f.micro, 2, 2), QString("   01"));
    QCOMPARE(GridText(f.micro, 1, 9), QString("写入"));
    QCOMPARE(f.micro.CurrentGridRow(), 1);

    QCOMPARE(GridText(f.trace, 1, 2), QString("-> 00"));
    QCOMPARE(GridText(f.trace, 1, 1), QString(" T0"));
    for (int c = 0; c < MicroGridModel::kColumns; ++c) QCOMPARE(GridText(f.trace, 2, c), QString());
    QCOMPARE(f.micro.Grid()->model()->headerData(3, Qt::Horizontal).toString(), QString("微程序"));
  }

  void tickingABitEditsTheShownMicroWord() {
    ViewsFixture f;
    QCOMPARE(f.m().uM[0x11] >> 24, 0xFFu);  // the default cell carries a high byte
    const MicroProgram unedited = f.m().uM;
    const std::uint32_t before = f.m().uM[0x11];
    f.micro.SelectGridRow(0x12);
    QCOMPARE(f.micro.ShownMicroAddress(), 0x11);
    QCheckBox* aen = f.micro.findChild<QCheckBox*>("MM3");
    QVERIFY(aen && !aen->isChecked());  // AEN asserted: bit 3 is 0

    QTest::mouseClick(aen, Qt::LeftButton);

    QCOMPARE(f.m().uM[0x11], (before & kWordMask) | 0x8);  // zero high byte
    QVERIFY(f.wb.isa.UMModified);
    QCOMPARE(f.m().state[Field::uPC], 0x11);
    QCOMPARE(GridText(f.micro, 0x12, 2), QString("-> 11"));
    QCOMPARE(GridText(f.micro, 0x12, 3), QString("FFFE98"));
    QVERIFY(aen->isChecked());
    for (int a = 0; a < 256; ++a)
      if (a != 0x11) QCOMPARE(f.m().uM[a], unedited[a]);
  }

  void theNextMicroStepRunsTheEditedWord() {
    ViewsFixture f;
    // A = 5, W = 3 in the state the next step starts from; 0x11 adds them into A.
    f.m().CurrentRecord.state[Field::A] = 5;
    f.m().CurrentRecord.state[Field::W] = 3;
    f.micro.SelectGridRow(0x12);
    QTest::mouseClick(f.micro.findChild<QCheckBox*>("MM3"), Qt::LeftButton);  // AEN off

    f.wb.control.Trace();

    const MachineState& after = f.m().history.Newest().state;
    QCOMPARE(after[Field::uPC], 0x12);  // it executed micro-address 0x11
    QCOMPARE(after[Field::A], 5);       // without AEN the sum is not loaded
    QCOMPARE(after[Field::F] & flag::RCy, 0);
    QCOMPARE(GridText(f.trace, 2, 2), QString("-> 12"));
  }

  void refreshingAfterStepsNeverChangesUM() {
    ViewsFixture f;
    const MicroProgram before = f.m().uM;
    for (int i = 0; i < 20; ++i) f.wb.control.Step();
    QCOMPARE(f.m().uM, before);
    QVERIFY(!f.wb.isa.UMModified);
  }

  void traceRowsFollowTheHistory() {
    ViewsFixture f;
    for (int i = 0; i < 3; ++i) f.wb.control.Trace();
    QCOMPARE(f.m().history.Count(), 4);
    QCOMPARE(f.trace.CurrentGridRow(), 4);
    for (int r = 1; r <= 4; ++r) {
      const QString expected = Hex(f.m().history[r - 1].state[Field::uPC]);
      QCOMPARE(GridText(f.trace, r, 2), (r == 4 ? "-> " : "   ") + expected);
      QVERIFY(!GridText(f.trace, r, 3).isEmpty());
    }
    QCOMPARE(GridText(f.trace, 5, 3), QString());
    // The micro-program grid follows uPC.
    QCOMPARE(f.micro.CurrentGridRow(), f.m().state[Field::uPC] + 1);
  }

  void aFullHistorySlidesByOneRow() {
    ViewsFixture f;
    for (int i = 0; i < 300; ++i) f.wb.control.Trace();
    QCOMPARE(f.m().history.Count(), 256);
    for (int r = 1; r <= 256; ++r) QVERIFY(!GridText(f.trace, r, 3).isEmpty());
    QVERIFY(GridText(f.trace, 256, 2).startsWith("-> "));
    QCOMPARE(f.trace.CurrentGridRow(), 256);
  }

  void selectingAnOlderRowShowsItsStateButStepsFromTheNewest() {
    ViewsFixture reference;
    ViewsFixture f;
    for (int i = 0; i < 6; ++i) {
      f.wb.control.Trace();
      reference.wb.control.Trace();
    }
    const MachineState older = f.m().history[2].state;
    QVERIFY(older != f.m().history.Newest().state);

    f.trace.Grid()->setCurrentIndex(f.trace.Grid()->model()->index(2, 3));  // as a click does

    QCOMPARE(f.m().state, older);
    QCOMPARE(f.trace.Registers().Text("SRegPC"), "PC:" + Hex(older[Field::PC]));
    QCOMPARE(f.trace.Registers().Text("SReguPC"), "uPC:" + Hex(older[Field::uPC]));
    QCOMPARE(f.trace.Registers().Text("SDBUS"), "DBUS:" + Hex(older[Field::DBUS]));
    QCOMPARE(f.trace.BitPanel().Word(), WordOf(older));

    f.wb.control.Trace();
    reference.wb.control.Trace();
    QCOMPARE(f.m().history.Newest(), reference.m().history.Newest());
  }

  void selectingAnEmptyRowShowsTheNewestRecord() {
    ViewsFixture f;
    f.wb.control.Trace();
    f.trace.Grid()->setCurrentIndex(f.trace.Grid()->model()->index(0, 0));
    f.trace.Grid()->setCurrentIndex(f.trace.Grid()->model()->index(40, 0));
    QCOMPARE(f.m().state, f.m().history.Newest().state);
  }

  void traceBoxesCannotEdit() {
    ViewsFixture f;
    f.wb.control.Trace();
    const MicroProgram before = f.m().uM;
    QCheckBox* box = f.trace.findChild<QCheckBox*>("MM5");
    const bool was = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(box->isChecked(), was);
    QCOMPARE(f.m().uM, before);
    QVERIFY(!f.wb.isa.UMModified);
  }

  void theDiagramHookRunsOnlyWhileAnimationIsEnabled() {
    ViewsFixture f;
    int micro = 0, trace = 0;
    f.micro.SetDiagramHook([&] { ++micro; });
    f.trace.SetDiagramHook([&] { ++trace; });
    f.wb.control.Trace();  // the step's own selections happen with animation off
    f.wb.control.Trace();
    QCOMPARE(micro + trace, 0);
    f.micro.Grid()->setCurrentIndex(f.micro.Grid()->model()->index(0x20, 0));
    f.trace.Grid()->setCurrentIndex(f.trace.Grid()->model()->index(0, 0));
    QCOMPARE(micro, 1);
    QCOMPARE(trace, 1);
  }

  void userActionsDuringARunWaitForTheStepInProgress() {
    ViewsFixture f;
    f.wb.control.Run();
    QVERIFY(f.wb.control.Running());
    f.micro.Grid()->setCurrentIndex(f.micro.Grid()->model()->index(0x31, 0));
    QTest::mouseClick(f.micro.findChild<QCheckBox*>("MM0"), Qt::LeftButton);
    f.trace.Grid()->setCurrentIndex(f.trace.Grid()->model()->index(3, 0));
    f.memory.SetCurrentCell({8, 1});
    QTest::keyClicks(f.memory.Grid(), "5A");
    f.wb.control.Pause();
    f.wb.control.FinishRun();
    QVERIFY(!f.wb.control.Running());
    QCOMPARE(f.m().uM[0x31], (0xFFFFFE91u & kWordMask) ^ 1);
    QCOMPARE(f.m().CurrentRecord.EM[0x80], 0x5A);
  }

  void aHiddenTraceShowsItsNewestRowsWhenItsPageComesToTheFront() {
    QTabWidget pages;  // outlives the windows it docks
    ViewsFixture f(false);
    pages.addTab(&f.micro, f.micro.windowTitle());
    pages.addTab(&f.trace, f.trace.windowTitle());
    pages.resize(1000, 200);
    pages.show();
    for (int i = 0; i < 40; ++i) f.wb.control.Trace();
    pages.setCurrentWidget(&f.trace);
    QTableView* grid = f.trace.Grid();
    const QModelIndex newest = grid->model()->index(40, 0);
    QTRY_VERIFY(grid->viewport()->rect().contains(grid->visualRect(newest)));
    QVERIFY(grid->rowAt(0) > 0);                 // scrolled down to it …
    QVERIFY(grid->rowAt(0) < newest.row() - 2);  // … with older rows above it
  }

  void theFirstThreeColumnsStayFixed() {
    ViewsFixture f;
    QTableView* grid = f.micro.Grid();
    grid->setColumnWidth(4, 900);  // wider than the window
    auto* fixed = grid->findChild<QTableView*>("FixedColumns");
    QVERIFY(fixed);
    QTRY_VERIFY(grid->horizontalScrollBar()->maximum() > 0);
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    QCOMPARE(fixed->width(), grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2));
    QVERIFY(!fixed->isColumnHidden(2) && fixed->isColumnHidden(3));

    // A click on the fixed part selects the row in the whole grid.
    const QRect row = fixed->visualRect(fixed->model()->index(5, 1));
    QTest::mouseClick(fixed->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(f.micro.CurrentGridRow(), 6);
    QCOMPARE(f.micro.ShownMicroAddress(), 5);
    // A step moves to the new uPC row without scrolling back sideways.
    const int sideways = grid->horizontalScrollBar()->value();
    f.wb.control.Trace();
    QCOMPARE(grid->horizontalScrollBar()->value(), sideways);
    QVERIFY(fixed->isVisible());

    // The wheel over the fixed part scrolls the whole grid.
    const QPointF at = fixed->viewport()->rect().center();
    QWheelEvent wheel(at, fixed->viewport()->mapToGlobal(at), {}, QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(fixed->viewport(), &wheel);
    QVERIFY(grid->verticalScrollBar()->value() > 0);
    QCOMPARE(fixed->verticalScrollBar()->value(), grid->verticalScrollBar()->value());

    // The fixed columns keep their places; no other column moves in among them.
    QHeaderView* header = grid->horizontalHeader();
    header->moveSection(0, 6);
    QCOMPARE(header->logicalIndex(0), 0);
    header->moveSection(7, 1);
    QCOMPARE(header->logicalIndex(1), 1);
    header->moveSection(7, 4);
    QCOMPARE(header->logicalIndex(4), 7);
  }

  void microRowSelectionLoadsTheWordIntoTheState() {
    ViewsFixture f;
    f.micro.Grid()->setCurrentIndex(f.micro.Grid()->model()->index(0x15, 0));
    QCOMPARE(f.m().CurrentMicroWord(), f.m().uM[0x15] & kWordMask);
    QCOMPARE(f.micro.BitPanel().Word(), f.m().uM[0x15] & kWordMask);
    QCOMPARE(f.micro.ShownMicroAddress(), 0x15);
  }
};

int RunMicroWindowsTest(int argc, char** argv) {
  MicroWindowsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "micro_windows_test.moc"
