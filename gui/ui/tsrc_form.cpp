#include "ui/tsrc_form.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "asm/messages.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "ui/asm_lexer.h"
#include "ui/code_font.h"
#include "ui/file_names.h"
#include "ui/find_replace_dialog.h"
#include "ui/tman_form.h"
#include "ui/user_dialogs.h"

namespace edumac8 {
namespace {

constexpr int kBreakMargin = 0;  // left half of the 30-pixel margin
constexpr int kMarkMargin = 1;   // right half
constexpr int kLineNumberMargin = 2;
constexpr int kHalfMargin = 15;
constexpr int kPcIndicator = 8;  // white program-counter text

constexpr unsigned Bit(int marker) { return 1u << marker; }
constexpr unsigned kBookmarkMask = 0x3FF;
constexpr unsigned kBreakpointMask = Bit(TSRCForm::kBreakpoint) |
                                     Bit(TSRCForm::kBreakpointStepped) |
                                     Bit(TSRCForm::kBreakpointOnCode);
constexpr unsigned kProgramCounterMask = Bit(TSRCForm::kProgramCounter) | (kBookmarkMask << 11);

const QColor kProgramCounterBackground(0x1E, 0x50, 0xA0);
const QColor kBookmarkColour(0x1E, 0x6F, 0xC8);
const QColor kArrowColour(0xE0, 0x40, 0x20);
const QColor kBreakColour(0xD0, 0x20, 0x20);

QPixmap Canvas() {
  QPixmap pm(14, 14);
  pm.fill(Qt::transparent);
  return pm;
}

void PaintArrow(QPainter& p, QRectF r) {
  QPainterPath path;
  const qreal yc = r.center().y();
  path.moveTo(r.left(), yc - r.height() * 0.2);
  path.lineTo(r.center().x(), yc - r.height() * 0.2);
  path.lineTo(r.center().x(), yc - r.height() * 0.45);
  path.lineTo(r.right(), yc);
  path.lineTo(r.center().x(), yc + r.height() * 0.45);
  path.lineTo(r.center().x(), yc + r.height() * 0.2);
  path.lineTo(r.left(), yc + r.height() * 0.2);
  path.closeSubpath();
  p.fillPath(path, kArrowColour);
}

void PaintDigit(QPainter& p, QRectF r, int digit) {
  p.setBrush(kBookmarkColour);
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(r, 2, 2);
  QFont f = p.font();
  f.setPixelSize(int(r.height()) - 2);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignCenter, QString::number(digit));
}

QPixmap BookmarkGlyph(int digit) {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  PaintDigit(p, QRectF(1, 1, 12, 12), digit);
  return pm;
}

QPixmap ArrowGlyph() {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  PaintArrow(p, QRectF(1, 1, 12, 12));
  return pm;
}

QPixmap ArrowWithBookmarkGlyph(int digit) {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  PaintDigit(p, QRectF(0, 0, 8, 9), digit);
  PaintArrow(p, QRectF(4, 4, 10, 10));
  return pm;
}

QPixmap ErrorGlyph() {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0xC0, 0x00, 0x00), 2.2));
  p.drawLine(QPointF(3, 3), QPointF(11, 11));
  p.drawLine(QPointF(11, 3), QPointF(3, 11));
  return pm;
}

// Breakpoints: a full red dot before debugging, a ring once debugging has begun (the line is
// not known to hold code), a dot with a check once it sits on code.
QPixmap BreakpointGlyph(int variant) {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF dot(2, 2, 10, 10);
  if (variant == 1) {
    p.setPen(QPen(kBreakColour, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
    return pm;
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kBreakColour);
  p.drawEllipse(dot);
  if (variant == 2) {
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(4.5, 7), QPointF(6.5, 9.2));
    p.drawLine(QPointF(6.5, 9.2), QPointF(9.8, 4.8));
  }
  return pm;
}

QPixmap CodeLineGlyph() {
  QPixmap pm = Canvas();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x90, 0x30));
  p.drawEllipse(QRectF(5, 5, 4, 4));
  return pm;
}

