// The source editor's marks, status panels, close query, floating copies, files and search.
#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QMenu>

#include "asm/messages.h"
#include "gui_test_support.h"
#include "ui/asm_lexer.h"
#include "ui/find_replace_dialog.h"
#include "ui/tsrc_form.h"

using namespace edumac8;
using namespace edumac8::test;

class SourceEditorTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  TSRCForm& src() { return *form_->SRCForm(); }
  void SetLines(int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) lines << QString("        NOP ; %1").arg(i);
    src().Memo1()->setText(lines.join("\r\n"));
  }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
  }
  void cleanup() { form_.reset(); }

  void elevenBookmarksKeepTheLastTenLines() {
    SetLines(20);
    QList<int> modes, marks;
    connect(&src(), &TSRCForm::OnFixBook, this, [&](int, int mark, int mode) {
      marks << mark;
      modes << mode;
    });
    for (int line = 1; line <= 11; ++line) src().ToggleBookmark(line);
    QCOMPARE(src().BookmarkAt(1), -1);
    for (int line = 2; line <= 10; ++line) QCOMPARE(src().BookmarkAt(line), line - 1);
    QCOMPARE(src().BookmarkAt(11), 0);
    QCOMPARE(marks.last(), 10);  // bookmark 0 moved
    // A click on a bookmarked line removes it and frees its number.
    src().ToggleBookmark(5);
    QCOMPARE(src().BookmarkAt(5), -1);
    QCOMPARE(modes.last(), -1);
    src().ToggleBookmark(15);
    QCOMPARE(src().BookmarkAt(15), 4);
  }

  void programCounterMarkIsOneLineAndCombinesWithABookmark() {
    SetLines(10);
    src().SetProgramCounterMark(3);
    src().SetProgramCounterMark(5);
    QCOMPARE(src().ProgramCounterLine(), 5);
    QVERIFY(!src().LineHasMarker(3, TSRCForm::kProgramCounter));
    QVERIFY(src().LineHasMarker(5, TSRCForm::kProgramCounter));
    src().ToggleBookmark(5);  // bookmark 0 shares the line
    QVERIFY(src().LineHasMarker(5, TSRCForm::kProgramCounterBookmark0));
    QVERIFY(!src().LineHasMarker(5, TSRCForm::kProgramCounter));
    // The mark moves with the text.
    src().Memo1()->setCursorPosition(0, 0);
    QTest::keyClick(src().Memo1(), Qt::Key_Return);
    QCOMPARE(src().ProgramCounterLine(), 6);
    src().SetProgramCounterMark(99);  // outside the text: nothing changes
    QCOMPARE(src().ProgramCounterLine(), 6);
  }

  void breakpointGlyphFollowsDebuggingAndCode() {
    const QString path = WriteSource(dir_, "B.ASM", "        ORG 0\n        NOP\n        END\n");
    OpenThroughDialog(*form_, log_, path);
    QList<int> modes;
    connect(&src(), &TSRCForm::OnFixBreak, this, [&](int, int mode) { modes << mode; });
    src().ToggleBreakpoint(2);
    src().ToggleBreakpoint(3);
    QVERIFY(src().LineHasMarker(2, TSRCForm::kBreakpoint));
    Press(*form_, Qt::Key_F9);
    QVERIFY(src().LineHasMarker(2, TSRCForm::kBreakpoint));  // nothing stepped yet
    Press(*form_, Qt::Key_F7);
    QVERIFY(src().LineHasMarker(2, TSRCForm::kBreakpointOnCode));   // NOP is code
    QVERIFY(src().LineHasMarker(3, TSRCForm::kBreakpointStepped));  // END is not
    QVERIFY(!src().LineHasMarker(1, TSRCForm::kCodeLine));
    src().ToggleBreakpoint(2);
    QVERIFY(!src().HasBreakpoint(2));
    QVERIFY(src().LineHasMarker(2, TSRCForm::kCodeLine));
    QCOMPARE(modes, QList<int>({0, 0, -1}));
  }

  void statusPanelsShowPositionModifiedAndMode() {
    SetLines(3);
    src().Memo1()->setModified(false);
    src().GotoLine(2, 4);
    QTRY_COMPARE(src().PositionText(), QString("2:4"));
    QCOMPARE(src().ModifiedText(), QString());
    QCOMPARE(src().InsertModeText(), QString("Insert"));
    QTest::keyClicks(src().Memo1(), "x");
    QCOMPARE(src().ModifiedText(), QString("Modified"));
    QTest::keyClick(src().Memo1(), Qt::Key_Insert);
    QTRY_COMPARE(src().InsertModeText(), QString("Overwrite"));
  }

  void savingWritesGb2312WithCrLfAndABackup() {
    const QString path = WriteSource(dir_, "T.ASM", "; 旧的\n        NOP\n");
    OpenThroughDialog(*form_, log_, path);
    src().Memo1()->setText("; 新的注释\n        NOP\n");
    form_->SaveFile1Click();
    QCOMPARE(ReadText(path), QString("; 新的注释\r\n        NOP\r\n"));
    QCOMPARE(ReadText(dir_.filePath("T.BAK")), QString("; 旧的\r\n        NOP\r\n"));
    QCOMPARE(src().ModifiedText(), QString());
  }

  void keywordsFollowTheInstructionSet() {
    const QString path = WriteSource(dir_, "K.ASM", "        MOV A, R0\n");
    OpenThroughDialog(*form_, log_, path);
    AsmLexer* lexer = src().Lexer();
    QVERIFY(lexer);
    QVERIFY(lexer->IsKeyword("mov"));
    QVERIFY(lexer->IsKeyword("ORG"));
    QVERIFY(!lexer->IsKeyword("FOO"));
    // A renamed mnemonic is coloured in files opened afterwards.
    QVERIFY(!form_->workbench().isa.ModifyEntry(2, "FOO", 0, 0));
    OpenThroughDialog(*form_, log_, path);
    QVERIFY(src().Lexer()->IsKeyword("foo"));
    form_->New1Click();
    QVERIFY(src().Highlighted());
  }

  void floatingCopyAsksWithItsCaptionAndSavesItsOwnText() {
    const QString path = WriteSource(dir_, "TEST.ASM", "        NOP\n");
    OpenThroughDialog(*form_, log_, path);
    src().Memo1()->setText("        NOP\n        NOP\n");  // unsaved change reaches the copy
    TSRCForm* copy = src().Open1Click();
    QCOMPARE(copy->windowTitle(), QString("TEST.ASM:1"));
    QCOMPARE(copy->Memo1()->text(), src().Memo1()->text());
    QCOMPARE(src().Open1Click()->windowTitle(), QString("TEST.ASM:2"));
    // The debugger keys work in the copy's window too.
    QApplication::setActiveWindow(copy);
    QVERIFY(QTest::qWaitForWindowActive(copy));
    const int before = form_->workbench().machine.history.Count();
    QTest::keyClick(copy->Memo1(), Qt::Key_F7);
    QVERIFY(form_->workbench().machine.history.Count() > before);

    form_->workbench().control.SourceModified = false;
    QTest::keyClicks(copy->Memo1(), ";");
    QVERIFY(!form_->workbench().control.SourceModified);  // the copy is not the source
    log_.answers.push_back(Answer::Cancel);
    QVERIFY(!copy->close());
    QVERIFY(log_.questions.last().startsWith("TEST.ASM:1 "));
    QCOMPARE(log_.questions.last(),
             QString::fromStdString(MessageText(798)).replace("%s", "TEST.ASM:1"));

    const QString copyPath = dir_.filePath("COPY.ASM");
    log_.answers.push_back(Answer::Yes);
    log_.paths.push_back(copyPath);
    QVERIFY(copy->close());
    QVERIFY(ReadText(copyPath).startsWith(";"));
    QCOMPARE(QString::fromStdString(form_->workbench().control.SourcePath), path);
  }

  void findAndReplace() {
    src().Memo1()->setText("MOV A, R0\r\nMOV A, R1\r\nADD A, R0\r\n");
    FindReplaceDialog& find = src().FindDialog();
    find.SetSearch("r0");
    src().Memo1()->setCursorPosition(0, 0);
    QVERIFY(find.FindNext());
    int line = 0, index = 0;
    src().Memo1()->getCursorPosition(&line, &index);
    QCOMPARE(line, 0);
    QVERIFY(find.FindNext());
    src().Memo1()->getCursorPosition(&line, &index);
    QCOMPARE(line, 2);
    find.SetSearch("NONE");
    QVERIFY(!find.FindNext());
    find.SetSearch("R0", true);
    find.SetReplacement("R0R0");
    QCOMPARE(find.ReplaceAll(), 2);
    QCOMPARE(src().Memo1()->text(), QString("MOV A, R0R0\r\nMOV A, R1\r\nADD A, R0R0\r\n"));
    src().Memo1()->undo();
    QCOMPARE(src().Memo1()->text(), QString("MOV A, R0\r\nMOV A, R1\r\nADD A, R0\r\n"));
  }
};

QTEST_MAIN(SourceEditorTest)
#include "source_editor_test.moc"
