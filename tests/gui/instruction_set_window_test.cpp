#include "isa/instruction_set_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "views_fixture.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

struct IsaFixture : ViewsFixture {
  TFASMDef asmDef{wb};
  QStringList asmErrors;
  IsaFixture() {
    asmDef.SetErrorBox([this](const QString& text) { asmErrors << text; });
    QObject::connect(&asmDef, &TFASMDef::instructionSetChanged,
                     [this] { micro.FillMicroProgramGrid(); });
    asmDef.show();
  }
  QString Cell(int entry, int column) {
    QAbstractItemModel* model = asmDef.Grid()->model();
    return model->data(model->index(entry, column)).toString();
  }
  // Types into the editor as a user does and presses the button.
  void Edit(int entry, const QString& mnemonic, int kind1, int kind2) {
    asmDef.Grid()->setCurrentIndex(asmDef.Grid()->model()->index(entry, 0));
    auto* opd = asmDef.findChild<QLineEdit*>("OPD");
    opd->selectAll();
    QTest::keyClicks(opd, mnemonic);
    if (mnemonic.isEmpty()) opd->clear();
    asmDef.findChild<QComboBox*>("OP1")->setCurrentIndex(kind1);
    asmDef.OP1Change(kind1);
    asmDef.findChild<QComboBox*>("OP2")->setCurrentIndex(kind2);
    asmDef.OP2Change(kind2);
    QTest::mouseClick(asmDef.findChild<QPushButton*>("ModifyBtn"), Qt::LeftButton);
  }
  QString Panel(const char* name) { return asmDef.findChild<QLabel*>(name)->text(); }
};

}  // namespace

class InstructionSetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void theGridShowsEveryEntry() {
    IsaFixture f;
    QCOMPARE(f.asmDef.Grid()->model()->rowCount(), 64);
    QCOMPARE(f.asmDef.Grid()->model()->headerData(4, Qt::Horizontal).toString(), QString("注释"));
    QCOMPARE(f.Cell(4, 0), QString("ADD      A, R?"));
    QCOMPARE(f.Cell(4, 1), QString("000100xx    10 - 13"));
    QCOMPARE(f.Cell(2, 4), QString("未使用"));
    QCOMPARE(f.asmDef.CurrentEntry(), 0);
    QCOMPARE(f.Panel("MC1S"), QString("00-03"));
  }

  void selectingARowLoadsTheEditor() {
    IsaFixture f;
    f.asmDef.Grid()->setCurrentIndex(f.asmDef.Grid()->model()->index(6, 2));  // 18 ADD A,MM
    QCOMPARE(f.asmDef.findChild<QLineEdit*>("OPD")->text(), QString("ADD"));
    QCOMPARE(f.asmDef.findChild<QComboBox*>("OP1")->currentText(), QString("A"));
    QCOMPARE(f.asmDef.findChild<QComboBox*>("OP2")->currentText(), QString("MM"));
    QCOMPARE(f.Panel("MC1S"), QString("18-1B"));
    QCOMPARE(f.Panel("MC2S"), QString("MM"));
    QCOMPARE(f.Panel("MC3S"), QString());
    f.asmDef.OP1Change(4);  // #II
    QCOMPARE(f.Panel("MC2S"), QString("II"));
    QCOMPARE(f.Panel("MC3S"), QString("MM"));
  }

  void everyRefusalIsShownAndChangesNothing_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("mnemonic");
    QTest::addColumn<int>("kind1");
    QTest::addColumn<int>("kind2");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << 1 << "" << 0 << 0 << "请输入助记符";
    QTest::newRow("digit first") << 1 << "1AB" << 0 << 0 << "助记符必须由字符或\"_\"开头";
    QTest::newRow("hyphen") << 1 << "A-B" << 0 << 0 << "助记符只能有字符，数字及\"_\"组成";
    QTest::newRow("13 letters") << 1 << "ABCDEFGHIJKLM" << 0 << 0 << "助记符不能大于12个字符";
    QTest::newRow("defined elsewhere")
        << 1 << "ADD" << 1 << 2 << "\"ADD      A, R?\" 已定义, 机器码: 10-13";
    QTest::newRow("reserved, lower case") << 1 << "org" << 0 << 0 << "\"ORG\" 是保留字";
    QTest::newRow("protected fetch") << 0 << "FETCH" << 0 << 0 << QString(kFetchComment);
    QTest::newRow("protected interrupt") << 46 << "INT" << 0 << 0 << QString(kInterruptComment);
  }
  void everyRefusalIsShownAndChangesNothing() {
    QFETCH(int, entry);
    QFETCH(QString, mnemonic);
    QFETCH(int, kind1);
    QFETCH(int, kind2);
    QFETCH(QString, message);
    IsaFixture f;
    const auto before = f.wb.isa.InstrTable;
    QSignalSpy changed(&f.asmDef, &TFASMDef::instructionSetChanged);
    f.Edit(entry, mnemonic, kind1, kind2);
    QCOMPARE(f.asmErrors, QStringList{message});
    QCOMPARE(changed.count(), 0);
    QVERIFY(!f.wb.isa.UMModified);
    for (int i = 0; i < kEntries; ++i)
      QCOMPARE(f.wb.isa.InstrTable[i].mnemonic, before[i].mnemonic);
  }

  void aModificationReachesTheGridAndTheMicroProgramWindow() {
    IsaFixture f;
    QSignalSpy changed(&f.asmDef, &TFASMDef::instructionSetChanged);
    f.Edit(1, "load_9", 1, 4);  // op-codes 04-07: LOAD_9 A,#II
    QVERIFY(f.asmErrors.isEmpty());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.Cell(1, 0), QString("LOAD_9   A, #II"));
    QCOMPARE(f.Cell(1, 2), QString("II"));
    QCOMPARE(f.Cell(1, 4), QString());
    QCOMPARE(f.wb.isa.OpLengthTable[0x05], 2);
    QCOMPARE(GridText(f.micro, 5, 0), QString("LOAD_9   A, #II"));
    QCOMPARE(f.asmDef.CurrentEntry(), 1);
    QCOMPARE(f.asmDef.findChild<QLineEdit*>("OPD")->text(), QString("LOAD_9"));
    QVERIFY(f.wb.isa.UMModified);  // the exit offers to save the changed table
  }

  void deletingClearsTheEntryUnlessItIsProtected() {
    IsaFixture f;
    f.asmDef.SelectEntry(0);
    QTest::mouseClick(f.asmDef.findChild<QPushButton*>("DeleteBtn"), Qt::LeftButton);
    QCOMPARE(f.asmErrors, QStringList{QString(kFetchComment)});
    QVERIFY(f.wb.isa.InstrTable[0].defined);

    QSignalSpy changed(&f.asmDef, &TFASMDef::instructionSetChanged);
    f.asmDef.SelectEntry(4);
    QTest::mouseClick(f.asmDef.findChild<QPushButton*>("DeleteBtn"), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!f.wb.isa.InstrTable[4].defined);
    QCOMPARE(f.Cell(4, 0), QString());
    QCOMPARE(f.Cell(4, 4), QString("未使用"));
    QCOMPARE(GridText(f.micro, 0x11, 0), QString("UNDEF"));
    QCOMPARE(f.asmDef.findChild<QLineEdit*>("OPD")->text(), QString());
  }
};

int RunInstructionSetWindowTest(int argc, char** argv) {
  InstructionSetWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "instruction_set_window_test.moc"
