// TSRCForm, a source editor window: the assembly source in a programmer's editor with the
// margin marks that tie it to the running program (breakpoints in the left half; bookmarks,
// the program-counter arrow and error marks in the right half), the status line and the close
// query. Files are GB2312 with CR LF on disk.
//
// Marks are editor markers, so they move with the text when lines are inserted or removed;
// lines in this interface are 1-based as the assembler counts them.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "platform/text_codec.h"
#include "workbench/workbench.h"

class QLabel;
class QMenu;
class QStatusBar;
class QsciScintilla;

namespace edumac8 {

class AsmLexer;
class FindReplaceDialog;
class TMANForm;

class TSRCForm : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Docked, Further, FloatingCopy };

  // Markers; the numbers are the editor's marker numbers.
  enum Marker {
    kBookmark0 = 0,  // 0-9
    kProgramCounter = 10,
    kProgramCounterBookmark0 = 11,  // 11-20: the arrow combined with bookmark n
    kError = 21,
    kBreakpoint = 22,         // before any debugging since the last assembly
    kBreakpointStepped = 23,  // once a step, trace, run or reset was done
    kBreakpointOnCode = 24,   // on a line that holds code
    kCodeLine = 25,
    kProgramCounterLine = 26,  // the line's background
  };

  TSRCForm(Workbench& workbench, TMANForm& main, Kind kind, QWidget* parent = nullptr);
  ~TSRCForm() override;

  QsciScintilla* Memo1() const { return memo_; }
  Kind WindowKind() const { return kind_; }

  // A file read for an editor: its text, or the error to report ("读文件错误：" when it
  // cannot be read, "文件格式错误：" when it is neither GB2312 nor UTF-8 text) and the path.
  struct TextFile {
    std::optional<DecodedText> text;
    QString error;
    bool readable = true;  // false: the error is "读文件错误："
  };
  static TextFile ReadTextFile(const QString& path);
  // Shows a text read from `path` as that file's unmodified text.
  void ShowFile(const QString& path, const DecodedText& file);
  // Writes the text as GB2312 with CR LF, after the .BAK of an existing file. Returns false,
  // and writes nothing, when a character has no GB2312 form or writing fails.
  bool SaveToFile(const QString& path);
  void NewText(const QString& name);
  QString FileName() const { return fileName_; }
  void SetFileName(const QString& name) { fileName_ = name; }
  bool Modified() const;
  bool Empty() const;
  // .ASM files are coloured with the current instruction set's keywords, others not at all.
  void HighlightFor(const QString& path);
  bool Highlighted() const { return lexer_ != nullptr; }
  AsmLexer* Lexer() const { return lexer_; }

  // Caret to (line, column), 1-based; nothing when the line is outside the text.
  void GotoLine(int line, int column);

  // Marks.
  void SetProgramCounterMark(int line);
  void ClearProgramCounterMark();
  int ProgramCounterLine() const;  // 0 when none
  void AddErrorMark(int line);
  void ClearErrorMarks();
  bool HasErrorMark(int line) const;
  // In a floating copy the docked editor's mark on that line is toggled.
  void ToggleBreakpoint(int line);
  bool HasBreakpoint(int line) const;
  std::vector<int> BreakpointLines() const;
  // The docked editor: its marks become execution control's breakpoints (through the line map
  // of the last assembly) and the floating copies' marks. After every toggle and assembly.
  void PublishBreakpoints();
  // A floating copy of the docked editor shows its marks and changes them.
  void ShareDockedMarks(const TSRCForm& docked);
  bool SharesDockedMarks() const { return kind_ == Kind::Docked || sharesDockedMarks_; }
  void ShowBreakpointLines(const std::vector<int>& lines);
  void ToggleBookmark(int line);
  int BookmarkAt(int line) const;  // -1 when none
  // The breakpoint glyphs and the code-line indicator follow AssembledOK and Stepped; the
  // indicator needs the assembler's line map.
  void RefreshLineGlyphs();
  // The marker shown on a line among `markers`, for tests and the glyph refresh.
  bool LineHasMarker(int line, int marker) const;

  // Status panels 2, 3, 4 and 6 as shown.
  QString PositionText() const;
  QString ModifiedText() const;
  QString InsertModeText() const;

  void CopyTextFrom(const TSRCForm& other);
  FindReplaceDialog& FindDialog();

  // Popup menu handlers.
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Search1Click();
  void Replace1Click();
  void FindNext1Click();
  void RunToCursor1Click();
  TSRCForm* Open1Click();
  void Save1Click();
  QMenu* PopupMenu() const { return popup_; }

  // Whether the text may be dropped: asks with message 798 when it is modified. Yes saves
  // (false when the save fails or is cancelled), No drops the text, Cancel keeps it.
  bool QuerySave();
  // Whether the window may close: QuerySave, and the docked editor's SourcePath is emptied.
  bool FormCloseQuery();

 signals:
  // After a margin click: mode 0 when a mark was set, -1 when removed; mark 10 when bookmark
  // 0 moved because all ten were in use. Nothing is connected by the workbench.
  void OnFixBreak(int line, int mode);
  void OnFixBook(int line, int mark, int mode);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FitLineNumbers();
  void Memo1Change();
  void Memo1ShowStatus();
  void MarginClicked(int margin, int line);
  void DefineMarkers();
  void ShowProgramCounterGlyph();
  bool SaveCopyAs();

  Workbench& workbench_;
  TMANForm& main_;
  Kind kind_;
  QsciScintilla* memo_ = nullptr;
  AsmLexer* lexer_ = nullptr;
  QStatusBar* status_ = nullptr;
  QLabel* panel2_ = nullptr;
  QLabel* panel3_ = nullptr;
  QLabel* panel4_ = nullptr;
  QLabel* panel6_ = nullptr;
  QMenu* popup_ = nullptr;
  FindReplaceDialog* find_ = nullptr;
  QString fileName_;
  int copyCounter_ = 1;
  bool sharesDockedMarks_ = false;
  int programCounterHandle_ = -1;
  bool loading_ = false;
  // What RefreshLineGlyphs last showed, so a step does not redo the whole margin.
  int glyphState_ = -1;
  int lineNumberDigits_ = 0;
};

}  // namespace edumac8