// Every line break of the editor (CR LF, LF or CR) becomes CR LF.
QString WithCrLf(const QString& text) {
  QString normal = text;
  normal.replace("\r\n", "\n").replace('\r', '\n');
  return normal.replace("\n", "\r\n");
}

}  // namespace

TSRCForm::TSRCForm(Workbench& workbench, TMANForm& main, Kind kind, QWidget* parent)
    : QWidget(parent), workbench_(workbench), main_(main), kind_(kind) {
  setObjectName("TSRCForm");
  memo_ = new QsciScintilla(this);
  memo_->setObjectName("Memo1");
  status_ = new QStatusBar(this);
  status_->setSizeGripEnabled(kind == Kind::FloatingCopy);
  panel2_ = new QLabel(this);
  panel3_ = new QLabel(this);
  panel4_ = new QLabel(this);
  panel6_ = new QLabel(this);
  // Fixed sizes: a panel's new text must not re-lay-out the window on every caret move.
  const int panelHeight = fontMetrics().height() + 4;
  for (QLabel* panel : {panel2_, panel3_, panel4_}) {
    panel->setFixedSize(fontMetrics().horizontalAdvance("Overwrite") + 24, panelHeight);
    status_->addWidget(panel);
  }
  panel6_->setFixedHeight(panelHeight);
  status_->addWidget(panel6_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(memo_, 1);
  layout->addWidget(status_);

  memo_->setUtf8(true);
  memo_->setFont(CodeFont());
  memo_->setEolMode(QsciScintilla::EolWindows);
  memo_->setIndentationsUseTabs(true);
  memo_->setTabWidth(8);
  memo_->setAutoIndent(true);
  memo_->setTabIndents(true);
  memo_->setSelectionForegroundColor(Qt::blue);
  memo_->setSelectionBackgroundColor(palette().color(QPalette::Button));
  memo_->setCaretLineVisible(true);
  memo_->setCaretLineBackgroundColor(QColor(0x90, 0xB0, 0xE0));
  // Translucent, so the program-counter line keeps its colour under the caret.
  memo_->SendScintilla(QsciScintilla::SCI_SETCARETLINEBACKALPHA, 40);
  memo_->setMarginsBackgroundColor(QColor(0xEC, 0xEC, 0xE8));
  memo_->setMarginType(kBreakMargin, QsciScintilla::SymbolMargin);
  memo_->setMarginType(kMarkMargin, QsciScintilla::SymbolMargin);
  memo_->setMarginWidth(kBreakMargin, kHalfMargin);
  memo_->setMarginWidth(kMarkMargin, kHalfMargin);
  // Line numbers beside the marks: the assembler's messages cite lines.
  memo_->setMarginType(kLineNumberMargin, QsciScintilla::NumberMargin);
  memo_->setMarginLineNumbers(kLineNumberMargin, true);
  memo_->setMarginSensitivity(kBreakMargin, true);
  memo_->setMarginSensitivity(kMarkMargin, true);
  memo_->setMarginMarkerMask(kBreakMargin, int(kBreakpointMask | Bit(kCodeLine)));
  memo_->setMarginMarkerMask(kMarkMargin, int(kBookmarkMask | kProgramCounterMask | Bit(kError)));
  memo_->indicatorDefine(QsciScintilla::TextColorIndicator, kPcIndicator);
  memo_->setIndicatorForegroundColor(Qt::white, kPcIndicator);
  memo_->setIndicatorDrawUnder(false, kPcIndicator);
  DefineMarkers();
  memo_->installEventFilter(this);
  memo_->setContextMenuPolicy(Qt::CustomContextMenu);

  popup_ = new QMenu(this);
  popup_->addAction("剪切(&T)", this, &TSRCForm::Cut1Click);
  popup_->addAction("复制(&C)", this, &TSRCForm::Copy1Click);
  popup_->addAction("粘帖(&P)", this, &TSRCForm::Paste1Click);
  popup_->addSeparator();
  popup_->addAction("查找(&F)...", this, &TSRCForm::Search1Click);
  popup_->addAction("替换(&R)...", this, &TSRCForm::Replace1Click);
  popup_->addAction("查找下一个(&N)", this, &TSRCForm::FindNext1Click)
      ->setShortcut(QKeySequence("Ctrl+L"));
  popup_->addSeparator();
  QAction* runTo = popup_->addAction("运行到光标处(&G)", this, &TSRCForm::RunToCursor1Click);
  connect(popup_, &QMenu::aboutToShow, runTo,
          [this, runTo] { runTo->setEnabled(SharesDockedMarks()); });
  popup_->addAction("打开副本(&O)", this, [this] { Open1Click(); });
  popup_->addAction("保存(&S)", this, &TSRCForm::Save1Click)->setShortcut(QKeySequence("F2"));
  connect(memo_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(memo_->mapToGlobal(at)); });

  // Search keys work inside the editor; F2 and the debugger keys are the main window's.
  const auto shortcut = [this](const char* keys, void (TSRCForm::*handler)()) {
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(keys));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
  };
  shortcut("Ctrl+F", &TSRCForm::Search1Click);
  shortcut("Ctrl+H", &TSRCForm::Replace1Click);
  shortcut("Ctrl+L", &TSRCForm::FindNext1Click);

  connect(memo_, &QsciScintilla::textChanged, this, &TSRCForm::Memo1Change);
  connect(memo_, &QsciScintilla::cursorPositionChanged, this, &TSRCForm::Memo1ShowStatus);
  connect(memo_, &QsciScintilla::modificationChanged, this, &TSRCForm::Memo1ShowStatus);
  connect(memo_, &QsciScintilla::selectionChanged, this, [this] { main_.UpdateButtons(); });
  connect(memo_, &QsciScintilla::marginClicked, this,
          [this](int margin, int line, Qt::KeyboardModifiers) { MarginClicked(margin, line + 1); });
  connect(memo_, &QsciScintilla::linesChanged, this, &TSRCForm::FitLineNumbers);
  FormCreate();
}

