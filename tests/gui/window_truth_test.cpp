// What the workbench window shows and offers: the memory page after commands that change EM,
// the program image, the status line, the menus, the hints, the line numbers, Qt's own texts
// in Chinese, paths that keep their bytes, and the picture-taking run that never waits.
#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTableView>

#include "asm/messages.h"
#include "gui_test_support.h"
#include "machine/micro_word.h"
#include "ui/application.h"
#include "ui/file_names.h"
#include "ui/find_replace_dialog.h"
#include "ui/status_line.h"
#include "ui/tsrc_form.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/trace_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

const char* const kTableProgram =
    "        ORG 0\n"
    "        MOV A, 40H\n"
    "        OUT\n"
    "        ORG 40H\n"
    "        DB 11H, 22H, 33H\n"
    "        END\n";
const char* const kShortProgram = "        NOP\n        OUT\n";

std::string ImageOf(std::initializer_list<int> bytes) {
  std::string image(256, '\0');
  int a = 0;
  for (int b : bytes) image[a++] = static_cast<char>(b);
  return image;
}

QByteArray Run(const QString& program, const QStringList& arguments, int* exitCode,
               QByteArray* errors = nullptr) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    *exitCode = -1;  // it waited for somebody
    return {};
  }
  *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
  if (errors) *errors = process.readAllStandardError();
  return process.readAllStandardOutput();
}

}  // namespace

class WindowTruthTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  Workbench& wb() { return form_->workbench(); }
  TSRCForm& src() { return *form_->SRCForm(); }
  const ProgramMemory& Shown() { return form_->DataF()->ShownMemory(); }

 private slots:
  void initTestCase() { InitialiseApplication(*qApp); }
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
  }
  void cleanup() {
    if (form_) {
      src().Memo1()->setModified(false);
      wb().isa.UMModified = false;
    }
    form_.reset();
  }

  void theMemoryPageShowsEmAfterAssemblyResetAndLoad() {
    OpenThroughDialog(*form_, log_, WriteSource(dir_, "TABLE.ASM", kTableProgram));
    Press(*form_, Qt::Key_F9);
    QVERIFY(wb().assembler.AssembledOK());
    QCOMPARE(Shown(), wb().machine.EM);
    QCOMPARE(int(Shown()[0x41]), 0x22);

    // A second program: the page shows it at once, and nothing of the first.
    OpenThroughDialog(*form_, log_, WriteSource(dir_, "SHORT.ASM", kShortProgram));
    Press(*form_, Qt::Key_F9);
    QCOMPARE(Shown(), wb().machine.EM);
    QCOMPARE(int(Shown()[0x41]), 0x00);
    QCOMPARE(int(Shown()[0x01]), 0xC4);

    // EM changed behind the page (as a box read-back does): reset shows it.
    Machine& m = wb().machine;
    m.EM[0x80] = m.CurrentRecord.EM[0x80] = 0x5A;
    Press(*form_, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(int(Shown()[0x80]), 0x5A);

    // So does an instruction-system load.
    const QString ins = dir_.filePath("SYS.INS");
    log_.paths = {ins};
    form_->SaveuMClick();
    m.EM[0x81] = m.CurrentRecord.EM[0x81] = 0x5B;
    m.SnapshotTo(m.history.Newest());
    log_.paths = {ins};
    form_->LoaduMClick();
    QCOMPARE(int(Shown()[0x81]), 0x5B);
    QVERIFY(log_.errors.isEmpty());
  }

  void theProgramImageIsTheProgramAloneAsTheCliWritesIt() {
    const QString first = WriteSource(dir_, "IMAGE.ASM", kTableProgram);
    OpenThroughDialog(*form_, log_, first);
    Press(*form_, Qt::Key_F9);
    // The same file, now a shorter program: no byte of the first survives in EM or the .BIN.
    QFile::remove(first);
    WriteSource(dir_, "IMAGE.ASM", kShortProgram);
    OpenThroughDialog(*form_, log_, first);
    Press(*form_, Qt::Key_F9);
    const std::string window = ReadWholeFile(PathBytes(dir_.filePath("IMAGE.BIN"))).value_or("");
    QCOMPARE(window, ImageOf({0xE0, 0xC4}));
    QCOMPARE(std::string(wb().machine.EM.begin(), wb().machine.EM.end()), window);

    QFile::remove(dir_.filePath("IMAGE.BIN"));
    int code = 0;
    Run(EDUMAC8_CLI, {"asm", first}, &code);
    QCOMPARE(code, 0);
    QCOMPARE(ReadWholeFile(PathBytes(dir_.filePath("IMAGE.BIN"))).value_or(""), window);
  }

  void theStatusLineTellsRunStepsAndOutcome() {
    StatusLine& status = *form_->Status();
    QVERIFY(status.isVisible());
    QCOMPARE(status.RunText(), QString("停止"));
    QCOMPARE(status.StepText(), QString("微步: 0"));

    OpenThroughDialog(*form_, log_, WriteSource(dir_, "S.ASM", kTableProgram));
    Press(*form_, Qt::Key_F9);
    QCOMPARE(status.OutcomeText(), QString("汇编成功：6 字节"));
    // The count changes with every step without making the window lay itself out again.
    struct LayoutRequests : QObject {
      int count = 0;
      bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::LayoutRequest;
        return false;
      }
    } requests;
    QCoreApplication::processEvents();  // what the assembly changed is laid out by now
    status.installEventFilter(&requests);
    for (int i = 0; i < 3; ++i) {
      Press(*form_, Qt::Key_F7);
      QCoreApplication::processEvents();
    }
    QCOMPARE(status.StepText(), QString("微步: 3"));
    QCOMPARE(requests.count, 0);
    status.removeEventFilter(&requests);

    Press(*form_, Qt::Key_F9, Qt::ControlModifier);
    QCOMPARE(status.RunText(), QString("运行中"));
    QTest::qWait(20);
    form_->PauseBtnClick();
    QTRY_COMPARE(status.RunText(), QString("停止"));
    QVERIFY(status.StepText().mid(4).toULongLong() > 256);  // more than the history holds
    Press(*form_, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(status.StepText(), QString("微步: 0"));

    OpenThroughDialog(*form_, log_, WriteSource(dir_, "BAD.ASM", "        JMP NOWHERE\n"));
    Press(*form_, Qt::Key_F9);
    QCOMPARE(status.OutcomeText(), QString::fromStdString(wb().assembler.ErrorText()));

    form_->ABELBtnClick();
    QCOMPARE(status.OutcomeText(), "VHDL 文件已写入：" + QString::fromStdString(wb().FpgaDir()));
  }

  void menusReachEveryCommandWithUnderlinedLetters() {
    for (QMenu* menu : form_->findChildren<QMenu*>()) {
      if (!form_->menuBar()->actions().contains(menu->menuAction())) continue;
      emit menu->aboutToShow();
      QString letters;
      for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible()) continue;
        const QString text = action->text();
        const qsizetype amp = text.indexOf('&');
        QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
        const QChar letter = text[amp + 1].toUpper();
        QVERIFY2(!letters.contains(letter), qPrintable(menu->title() + ": " + text));
        letters += letter;
      }
    }
    for (const char* name : {"Find1", "Replace1", "FindNext1", "Pause1", "Interrupt1"}) {
      QAction* action = form_->Action(name);
      QVERIFY2(action && action->isVisible(), name);
    }
    QVERIFY(form_->Action("Find1")->isEnabled());
    QVERIFY(form_->Action("Interrupt1")->isEnabled());

    src().Memo1()->setText("        NOP\r\n        OUT\r\n        NOP\r\n");
    form_->Action("Find1")->trigger();
    QVERIFY(src().FindDialog().isVisible());
    src().FindDialog().SetSearch("NOP");
    src().FindDialog().hide();
    form_->Action("FindNext1")->trigger();
    form_->Action("FindNext1")->trigger();
    int line = 0, index = 0;
    src().Memo1()->getCursorPosition(&line, &index);
    QCOMPARE(line, 2);

    // The interrupt from the menu reaches the machine like the button's.
    form_->Action("Interrupt1")->trigger();
    QVERIFY(wb().machine.CurrentRecord.state[Field::STATUS] & status::IREQ);
  }

  void bitBoxesLabelsAndColumnsTeachWhatTheyMean() {
    for (MicroWordWindow* window :
         std::initializer_list<MicroWordWindow*>{form_->uMF(), form_->uTRCF()}) {
      for (int bit = 0; bit < 24; ++bit) {
        const QString name = SignalName(bit);
        const QString hint = window->BitPanel().Box(bit)->toolTip();
        QVERIFY2(hint.startsWith(name + "：") && hint.size() > name.size() + 6, qPrintable(hint));
        const bool activeLow = bit == 3 || bit == 4 || (bit >= 8 && bit != 9);
        QCOMPARE(hint.contains("低电平有效"), activeLow);
        bool labelled = false;
        for (QLabel* label : window->BitPanel().findChildren<QLabel*>())
          if (label->text() == name) labelled = label->toolTip() == hint;
        QVERIFY2(labelled, qPrintable(name));
      }
      QStringList hints;
      for (int column = 0; column < 11; ++column) {
        const QString hint =
            window->Grid()->model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString();
        QVERIFY2(!hint.isEmpty() && !hints.contains(hint), qPrintable(hint));
        hints << hint;
      }
    }
    QVERIFY(form_->uMF()->BitPanel().Box(3)->toolTip().contains("寄存器A"));
    QVERIFY(form_->uMF()->BitPanel().Box(0)->toolTip().contains("111 A输出"));
  }

  void theEditorNumbersItsLines() {
    QsciScintilla* memo = src().Memo1();
    QCOMPARE(memo->marginType(2), QsciScintilla::NumberMargin);
    const int narrow = memo->marginWidth(2);
    QVERIFY(narrow > 0);
    QVERIFY(memo->marginWidth(0) > 0 && memo->marginWidth(1) > 0);  // marks stay beside it
    QStringList lines;
    for (int i = 0; i < 12000; ++i) lines << "        NOP";
    memo->setText(lines.join("\r\n"));
    QVERIFY(memo->marginWidth(2) > narrow);
  }

  void qtsOwnTextsAreChinese() {
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));
    QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != "Look in:");
  }

  void pathsKeepEveryByte() {
    const struct {
      const char* name;
      std::string bytes;
    } cases[] = {
        {"Ascii", "/tmp/LOOP.ASM"},
        {"Utf8", "/tmp/测试/循环.asm"},
        {"Gb2312", "/tmp/\xB2\xE2\xCA\xD4.asm"},
        {"Mixed", "/tmp/\xB2\xE2测试\xFF\x80.asm"},
        {"Emoji", "/tmp/\xF0\x9F\x98\x80.asm"},
    };
    for (const auto& c : cases) QCOMPARE(PathBytes(PathText(c.bytes)), c.bytes);
    QCOMPARE(PathText("/tmp/测试.asm"), QString("/tmp/测试.asm"));
    QCOMPARE(DisplayPath(PathText("/tmp/\xB2\xE2\xCA\xD4.asm")), QString("/tmp/测试.asm"));

    // A dialog's lossy name finds its file again; an unknown one stays as it was.
    const std::string gb = PathBytes(dir_.path()) + "/\xB2\xE2\xCA\xD4.asm";
    QVERIFY(WriteFileAtomic(gb, "NOP\r\n"));
    const QString lossy = QFile::decodeName(QByteArray::fromStdString(gb));
    QVERIFY(lossy.contains(QChar::ReplacementCharacter));
    QCOMPARE(PathBytes(ResolveDialogPath(lossy)), gb);
    const QString unknown = dir_.path() + "/\uFFFD.asm";
    QCOMPARE(ResolveDialogPath(unknown), unknown);

    char program[] = "edumac8";
    char option[] = "--open";
    std::string raw = gb;
    char* argv[] = {program, option, raw.data()};
    QCOMPARE(PathBytes(ArgumentPath(lossy, 3, argv)), gb);
  }

  void aPictureRunNeverWaitsForAPerson() {
    const QString png = dir_.filePath("SHOT.PNG");
    const QString missing = dir_.filePath("MISSING.ASM");
    int code = 0;
    QByteArray errors;
    Run(EDUMAC8_PROGRAM, {"--open", missing, "--make", "--screenshot", png}, &code, &errors);
    QCOMPARE(code, 1);
    QVERIFY2(QString::fromUtf8(errors).contains("读文件错误：" + missing), errors.constData());
    QVERIFY(!QFile::exists(png));

    // An assembly error is a message too.
    const QString bad = WriteSource(dir_, "ERR.ASM", "        JMP NOWHERE\n");
    Run(EDUMAC8_PROGRAM, {"--open", bad, "--make", "--screenshot", png}, &code, &errors);
    QCOMPARE(code, 1);
    QVERIFY2(QString::fromUtf8(errors).contains("错误 353"), errors.constData());

    const QString good = WriteSource(dir_, "OK.ASM", kShortProgram);
    Run(EDUMAC8_PROGRAM, {"--open", good, "--make", "--steps", "2", "--screenshot", png}, &code,
        &errors);
    QCOMPARE(code, 0);
    QVERIFY(QFile::exists(png));
  }
};

QTEST_MAIN(WindowTruthTest)
#include "window_truth_test.moc"
