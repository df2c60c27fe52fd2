// The workbench window given hostile input: a source that nests without end, outputs that
// cannot be written, a FIFO among the device records. It reports, and never crashes or hangs.
#include <Qsci/qsciscintilla.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "gui_test_support.h"
#include "link/box_link.h"
#include "link/device_discovery.h"
#include "ui/status_line.h"
#include "ui/tsrc_form.h"

using namespace edumac8;
using namespace edumac8::test;

class HostileInputTest : public QObject {
  Q_OBJECT

 private slots:
  void deepNestingIsAnAssemblyErrorAtItsLine() {
    QTemporaryDir dir;
    DialogLog log;
    auto form = ShowWorkbench(log);
    const QString path =
        WriteSource(dir, "DEEP.ASM", "NOP\nX EQU " + QString(10000, '(') + "1\nNOP\n");
    OpenThroughDialog(*form, log, path);
    Press(*form, Qt::Key_F9);
    QCOMPARE(log.errors, QStringList{"行: 2, 错误 348: 程序中符号太多"});
    QVERIFY(!form->workbench().assembler.AssembledOK());
    QCOMPARE(form->workbench().assembler.ErrorLine(), 2);
  }

  // A listing or image that cannot be written fails the assembly, in the box and in the
  // status line, rather than leaving an old file beside the source to be taken for the new one.
  void anOutputThatCannotBeWrittenIsReported() {
    for (const char* output : {"P.BIN", "P.LST"}) {
      QTemporaryDir dir;
      DialogLog log;
      auto form = ShowWorkbench(log);
      const QString path = WriteSource(dir, "P.ASM", "NOP\n");
      QVERIFY(QDir(dir.path()).mkdir(output));  // a directory: not writable even for root
      OpenThroughDialog(*form, log, path);
      Press(*form, Qt::Key_F9);
      const QString expected = "写文件错误：" + dir.filePath(output);
      QCOMPARE(log.errors, QStringList{expected});
      QCOMPARE(form->Status()->OutcomeText(), expected);
      QVERIFY(!form->workbench().assembler.AssembledOK());
    }
  }

  void savingThroughALinkKeepsTheLinkAndThePermissions() {
    QTemporaryDir dir;
    DialogLog log;
    auto form = ShowWorkbench(log);
    QVERIFY(QDir(dir.path()).mkdir("real"));
    const QString real = WriteSource(dir, "real/T.ASM", "; old\nNOP\n");
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner);
    const QString link = dir.filePath("T.ASM");
    QVERIFY(QFile::link("real/T.ASM", link));
    OpenThroughDialog(*form, log, link);
    form->SRCForm()->Memo1()->setText("; new\nNOP\n");
    form->SaveFile1Click();
    QVERIFY(log.errors.isEmpty());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadText(real), QString("; new\r\nNOP\r\n"));
    QCOMPARE(QFile::permissions(real) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    const QString backup = dir.filePath("T.BAK");
    QCOMPARE(ReadText(backup), QString("; old\r\nNOP\r\n"));
    QCOMPARE(QFile::permissions(backup) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
  }

  void aReadOnlySourceIsNotReplaced() {
    QTemporaryDir dir;
    DialogLog log;
    auto form = ShowWorkbench(log);
    const QString path = WriteSource(dir, "RO.ASM", "NOP\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    OpenThroughDialog(*form, log, path);
    form->SRCForm()->Memo1()->setText("RET\n");
    form->SaveFile1Click();
    QCOMPARE(log.errors, QStringList{"写文件错误：" + path});
    QCOMPARE(ReadText(path), QString("NOP\r\n"));
    QVERIFY(form->SRCForm()->Memo1()->isModified());
  }

  // The connection attempt runs on a helper thread that closing the window waits for.
  void aFifoAmongTheDeviceRecordsDoesNotHoldTheWindow() {
    QTemporaryDir devices;
    const std::string fifo = devices.filePath("box.dev").toStdString();
    QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
    LinkOptions options;
    options.devices = [dir = devices.path().toStdString()] { return PublishedDevices(dir); };
    options.backgroundAttempts = true;
    DialogLog log;
    auto form = std::make_unique<TMANForm>(std::make_unique<ScriptedDialogs>(log),
                                           std::make_unique<BoxLink>(options));
    auto& link = static_cast<BoxLink&>(*form->workbench().box);
    form->Timer1Timer();
    // The attempt's end comes back as a queued tick, which joins the helper thread.
    const bool ended = QTest::qWaitFor([&] { return !link.AttemptInProgress(); }, 5000);
    if (!ended) {
      // Let the blocked helper go, so that the window can close and the test report.
      const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) close(writer);
    }
    QVERIFY2(ended, "the connection attempt waits on the FIFO");
    form.reset();
  }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