TSRCForm::~TSRCForm() = default;

void TSRCForm::DefineMarkers() {
  for (int n = 0; n < 10; ++n) {
    memo_->markerDefine(BookmarkGlyph(n), kBookmark0 + n);
    memo_->markerDefine(ArrowWithBookmarkGlyph(n), kProgramCounterBookmark0 + n);
  }
  memo_->markerDefine(ArrowGlyph(), kProgramCounter);
  memo_->markerDefine(ErrorGlyph(), kError);
  memo_->markerDefine(BreakpointGlyph(0), kBreakpoint);
  memo_->markerDefine(BreakpointGlyph(1), kBreakpointStepped);
  memo_->markerDefine(BreakpointGlyph(2), kBreakpointOnCode);
  memo_->markerDefine(CodeLineGlyph(), kCodeLine);
  memo_->markerDefine(QsciScintilla::Background, kProgramCounterLine);
  memo_->setMarkerBackgroundColor(kProgramCounterBackground, kProgramCounterLine);
}

void TSRCForm::FormCreate() {
  HighlightFor(QString());
  FitLineNumbers();
  Memo1ShowStatus();
}

// Wide enough for the highest line number and one digit more, so typing on never jostles
// the text sideways.
void TSRCForm::FitLineNumbers() {
  const int digits = std::max(3, int(QString::number(memo_->lines()).size()) + 1);
  if (digits != lineNumberDigits_) {
    lineNumberDigits_ = digits;
    memo_->setMarginWidth(kLineNumberMargin, QString(digits, QLatin1Char('9')));
  }
}

TSRCForm::TextFile TSRCForm::ReadTextFile(const QString& path) {
  const std::optional<std::string> bytes = ReadWholeFile(PathBytes(path));
  if (!bytes) return {std::nullopt, "读文件错误：" + DisplayPath(path), false};
  std::optional<DecodedText> text = DecodeTextFile(*bytes);
  if (!text) return {std::nullopt, "文件格式错误：" + DisplayPath(path)};
  return {std::move(text), QString()};
}

void TSRCForm::ShowFile(const QString& path, const DecodedText& file) {
  loading_ = true;
  memo_->markerDeleteAll();  // a new text starts without marks
  memo_->setText(QString::fromStdString(file.utf8));
  memo_->convertEols(QsciScintilla::EolWindows);
  memo_->setModified(false);
  loading_ = false;
  fileName_ = path;
  programCounterHandle_ = -1;
  glyphState_ = -1;
  Memo1ShowStatus();
}

