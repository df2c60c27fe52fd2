#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <atomic>
#include <thread>

#include "views/dump_grid_rules.h"
#include "views_fixture.h"

using namespace edumac8;
using namespace edumac8::test;

class MemoryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void twoDigitsWriteTheByteAndAdvance() {
    ViewsFixture f;
    f.memory.SetCurrentCell({1, 1});  // address 0x10
    QTest::keyClicks(f.memory.Grid(), "41");
    QCOMPARE(f.m().EM[0x10], 0x41);
    QCOMPARE(f.m().CurrentRecord.EM[0x10], 0x41);
    QCOMPARE(f.memory.CurrentCell(), (DumpCell{1, 2}));
    QCOMPARE(DumpCellText(f.m().EM, 1, kDumpTextColumn).substr(0, 1), std::string("A"));
    QVERIFY(f.errors.isEmpty());
  }

  void theNextMicroStepFetchesTheEditedByte() {
    ViewsFixture f;
    f.memory.SetCurrentCell({0, 1});
    QTest::keyClicks(f.memory.Grid(), "14");  // ADD A,@R0 at address 0
    f.wb.control.Trace();                     // the fetch
    QCOMPARE(f.m().history.Newest().state[Field::IR], 0x14);
    QCOMPARE(f.m().history.Newest().state[Field::uPC], 0x14);
  }

  void anEditAfterALookBackKeepsTheNewerMemory() {
    ViewsFixture f;
    f.memory.SetCurrentCell({2, 1});
    QTest::keyClicks(f.memory.Grid(), "11");  // EM[0x20], after the reset record
    f.wb.control.Trace();
    f.wb.control.Trace();
    f.trace.Grid()->setCurrentIndex(f.trace.Grid()->model()->index(0, 0));  // the reset record
    QCOMPARE(f.m().EM[0x20], 0x00);                                         // shown as it was
    QTest::keyClicks(f.memory.Grid(), "22");                                // EM[0x21]
    QCOMPARE(f.m().CurrentRecord.EM[0x20], 0x11);
    QCOMPARE(f.m().CurrentRecord.EM[0x21], 0x22);
    f.wb.control.Trace();
    QCOMPARE(f.m().history.Newest().EM[0x20], 0x11);
  }

  void aBadEntryIsRefusedWithMessage308() {
    ViewsFixture f;
    const ProgramMemory before = f.m().EM;
    f.memory.SetCurrentCell({2, 5});
    QTest::keyClicks(f.memory.Grid(), "G1");
    QCOMPARE(f.errors, QStringList{"非法字符 \"G1\""});
    QCOMPARE(f.m().EM, before);
    QCOMPARE(f.memory.CurrentCell(), (DumpCell{2, 5}));
    QVERIFY(!f.memory.Editing());
  }

  void oneDigitAndEnterWritesItsValue() {
    ViewsFixture f;
    f.memory.SetCurrentCell({3, 3});
    QTest::keyClicks(f.memory.Grid(), "7");
    QVERIFY(f.memory.Editing());
    QTest::keyClick(f.memory.Grid(), Qt::Key_Return);
    QCOMPARE(f.m().EM[0x32], 0x07);
  }

  void backspaceTakesBackTheTypedDigit() {
    ViewsFixture f;
    f.memory.SetCurrentCell({0, 2});
    QTest::keyClicks(f.memory.Grid(), "9");
    QTest::keyClick(f.memory.Grid(), Qt::Key_Backspace);
    QTest::keyClicks(f.memory.Grid(), "AB");
    QCOMPARE(f.m().EM[0x01], 0xAB);
  }

  void theLastCellKeepsTheCursor() {
    ViewsFixture f;
    f.memory.SetCurrentCell({15, 16});
    QTest::keyClicks(f.memory.Grid(), "ff");
    QCOMPARE(f.m().EM[0xFF], 0xFF);
    QCOMPARE(f.memory.CurrentCell(), (DumpCell{15, 16}));
  }

  void aClickOrAViewChoiceAbandonsTheEdit() {
    ViewsFixture f;
    const ProgramMemory before = f.m().EM;
    f.memory.SetCurrentCell({0, 1});
    QTest::keyClicks(f.memory.Grid(), "4");
    QTest::mouseClick(f.memory.Grid(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!f.memory.Editing());
    QTest::keyClicks(f.memory.Grid(), "5");
    f.memory.findChild<QAction*>("ShowAsWord")->trigger();
    QVERIFY(!f.memory.Editing());
    QVERIFY(f.memory.findChild<QAction*>("ShowAsByte")->isChecked());
    QCOMPARE(f.m().EM, before);
  }

  void theContextMenuTakesItsCaptionsFromTheMessageTable() {
    ViewsFixture f;
    f.memory.DmpMenuPopup();
    QCOMPARE(f.memory.findChild<QAction*>("Change")->text(), QString("修改"));
    QCOMPARE(f.memory.ContextMenu()->actions().at(1)->text(), QString("显示为"));
  }

  void anEditWaitsForTheStepInProgress() {
    ViewsFixture f;
    std::atomic<bool> held{false}, released{false};
    std::thread step([&] {
      std::lock_guard outer(f.wb.control.OuterLock);
      std::lock_guard inner(f.wb.control.InnerLock);
      held = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      released = true;
    });
    while (!held) std::this_thread::yield();
    f.memory.SetCurrentCell({0, 1});
    QTest::keyClicks(f.memory.Grid(), "12");
    QVERIFY(released);  // the commit could not finish before the locks were free
    step.join();
    QCOMPARE(f.m().CurrentRecord.EM[0], 0x12);
  }

  void aSelectionRunsInReadingOrder_data() {
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("startColumn");
    QTest::addColumn<int>("endRow");
    QTest::addColumn<int>("endColumn");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("inside");
    QTest::newRow("one row, backwards") << 2 << 9 << 2 << 4 << 2 << 6 << true;
    QTest::newRow("one row, outside") << 2 << 9 << 2 << 4 << 2 << 10 << false;
    QTest::newRow("start row after start") << 1 << 8 << 3 << 2 << 1 << 16 << true;
    QTest::newRow("start row before start") << 1 << 8 << 3 << 2 << 1 << 7 << false;
    QTest::newRow("row between") << 1 << 8 << 3 << 2 << 2 << 1 << true;
    QTest::newRow("end row up to end") << 1 << 8 << 3 << 2 << 3 << 2 << true;
    QTest::newRow("end row past end") << 1 << 8 << 3 << 2 << 3 << 3 << false;
    QTest::newRow("dragged upwards") << 3 << 2 << 1 << 8 << 2 << 12 << true;
    QTest::newRow("row outside") << 1 << 8 << 3 << 2 << 4 << 1 << false;
  }
  void aSelectionRunsInReadingOrder() {
    QFETCH(int, startRow);
    QFETCH(int, startColumn);
    QFETCH(int, endRow);
    QFETCH(int, endColumn);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, inside);
    QCOMPARE(InDumpSelection({startRow, startColumn}, {endRow, endColumn}, row, column), inside);
  }

  void theTextColumnShowsOnlyPrintableCodes() {
    ProgramMemory em{};
    const std::uint8_t row[16] = {0x1F, 0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF, 0x00,
                                  0x30, 0x39, 0x5F, 0x61, 0x7A, 0x0D, 0x0A, 0x2E};
    std::copy(std::begin(row), std::end(row), em.begin() + 0x30);
    QCOMPARE(DumpCellText(em, 3, kDumpTextColumn), std::string(". A~....09_az..."));
    QCOMPARE(DumpCellText(em, 3, 0), std::string("  30"));
    QCOMPARE(DumpCellText(em, 3, 7), std::string("FF"));
  }
};

int RunMemoryWindowTest(int argc, char** argv) {
  MemoryWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "memory_window_test.moc"
