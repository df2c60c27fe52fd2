// The user's files in the real workbench window: nothing is written that the user did not
// change, nothing unsaved is dropped without a question, nothing is replaced by a file that
// did not load. Files are checked on disk byte for byte.
#include <Qsci/qsciscintilla.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <filesystem>
#include <set>

#include "asm/messages.h"
#include "gui_test_support.h"
#include "isa/ins_file.h"
#include "isa/instruction_set_window.h"
#include "platform/paths.h"
#include "ui/file_names.h"
#include "ui/status_line.h"
#include "ui/tsrc_form.h"
#include "views/micro_program_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

QString Msg(int n) { return QString::fromStdString(MessageText(n)); }

std::string Bytes(const QString& path) { return ReadWholeFile(PathBytes(path)).value_or(""); }

void WriteBytes(const QString& path, const std::string& bytes) {
  QVERIFY(WriteFileAtomic(PathBytes(path), bytes));
}

ino_t Inode(const QString& path) {
  struct stat st {};
  return ::stat(PathBytes(path).c_str(), &st) == 0 ? st.st_ino : 0;
}

QString Question798(const QString& caption) { return Msg(798).replace("%s", caption); }

const char* const kUtf8Source = "; 累加 1+2\r\n        MOV A,#1\r\n        ADD A,#2\r\n";
const char* const kWriteError = "写文件错误：";
const char* const kFormatError = "文件格式错误：";

}  // namespace

class WorkProtectionTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  Workbench& wb() { return form_->workbench(); }
  TSRCForm& src() { return *form_->SRCForm(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // Ticks a bit of the micro-program, as a user edits it.
  void EditMicroWord() {
    TuMF& micro = *form_->uMF();
    form_->pgBottom()->setCurrentWidget(&micro);
    micro.SelectGridRow(0x11 + 1);
    QTest::mouseClick(micro.BitPanel().Box(3), Qt::LeftButton);
    QVERIFY(wb().isa.UMModified);
  }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
  }
  void cleanup() {
    // Nothing left to ask about: the window closes without dialogs.
    if (form_) {
      src().Memo1()->setModified(false);
      for (TSRCForm* further : form_->FurtherSources()) further->Memo1()->setModified(false);
      wb().isa.UMModified = false;
    }
    form_.reset();
  }

  void anUnmodifiedSourceIsNeverWritten() {
    // A UTF-8 file: F9, F8, Save all and F2 leave its bytes and its inode alone.
    const QString path = Path("UTF8.ASM");
    WriteBytes(path, kUtf8Source);
    const ino_t inode = Inode(path);
    OpenThroughDialog(*form_, log_, path);
    Press(*form_, Qt::Key_F9);
    QVERIFY2(wb().assembler.AssembledOK(), qPrintable(log_.errors.join('\n')));
    Press(*form_, Qt::Key_F9);
    Press(*form_, Qt::Key_F8);
    form_->SaveAllFileClick();
    Press(*form_, Qt::Key_F2);
    QCOMPARE(Bytes(path), std::string(kUtf8Source));
    QCOMPARE(Inode(path), inode);
    QVERIFY(!QFile::exists(Path("UTF8.BAK")));
    QVERIFY(log_.errors.isEmpty());

    // Once edited, F9 saves it (as GB2312) and keeps the old bytes in the .BAK.
    src().Memo1()->setCursorPosition(1, 0);
    QTest::keyClicks(src().Memo1(), ";");
    Press(*form_, Qt::Key_F9);
    QCOMPARE(Bytes(Path("UTF8.BAK")), std::string(kUtf8Source));
    QCOMPARE(Bytes(path), *EncodeGb2312("; 累加 1+2\r\n;        MOV A,#1\r\n        ADD A,#2\r\n"));
  }

  void anUnmodifiedSourceInAReadOnlyDirectoryAssemblesWithoutWriting() {
    QVERIFY(QDir(dir_.path()).mkdir("ro"));
    const QString path = Path("ro/PROG.ASM");
    WriteSource(dir_, "ro/PROG.ASM", "        NOP\n");
    const std::string before = Bytes(path);
    const ino_t inode = Inode(path);
    QVERIFY(QFile::setPermissions(Path("ro"), QFile::ReadOwner | QFile::ExeOwner));
    OpenThroughDialog(*form_, log_, path);
    Press(*form_, Qt::Key_F9);
    Press(*form_, Qt::Key_F9);
    QFile::setPermissions(Path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString& error : log_.errors)
      QVERIFY2(!error.startsWith(kWriteError + path), qPrintable(error));
    QCOMPARE(Bytes(path), before);
    QCOMPARE(Inode(path), inode);
    QVERIFY(!QFile::exists(Path("ro/PROG.BAK")));
  }

  void aFileThatIsNotTextIsNeitherOpenedNorWritten() {
    const QString mine = WriteSource(dir_, "MINE.ASM", "        NOP\n");
    OpenThroughDialog(*form_, log_, mine);
    const struct {
      const char* name;
      std::string bytes;
    } cases[] = {
        {"NUL.ASM", std::string("        NOP\r\n\0        OUT\r\n", 26)},
        {"LATIN1.ASM", "; caf\xE9 \xFF\xFE\r\n        NOP\r\n"},
    };
    for (const auto& c : cases) {
      const QString path = Path(c.name);
      WriteBytes(path, c.bytes);
      log_.errors.clear();
      OpenThroughDialog(*form_, log_, path);
      QCOMPARE(log_.errors, QStringList({kFormatError + path}));
      // Nothing opened: the editor still holds the file before, and F9 touches neither.
      QCOMPARE(src().FileName(), mine);
      QCOMPARE(src().windowTitle(), QString("MINE.ASM"));
      QCOMPARE(QString::fromStdString(wb().control.SourcePath), mine);
      Press(*form_, Qt::Key_F9);
      Press(*form_, Qt::Key_F9);
      QCOMPARE(Bytes(path), c.bytes);
      QVERIFY(!QFile::exists(QString::fromStdString(DerivedPath(PathBytes(path), ".BAK"))));
    }
    // Not as a further window either.
    const QString abl = Path("BIN.ABL");
    WriteBytes(abl, std::string("\0\1\2", 3));
    OpenThroughDialog(*form_, log_, abl);
    QCOMPARE(log_.errors.last(), kFormatError + abl);
    QVERIFY(form_->FurtherSources().isEmpty());
  }

  void aUtf8FileOpensAndIsSavedAsGb2312OrNotAtAll() {
    const QString path = Path("U.ASM");
    WriteBytes(path, kUtf8Source);
    OpenThroughDialog(*form_, log_, path);
    QCOMPARE(log_.informations.size(), 1);
    QVERIFY(log_.informations.first().contains("UTF-8"));
    QVERIFY(log_.informations.first().endsWith(path));
    QCOMPARE(src().Memo1()->text(), QString::fromUtf8(kUtf8Source));
    QVERIFY(!src().Modified());

    // A character GB2312 lacks: the save fails and the file keeps its bytes; never a '?'.
    src().Memo1()->setCursorPosition(0, 0);
    src().Memo1()->insert("镕");  // typed with an input method
    Press(*form_, Qt::Key_F2);
    QCOMPARE(log_.errors, QStringList({kWriteError + path}));
    QCOMPARE(Bytes(path), std::string(kUtf8Source));
    QVERIFY(src().Modified());
    // F9 does not assemble the file behind the unsaved edit.
    Press(*form_, Qt::Key_F9);
    QVERIFY(!wb().assembler.AssembledOK());
    QCOMPARE(Bytes(path), std::string(kUtf8Source));

    src().Memo1()->undo();
    src().Memo1()->insert("加");
    Press(*form_, Qt::Key_F2);
    QCOMPARE(Bytes(path), *EncodeGb2312("加" + std::string(kUtf8Source)));
  }

  void openNewAndCloseAskBeforeDroppingAnEdit() {
    const QString first = WriteSource(dir_, "FIRST.ASM", "        NOP\n");
    const QString second = WriteSource(dir_, "SECOND.ASM", "        OUT\n");
    OpenThroughDialog(*form_, log_, first);
    QTest::keyClicks(src().Memo1(), "; mine");

    // Open: Cancel keeps the text and the source, No drops it.
    log_.answers = {Answer::Cancel};
    OpenThroughDialog(*form_, log_, second);
    QCOMPARE(log_.questions, QStringList({Question798("FIRST.ASM")}));
    QVERIFY(src().Memo1()->text().startsWith("; mine"));
    QCOMPARE(QString::fromStdString(wb().control.SourcePath), first);
    log_.answers = {Answer::No};
    OpenThroughDialog(*form_, log_, second);
    QCOMPARE(src().FileName(), second);
    QCOMPARE(ReadText(first), QString("        NOP\r\n"));

    // New: Yes saves first.
    QTest::keyClicks(src().Memo1(), "; kept");
    log_.answers = {Answer::Yes};
    form_->New1Click();
    QVERIFY(ReadText(second).startsWith("; kept"));
    QCOMPARE(src().FileName(), QString("NONAME1"));

    // An unnamed text: Yes offers Save as, and cancelling it cancels the command.
    QTest::keyClicks(src().Memo1(), "        NOP");
    log_.answers = {Answer::Yes};
    log_.paths = {QString()};
    form_->New1Click();
    QCOMPARE(src().Memo1()->text(), QString("        NOP"));
    log_.answers = {Answer::Yes};
    OpenThroughDialog(*form_, log_, first);  // the open dialog's path, then Save as cancelled
    QCOMPARE(src().Memo1()->text(), QString("        NOP"));

    // Closing asks for each modified text: the source, a further file and a floating copy.
    const QString abl = WriteSource(dir_, "T.ABL", "MODULE t\n");
    OpenThroughDialog(*form_, log_, abl);
    TSRCForm* further = form_->FurtherSources().first();
    QTest::keyClicks(further->Memo1(), "x");
    TSRCForm* copy = src().Open1Click();
    QTest::keyClicks(copy->Memo1(), "y");
    log_.questions.clear();
    log_.answers = {Answer::No, Answer::Cancel};
    QVERIFY(!form_->close());
    QVERIFY(form_->isVisible());
    QCOMPARE(log_.questions.size(), 2);
    QCOMPARE(log_.questions[0], Question798("*.ASM"));
    QCOMPARE(log_.questions[1], Question798("T.ABL"));
    QCOMPARE(log_.askedWhileShown, QList<bool>(log_.askedWhileShown.size(), true));

    const QString copyPath = Path("COPY.ASM");
    log_.questions.clear();
    log_.answers = {Answer::No, Answer::Yes, Answer::Yes};
    log_.paths = {copyPath};
    QVERIFY(form_->close());
    QCOMPARE(log_.questions.size(), 3);
    QCOMPARE(ReadText(abl), QString("xMODULE t\r\n"));
    QVERIFY(ReadText(copyPath).contains("NOP"));
    form_.reset();
  }

  void exitWithAModifiedInstructionSystemAsks() {
    const QString system = QStringLiteral("指令系统/微程序已修改, 保存?");
    // Cancel: the window stays, nothing is written.
    EditMicroWord();
    log_.answers = {Answer::Cancel};
    QVERIFY(!form_->close());
    QCOMPARE(log_.questions, QStringList({system}));
    QCOMPARE(log_.askedWhileShown, QList<bool>({true}));
    QVERIFY(log_.titles.isEmpty());

    // Yes, then cancelling the save dialog: the window stays. The proposal is DEFAULT.INS.
    log_.answers = {Answer::Yes};
    QVERIFY(!form_->close());
    QCOMPARE(log_.proposals, QStringList({"DEFAULT.INS"}));
    QVERIFY(form_->isVisible());

    // Yes with a name: the system is saved and the window closes.
    const QString saved = Path("EXIT");
    log_.answers = {Answer::Yes};
    log_.paths = {saved};
    QVERIFY(form_->close());
    InstructionSystem loaded;
    MicroProgram uM{};
    QVERIFY(!LoadInsFile(PathBytes(saved + ".INS"), loaded, uM));
    QCOMPARE(uM, wb().machine.uM);
    form_.reset();

    // No: closes without a file. With a remembered .INS name, Yes proposes that one.
    form_ = ShowWorkbench(log_);
    EditMicroWord();
    log_.answers = {Answer::No};
    QVERIFY(form_->close());
    form_ = ShowWorkbench(log_);
    log_.paths = {saved + ".INS"};
    form_->LoaduMClick();
    EditMicroWord();
    log_.proposals.clear();
    log_.answers = {Answer::Yes};
    log_.paths = {QString()};
    QVERIFY(!form_->close());
    QCOMPARE(log_.proposals, QStringList({saved + ".INS"}));
  }

  void csvExportsNeverProposeOrOverwriteTheInstructionSystem() {
    const QString ins = Path("default.INS");
    log_.paths = {ins};
    form_->SaveuMClick();
    const std::string system = Bytes(ins);
    QVERIFY(!system.empty());

    // Proposed: the kind's default while no source is named; Save over the .INS is refused.
    log_.paths = {ins};
    form_->SaveuMCSVClick();
    QCOMPARE(log_.proposals.last(), QString("uM.CSV"));
    QCOMPARE(log_.errors, QStringList({"不能把 CSV 写入指令系统文件：" + ins}));
    QCOMPARE(Bytes(ins), system);

    // A name without an extension gets .CSV and is proposed next time.
    log_.paths = {Path("table")};
    form_->SaveINSTCSVClick();
    QVERIFY(Bytes(Path("table.CSV")).starts_with("Sep=;\r\n"));
    log_.paths = {QString()};
    form_->SaveTraceCSVClick();
    QCOMPARE(log_.proposals.last(), Path("table.CSV"));

    // In a new window with a source open, the source's name with .CSV.
    form_ = ShowWorkbench(log_);
    OpenThroughDialog(*form_, log_, WriteSource(dir_, "LOOP.ASM", "        NOP\n"));
    log_.paths = {QString()};
    form_->SaveINSTCSVClick();
    QCOMPARE(log_.proposals.last(), Path("LOOP.CSV"));
    // The instruction system's own commands go on proposing its name.
    log_.paths = {QString()};
    form_->SaveuMClick();
    QCOMPARE(log_.proposals.last(), QString("INST.INS"));
  }

  void aFailedInstructionSystemLoadChangesNothing() {
    const QString good = Path("GOOD.INS");
    log_.paths = {good};
    form_->SaveuMClick();
    const std::string bytes = Bytes(good);
    EditMicroWord();  // the current system differs from every file below
    const MicroProgram current = wb().machine.uM;
    const std::string rowText = form_->uMF()->Model().Row(0x10)[0];
    const QString entry = QString::fromStdString(wb().isa.EntryText(4));

    std::string badKind = bytes;
    badKind[34 + 1 + 1 + 7 + 2] = 6;  // the second operand kind in the record of _FATCH_
    const struct {
      const char* name;
      std::string bytes;
      const char* message;
    } cases[] = {
        {"CUT.INS", bytes.substr(0, bytes.size() - 100), "读文件错误："},
        {"GARBAGE.INS", bytes.substr(0, 34) + std::string(2000, '\x07'), kFormatError},
        {"KIND.INS", badKind, kFormatError},
    };
    for (const auto& c : cases) {
      const QString path = Path(c.name);
      WriteBytes(path, c.bytes);
      log_.errors.clear();
      log_.paths = {path};
      form_->LoaduMClick();
      QCOMPARE(log_.errors, QStringList({c.message + path}));
      QCOMPARE(wb().machine.uM, current);
      QCOMPARE(QString::fromStdString(wb().isa.EntryText(4)), entry);
      QCOMPARE(form_->uMF()->Model().Row(0x10)[0], rowText);
      QVERIFY(wb().isa.UMModified);
      QVERIFY(wb().isa.InsFileName != PathBytes(path));
    }

    // The built-in system comes back from the menu, marked modified.
    QAction* defaults = form_->Action("DefaultuM");
    QVERIFY(defaults);
    QCOMPARE(defaults->text(), QString("恢复默认指令系统(&D)"));
    form_->NewuMClick();
    defaults->trigger();
    InstructionSystem builtIn;
    MicroProgram builtInUM{};
    builtIn.LoadDefaults(builtInUM);
    QCOMPARE(wb().machine.uM, builtInUM);
    QCOMPARE(QString::fromStdString(wb().isa.EntryText(4)),
             QString::fromStdString(builtIn.EntryText(4)));
    QVERIFY(wb().isa.UMModified);
  }

  void cancellingSaveAsCancelsTheAssembly() {
    src().Memo1()->insert("        NOP\r\n");
    const ProgramMemory em = wb().machine.EM;
    log_.paths = {QString()};
    Press(*form_, Qt::Key_F9);
    QCOMPARE(log_.titles.size(), 1);  // Save as was offered
    QVERIFY(log_.errors.isEmpty());   // and no error 102 for "*.ASM"
    QVERIFY(!wb().assembler.AssembledOK());
    QCOMPARE(wb().machine.EM, em);
    QVERIFY(form_->Status()->OutcomeText().isEmpty());
    QVERIFY(form_->Action("MakeBtn")->isEnabled());
  }

  void aFileWhoseNameIsGb2312OpensAssemblesAndSaves() {
    QVERIFY(QDir(dir_.path()).mkdir("gb"));
    const std::string directory = PathBytes(Path("gb"));
    const std::string name = directory + "/\xB2\xE2\xCA\xD4.asm";  // 测试.asm in GB2312
    QVERIFY(WriteFileAtomic(name, "        NOP\r\n"));
    const QString path = PathText(name);
    QCOMPARE(PathBytes(path), name);
    OpenThroughDialog(*form_, log_, path);
    QVERIFY2(log_.errors.isEmpty(), qPrintable(log_.errors.join('\n')));
    QCOMPARE(src().windowTitle(), QString("测试.asm"));
    Press(*form_, Qt::Key_F9);
    QVERIFY(wb().assembler.AssembledOK());
    QVERIFY(ReadWholeFile(directory + "/\xB2\xE2\xCA\xD4.bin"));
    QTest::keyClicks(src().Memo1(), "; ");
    Press(*form_, Qt::Key_F2);
    QCOMPARE(ReadWholeFile(name).value_or(""), std::string(";         NOP\r\n"));
    QVERIFY(ReadWholeFile(directory + "/\xB2\xE2\xCA\xD4.bak"));
    // Nothing was written under a name Qt would have made of it (QDir itself cannot even
    // see these names as files).
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
      names.insert(entry.path().filename().string());
    QCOMPARE(names, (std::set<std::string>{"\xB2\xE2\xCA\xD4.asm", "\xB2\xE2\xCA\xD4.bak",
                                           "\xB2\xE2\xCA\xD4.bin", "\xB2\xE2\xCA\xD4.lst"}));
  }
};

QTEST_MAIN(WorkProtectionTest)
#include "work_protection_test.moc"