bool TSRCForm::SaveToFile(const QString& path) {
  const std::optional<std::string> text = EncodeGb2312(WithCrLf(memo_->text()).toStdString());
  if (!text) return false;
  const std::string target = PathBytes(path);
  WriteBackup(target, DerivedPath(target, ".BAK"));
  if (!WriteFileAtomic(target, *text)) return false;
  fileName_ = path;
  memo_->setModified(false);
  Memo1ShowStatus();
  return true;
}

void TSRCForm::NewText(const QString& name) {
  loading_ = true;
  memo_->markerDeleteAll();
  memo_->clear();
  memo_->setModified(false);
  loading_ = false;
  fileName_ = name;
  programCounterHandle_ = -1;
  glyphState_ = -1;
  Memo1ShowStatus();
}

bool TSRCForm::Modified() const { return memo_->isModified(); }
bool TSRCForm::Empty() const { return memo_->length() == 0; }

void TSRCForm::HighlightFor(const QString& path) {
  if (!HasExtension(PathBytes(path), ".ASM")) {
    memo_->setLexer(nullptr);
    delete lexer_;
    lexer_ = nullptr;
    memo_->setFont(CodeFont());
    return;
  }
  if (!lexer_) lexer_ = new AsmLexer(this);
  lexer_->SetKeywords(workbench_.isa.EditorKeywordList);
  memo_->setLexer(lexer_);
  // setLexer resets the margins' look; the program-counter text stays white on top.
  memo_->setMarginsBackgroundColor(QColor(0xEC, 0xEC, 0xE8));
  memo_->recolor();
}

void TSRCForm::GotoLine(int line, int column) {
  if (line < 1 || line > memo_->lines()) return;
  memo_->setCursorPosition(line - 1, std::max(0, column - 1));
  memo_->ensureLineVisible(line - 1);
}

bool TSRCForm::LineHasMarker(int line, int marker) const {
  return line >= 1 && (unsigned(memo_->markersAtLine(line - 1)) & Bit(marker));
}

int TSRCForm::BookmarkAt(int line) const {
  if (line < 1) return -1;
  const unsigned mask = unsigned(memo_->markersAtLine(line - 1));
  for (int n = 0; n < 10; ++n)
    if (mask & Bit(kBookmark0 + n)) return n;
  return -1;
}

int TSRCForm::ProgramCounterLine() const {
  if (programCounterHandle_ < 0) return 0;
  const int line = memo_->markerLine(programCounterHandle_);
  return line < 0 ? 0 : line + 1;
}

void TSRCForm::ClearProgramCounterMark() {
  // Only the marked line is touched, so a step repaints two lines, not the whole text.
  const int line = ProgramCounterLine();
  programCounterHandle_ = -1;
  if (line == 0) return;
  memo_->markerDelete(line - 1, kProgramCounterLine);
  memo_->markerDelete(line - 1, kProgramCounter);
  for (int n = 0; n < 10; ++n) memo_->markerDelete(line - 1, kProgramCounterBookmark0 + n);
  memo_->clearIndicatorRange(line - 1, 0, line, 0, kPcIndicator);
}

void TSRCForm::SetProgramCounterMark(int line) {
  if (line < 1 || line > memo_->lines() || line == ProgramCounterLine()) return;
  ClearProgramCounterMark();
  programCounterHandle_ = memo_->markerAdd(line - 1, kProgramCounterLine);
  memo_->fillIndicatorRange(line - 1, 0, line, 0, kPcIndicator);
  ShowProgramCounterGlyph();
}

// The arrow alone, or combined with the bookmark that shares its line.
void TSRCForm::ShowProgramCounterGlyph() {
  const int line = ProgramCounterLine();
  if (line == 0) return;
  memo_->markerDelete(line - 1, kProgramCounter);
  for (int n = 0; n < 10; ++n) memo_->markerDelete(line - 1, kProgramCounterBookmark0 + n);
  const int bookmark = BookmarkAt(line);
  memo_->markerAdd(line - 1, bookmark < 0 ? kProgramCounter : kProgramCounterBookmark0 + bookmark);
}

