// The disassembly window's address cache and scroll rules.
#include <QTest>

#include "gui_test_support.h"
#include "ui/disassembly_cache.h"
#include "ui/tcpu_form.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

LengthTable Lengths(std::uint8_t length) {
  LengthTable t;
  t.fill(length);
  return t;
}

}  // namespace

class DisassemblyTest : public QObject {
  Q_OBJECT

 private slots:
  void cacheFollowsInstructionLengths() {
    ProgramMemory em{};
    DisassemblyAddressCache cache;
    const LengthTable two = Lengths(2);
    int scroll = -1;
    // A program of two-byte instructions from 00H.
    QCOMPARE(cache.LineAddress(1, em, two, &scroll), 0x00);
    QCOMPARE(cache.LineAddress(2, em, two, &scroll), 0x02);
    QCOMPARE(cache.LineAddress(3, em, two, &scroll), 0x04);
    QCOMPARE(scroll, -1);
    // Stepping within the first ten entries keeps the cache; a jump rebuilds it.
    QVERIFY(!cache.Show(0x02, em, two));
    QVERIFY(!cache.Show(0x12, em, two));
    QVERIFY(cache.Show(0x80, em, two));
    QCOMPARE(cache.Anchor(), 0x80);
    QCOMPARE(cache.LineAddress(0x81, em, two, &scroll), 0x80);
    // Entries wrap: a two-byte instruction at FFH is followed by 01H.
    cache.Rebuild(0xFF, em, two);
    QCOMPARE(cache.Entry(2), 0x01);
    QCOMPARE(cache.Last(), (0xFF + 49 * 2) % 256);
  }

  void linesOutsideTheCacheReanchorIt() {
    ProgramMemory em{};
    DisassemblyAddressCache cache;
    const LengthTable one = Lengths(1);
    cache.Rebuild(0x40, em, one);
    int scroll = -1;
    QCOMPARE(cache.LineAddress(0x30, em, one, &scroll), 0x2F);  // before the anchor
    QCOMPARE(scroll, 0x2F);
    scroll = -1;
    cache.Rebuild(0x00, em, one);
    QCOMPARE(cache.LineAddress(60, em, one, &scroll), 59);  // beyond: anchored at Entry[50]
    QCOMPARE(cache.Anchor(), 49);
    QCOMPARE(scroll, 49);
    cache.Reset();
    QVERIFY(cache.Empty());
    QCOMPARE(cache.LineAddress(0, em, one, nullptr), 0x00);  // line 0 counts as line 1
  }

  void windowScrollsOnlyWhenTheCacheIsRebuilt() {
    DialogLog log;
    auto form = ShowWorkbench(log);
    TCPUForm& cpu = *form->CPUForm();
    form->pgLeft()->setCurrentWidget(&cpu);
    form->workbench().machine.EM.fill(0x70);  // MOV A,R0: one byte each
    cpu.ResetAddressCache();
    cpu.ShowAddress(0x00, true);
    QCOMPARE(cpu.TopLine(), 1);
    cpu.ShowAddress(0x05, true);
    QCOMPARE(cpu.TopLine(), 1);  // among the first ten: the view stays
    cpu.ShowAddress(0x80, true);
    QCOMPARE(cpu.TopLine(), 0x81);
    QCOMPARE(cpu.LineAddress(0x81), 0x80);
    QVERIFY(cpu.VisibleLines() < DisassemblyAddressCache::kEntries);
  }

  void unassembledLinesCarryOneMoreBlank() {
    DialogLog log;
    auto form = ShowWorkbench(log);
    TCPUForm& cpu = *form->CPUForm();
    const QString text = cpu.LineText(1);
    QCOMPARE(text.size(), TCPUForm::kTextColumns + 2);
    QVERIFY(text.endsWith("  "));
  }
};

QTEST_MAIN(DisassemblyTest)
#include "disassembly_test.moc"