void TSRCForm::AddErrorMark(int line) {
  if (line >= 1 && line <= memo_->lines()) memo_->markerAdd(line - 1, kError);
}

void TSRCForm::ClearErrorMarks() { memo_->markerDeleteAll(kError); }

bool TSRCForm::HasErrorMark(int line) const { return LineHasMarker(line, kError); }

bool TSRCForm::HasBreakpoint(int line) const {
  return line >= 1 && (unsigned(memo_->markersAtLine(line - 1)) & kBreakpointMask);
}

void TSRCForm::ToggleBreakpoint(int line) {
  if (kind_ == Kind::FloatingCopy && sharesDockedMarks_ && main_.SRCForm()) {
    main_.SRCForm()->ToggleBreakpoint(line);
    emit OnFixBreak(line, HasBreakpoint(line) ? 0 : -1);
    return;
  }
  if (line < 1 || line > memo_->lines()) return;
  const bool had = HasBreakpoint(line);
  for (int m : {kBreakpoint, kBreakpointStepped, kBreakpointOnCode})
    memo_->markerDelete(line - 1, m);
  if (!had) memo_->markerAdd(line - 1, kBreakpoint);
  glyphState_ = -1;
  RefreshLineGlyphs();
  PublishBreakpoints();
  emit OnFixBreak(line, had ? -1 : 0);
}

void TSRCForm::ToggleBookmark(int line) {
  if (line < 1 || line > memo_->lines()) return;
  const int present = BookmarkAt(line);
  int mark = -1;
  int mode = 0;
  if (present >= 0) {
    memo_->markerDelete(line - 1, kBookmark0 + present);
    mark = present;
    mode = -1;
  } else {
    for (int n = 0; n < 10 && mark < 0; ++n)
      if (memo_->markerFindNext(0, int(Bit(kBookmark0 + n))) < 0) mark = n;
    if (mark < 0) {
      memo_->markerDeleteAll(kBookmark0);
      memo_->markerAdd(line - 1, kBookmark0);
      mark = 10;
    } else {
      memo_->markerAdd(line - 1, kBookmark0 + mark);
    }
  }
  ShowProgramCounterGlyph();
  emit OnFixBook(line, mark, mode);
}

void TSRCForm::RefreshLineGlyphs() {
  const bool assembled = workbench_.assembler.AssembledOK();
  const bool stepped = workbench_.control.Stepped;
  const int state = (assembled ? 2 : 0) | (stepped ? 1 : 0);
  if (state == glyphState_) return;
  glyphState_ = state;
  const bool showCode = assembled && stepped && kind_ == Kind::Docked;
  memo_->markerDeleteAll(kCodeLine);
  for (int line = 1; line <= memo_->lines(); ++line) {
    const bool code = showCode && workbench_.assembler.LineToAddress(line).has_value();
    if (HasBreakpoint(line)) {
      for (int m : {kBreakpoint, kBreakpointStepped, kBreakpointOnCode})
        memo_->markerDelete(line - 1, m);
      memo_->markerAdd(line - 1, code      ? kBreakpointOnCode
                                 : stepped ? kBreakpointStepped
                                           : kBreakpoint);
    } else if (code) {
      memo_->markerAdd(line - 1, kCodeLine);
    }
  }
}

void TSRCForm::MarginClicked(int margin, int line) {
  if (margin == kBreakMargin)
    ToggleBreakpoint(line);
  else if (margin == kMarkMargin)
    ToggleBookmark(line);
}

QString TSRCForm::PositionText() const { return panel2_->text(); }
QString TSRCForm::ModifiedText() const { return panel3_->text(); }
QString TSRCForm::InsertModeText() const { return panel4_->text(); }

void TSRCForm::Memo1ShowStatus() {
  int line = 0, index = 0;
  memo_->getCursorPosition(&line, &index);
  const auto show = [](QLabel* panel, const QString& text) {
    if (panel->text() != text) panel->setText(text);
  };
  show(panel2_, QString("%1:%2").arg(line + 1).arg(index + 1));
  show(panel3_, memo_->isModified() ? "Modified" : "");
  const bool overwrite = memo_->overwriteMode();
  // A new caret style redraws the whole editor, so it is set only when the mode changes.
  if (panel4_->text() != (overwrite ? "Overwrite" : "Insert"))
    memo_->SendScintilla(QsciScintilla::SCI_SETCARETSTYLE, overwrite
                                                               ? QsciScintilla::CARETSTYLE_BLOCK
                                                               : QsciScintilla::CARETSTYLE_LINE);
  show(panel4_, overwrite ? "Overwrite" : "Insert");
  main_.UpdateButtons();
}

void TSRCForm::Memo1Change() {
  // Only the docked editor holds the source that Make assembles; an edit in a copy or in
  // another file must not make the debugger reset the machine to assemble it again.
  if (loading_ || kind_ != Kind::Docked) return;
  workbench_.control.SourceModified = true;
}

bool TSRCForm::eventFilter(QObject* watched, QEvent* event) {
  // The Insert key toggles overwrite inside the editor; the status follows once it has.
  if (watched == memo_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Insert)
    QTimer::singleShot(0, this, &TSRCForm::Memo1ShowStatus);
  return QWidget::eventFilter(watched, event);
}

void TSRCForm::CopyTextFrom(const TSRCForm& other) { memo_->setText(other.memo_->text()); }

FindReplaceDialog& TSRCForm::FindDialog() {
  if (!find_) find_ = new FindReplaceDialog(*memo_, this);
  return *find_;
}

void TSRCForm::Cut1Click() { memo_->cut(); }
void TSRCForm::Copy1Click() { memo_->copy(); }
void TSRCForm::Paste1Click() { memo_->paste(); }
void TSRCForm::Search1Click() { FindDialog().Open(false); }
void TSRCForm::Replace1Click() { FindDialog().Open(true); }
void TSRCForm::FindNext1Click() { FindDialog().FindNext(); }

TSRCForm* TSRCForm::Open1Click() {
  auto* copy = new TSRCForm(workbench_, main_, Kind::FloatingCopy, &main_);
  copy->setWindowFlag(Qt::Window);
  copy->setAttribute(Qt::WA_DeleteOnClose);
  copy->addActions(main_.ShortcutActions());
  copy->CopyTextFrom(*this);
  if (SharesDockedMarks() && main_.SRCForm()) copy->ShareDockedMarks(*main_.SRCForm());
  copy->HighlightFor(fileName_);
  copy->setWindowTitle(windowTitle() + ':' + QString::number(copyCounter_++));
  copy->resize(640, 480);
  copy->show();
  return copy;
}

void TSRCForm::Save1Click() { main_.SaveFile1Click(); }

// A copy has no file of its own: saving it asks where, so its text is never lost.
bool TSRCForm::SaveCopyAs() {
  const QString path = main_.Dialogs().SaveFileName(
      this, QString::fromStdString(MessageText(126)) + ' ' + windowTitle(), ".ASM|*.ASM",
      fileName_);
  if (path.isEmpty()) return false;
  if (SaveToFile(path)) return true;
  main_.Dialogs().Error(this, "写文件错误：" + DisplayPath(path));
  return false;
}

bool TSRCForm::QuerySave() {
  if (!Modified()) return true;
  QString question = QString::fromStdString(MessageText(798));
  question.replace("%s", windowTitle());
  switch (main_.Dialogs().Question(this, question)) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    case Answer::Yes:
      break;
  }
  switch (kind_) {
    case Kind::Docked:
      return main_.SaveSource();
    case Kind::Further:
      if (SaveToFile(fileName_)) return true;
      main_.Dialogs().Error(this, "写文件错误：" + DisplayPath(fileName_));
      return false;
    case Kind::FloatingCopy:
      return SaveCopyAs();
  }
  return true;
}

bool TSRCForm::FormCloseQuery() {
  if (!QuerySave()) return false;
  if (kind_ == Kind::Docked) workbench_.control.SourcePath.clear();
  return true;
}

void TSRCForm::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

}  // namespace edumac8
