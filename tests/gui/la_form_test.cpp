// The logic-analyser page of the real workbench window: captures after the commands, the
// zoom controls, the mouse on the names, the cursor and the sample area, the record a release
// shows in the trace and micro-program windows, and the VCD export.
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QWheelEvent>
#include <mutex>

#include "gui_test_support.h"
#include "la/tla_form.h"
#include "la/vcd_reader.h"
#include "ui/code_font.h"
#include "views/micro_program_window.h"
#include "views/trace_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

// A loop whose ADD A,@R0 takes four micro-steps, so that one F8 captures four times.
const char* const kLoopProgram =
    "        ORG     0\n"
    "        MOV     R0, #30H\n"
    "LOOP:   ADD     A, @R0\n"
    "        OUT\n"
    "        JMP     LOOP\n"
    "        ORG     30H\n"
    "        DB      3\n"
    "        END\n";

class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

class TLAFormTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  Workbench& wb() { return form_->workbench(); }
  TLAForm& la() { return *form_->LAForm(); }
  LAView& view() { return la().View(); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(at), la().mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(&la(), &e);
  }
  void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
  void Drag(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
  void Hover(QPoint at) { Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
  void Release(QPoint at) { Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
  void Click(QPoint at) {
    Press(at);
    Release(at);
  }
  void DoubleClick(QPoint at) {
    Hover(at);
    Click(at);
    Mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(at);
  }
  // A point in the sample area where a click starts (and ends) an empty zoom box.
  QPoint InSampleArea() const { return {form_->LAForm()->View().NameWidth + 30, 40}; }

  void Assemble(const char* program) {
    log_.paths.push_back(WriteSource(dir_, "LOOP.ASM", program));
    form_->OpenFile1Click();
    form_->Make1Click();
    QVERIFY2(wb().assembler.AssembledOK(), qPrintable(log_.errors.join('\n')));
  }

  // Moves the splitter beside the host pages until the analyser's drawing is `width` pixels
  // wide.
  void SetBitmapWidth(int width) {
    QSplitter* middle = nullptr;
    for (QSplitter* s : form_->findChildren<QSplitter*>())
      if (s->indexOf(form_->pgHost()) == 1) middle = s;
    QVERIFY(middle);
    for (int tries = 0; tries < 6 && view().BitmapWidth() != width; ++tries) {
      QList<int> sizes = middle->sizes();
      const int change = width - view().BitmapWidth();
      sizes[0] -= change;
      sizes[1] += change;
      middle->setSizes(sizes);
      QApplication::processEvents();
    }
    QCOMPARE(view().BitmapWidth(), width);
  }

  void Paint() { la().repaint(); }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
    form_->pgHost()->setCurrentWidget(form_->LAForm());
    QApplication::processEvents();
  }
  void cleanup() {
    wb().control.Pause();
    form_.reset();
  }

  void itIsTheThirdHostPage() {
    QCOMPARE(form_->pgHost()->widget(2), static_cast<QWidget*>(form_->LAForm()));
    QCOMPARE(form_->pgHost()->tabText(2), QString("逻辑分析"));
    QCOMPARE(la().windowTitle(), QString("逻辑分析"));
    QCOMPARE(la().sizeHint(), QSize(600, 400));
    QCOMPARE(la().font(), CodeFont());
    // Start-up captured the reset record: one sample, the clock high.
    QCOMPARE(la().Samples().LASampleCount(), 1);
    QCOMPARE(view().CursorSample, 0);
    QVERIFY(!la().Channels()[5].ShowAsBus);
    QCOMPARE(la().SpeedButton(14)->toolTip(), QString("Zoom in"));
    QCOMPARE(la().SpeedButton(15)->toolTip(), QString("Zoom out"));
    QCOMPARE(la().SpeedButton(16)->toolTip(), QString("Zoom All"));
    QCOMPARE(la().ToolBar1()->size(), QSize(81, 28));
    QCOMPARE(la().SpeedButton(14)->size(), QSize(25, 25));
  }

  void stepsCaptureAndTheViewFollows() {
    Assemble(kLoopProgram);
    QCOMPARE(la().Samples().LASampleCount(), 1);  // the assembly reset the machine
    form_->StepBtnClick();                        // the fetch of MOV R0,#30H
    form_->StepBtnClick();                        // MOV R0,#30H, ending with the fetch of ADD A,@R0
    const int before = wb().machine.history.Count();
    PaintCounter counter;
    la().installEventFilter(&counter);
    Paint();
    counter.paints = 0;
    form_->StepBtnClick();  // ADD A,@R0: four micro-steps, four captures
    QApplication::processEvents();
    const int records = wb().machine.history.Count();
    QCOMPARE(records, before + 4);
    QCOMPARE(la().Samples().LASampleCount(), 2 * records - 1);
    QCOMPARE(counter.paints, 1);
    QCOMPARE(view().CursorSample, 2 * records - 2);  // the newest sample
    QVERIFY(view().CursorVisible);
    for (int i = 0; i < 20; ++i) form_->TraceBtnClick();
    QApplication::processEvents();
    const int newest = la().Samples().LASampleCount() - 1;
    QCOMPARE(view().CursorSample, newest);
    QCOMPARE(view().ViewStart, newest - FollowLead(13));
    QCOMPARE(la().HBar()->value(), view().ViewStart);  // HBar goes along
    Paint();
    QVERIFY(view().CursorVisible);

    // Where every sample fits, the view stays at the start.
    view().ApplyZoomLevel(3);
    la().HBar()->setValue(0);
    form_->TraceBtnClick();
    QCOMPARE(view().ViewStart, 0);

    // Reset: the cursor and the view back at the start, one sample.
    view().ApplyZoomLevel(13);
    form_->ResetBtnClick();
    QCOMPARE(la().Samples().LASampleCount(), 1);
    QCOMPARE(view().CursorSample, 0);
    QCOMPARE(view().ViewStart, 0);
    QCOMPARE(la().HBar()->value(), 0);
  }

  void drawsTheClockAndTheBuses() {
    Assemble(kLoopProgram);
    for (int i = 0; i < 6; ++i) form_->TraceBtnClick();
    la().HBar()->setValue(0);
    Paint();
    const QImage& bmp = la().DrawingBitmap();
    // CK, the lowest line of the expanded STATUS: high and low in the first samples.
    const int low = la().Channels()[5].Top + 20 + 7 * 20, high = low - 14;
    const int nw = view().NameWidth;
    const QRgb red = qRgb(0xFF, 0, 0);
    QCOMPARE(bmp.pixel(nw + 4, high), red);      // sample 0: clock high
    QCOMPARE(bmp.pixel(nw + 16 + 4, low), red);  // sample 1: low
    QCOMPARE(bmp.pixel(nw + 32 + 4, high), red);
    // ABUS (red) as a bus: its two lines 14 pixels apart.
    const int base = la().Channels()[1].Top + 20;
    int xs = 0;
    for (int x = nw + 20; x < nw + 100; ++x)
      if (bmp.pixel(x, base) == red && bmp.pixel(x, base - 14) == red) ++xs;
    QVERIFY(xs > 20);
    // The frame of the sample area and the cursor's colour on the newest sample.
    QCOMPARE(bmp.pixel(nw - 1, 100), qRgb(0, 0, 0));
    view().PlaceCursor();
    QCOMPARE(bmp.pixel(nw + view().CursorX, 30), qRgb(0, 0, 0xFF));
    // The overview marks the cursor.
    const QImage& overview = la().OverviewBitmap();
    const int ox = qRound(double(view().CursorSample) * la().OverviewRect().width() / 512) + 1;
    QCOMPARE(overview.pixel(ox, 2), qRgb(0, 0, 0xFF));
  }

  void zoomButtonsAndZoomAll() {
    QToolButton* in = la().SpeedButton(14);
    QToolButton* out = la().SpeedButton(15);
    QToolButton* all = la().SpeedButton(16);
    view().ApplyZoomLevel(16);
    in->click();
    QCOMPARE(view().Level(), 16);
    view().ApplyZoomLevel(8);
    out->click();
    QCOMPARE(view().Level(), 8);
    in->click();
    QCOMPARE(view().Level(), 9);

    SetBitmapWidth(512 + 8 + 88);
    for (int level : {0, 16}) {
      view().ApplyZoomLevel(level);
      la().HBar()->setValue(40);
      all->click();
      QCOMPARE(view().Level(), 8);
      QCOMPARE(view().ViewStart, 0);
      QCOMPARE(la().HBar()->value(), 0);
      all->click();
      QCOMPARE(view().Level(), level);
      QCOMPARE(view().ViewStart, 40);
      QCOMPARE(la().HBar()->value(), 40);
    }

    // Ctrl and the wheel zoom like the buttons; the wheel alone scrolls the rows.
    view().ApplyZoomLevel(12);
    QWheelEvent zoom(QPointF(200, 100), la().mapToGlobal(QPointF(200, 100)), QPoint(),
                     QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&la(), &zoom);
    QCOMPARE(view().Level(), 13);
    QWheelEvent scroll(QPointF(200, 100), la().mapToGlobal(QPointF(200, 100)), QPoint(),
                       QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&la(), &scroll);
    QVERIFY(la().VBar()->value() > 0);
    QCOMPARE(view().VOffset, -la().VBar()->value());
    QCOMPARE(view().Level(), 13);
  }

  void zoomBoxOfSixPixels() {
    SetBitmapWidth(512 + 8 + 88);
    view().ApplyZoomLevel(16);
    const QPoint anchor(88 + 300, 100);
    Press(anchor);
    Drag(anchor - QPoint(3, 0));
    Drag(anchor - QPoint(6, 0));
    QCOMPARE(view().Dragging(), LAView::Drag::ZoomBox);
    Release(anchor - QPoint(6, 0));
    QCOMPARE(view().Level(), 10);
    QCOMPARE(view().PixelScale, 2.0);
    QCOMPARE(view().Dragging(), LAView::Drag::None);

    // A box far to the right at the coarsest level keeps the start within the samples.
    view().ApplyZoomLevel(0);
    Press({88 + 400, 100});
    Drag({88 + 500, 100});
    Release({88 + 500, 100});
    QCOMPARE(view().ViewStart, 512);
    QCOMPARE(la().HBar()->value(), 512);
    Paint();
  }

  void releaseShowsTheRecordUnderTheCursor() {
    Assemble(kLoopProgram);
    for (int i = 0; i < 8; ++i) form_->TraceBtnClick();
    Machine& m = wb().machine;
    la().HBar()->setValue(0);
    view().CursorSample = 7;
    Click(InSampleArea());
    TuTRCF& trace = *form_->uTRCF();
    TuMF& micro = *form_->uMF();
    QCOMPARE(trace.CurrentGridRow(), 4);  // record 3
    const std::uint8_t upc = m.history[3].state[Field::uPC];
    QCOMPARE(m.state[Field::PC], m.history[3].state[Field::PC]);
    QCOMPARE(m.state[Field::A], m.history[3].state[Field::A]);
    QCOMPARE(m.state[Field::uPC], upc);
    // The micro-program grid shows micro-address u on row u + 1; its bit boxes edit that word.
    QCOMPARE(micro.CurrentGridRow(), upc + 1);
    QCOMPARE(micro.ShownMicroAddress(), int(upc));
    QCOMPARE(m.CurrentMicroWord(), m.uM[upc] & kWordMask);
    // The next step still starts from the newest state.
    const TraceRecord newest = m.history.Newest();
    form_->TraceBtnClick();
    QCOMPARE(m.history[m.history.Count() - 2].state, newest.state);

    // A cursor dragged past the data designates the newest record.
    view().PlaceCursor();
    const QPoint flag(view().NameWidth + view().CursorX, 10);
    Press(flag);
    Drag(flag + QPoint(600, 0));
    Release(flag + QPoint(600, 0));
    QVERIFY(view().CursorSample >= la().Samples().LASampleCount());
    QCOMPARE(trace.CurrentGridRow(), m.history.Count());
    QCOMPARE(m.state[Field::PC], m.history.Newest().state[Field::PC]);

    // An empty history: the cursor stays at 0 and a release shows nothing.
    m.history.Clear();
    la().BuildLAChannels();
    QCOMPARE(la().Samples().LASampleCount(), 0);
    QCOMPARE(view().CursorSample, 0);
    Click(InSampleArea());
    Paint();
    QVERIFY(!la().PopupMenu()->actions().at(0)->isEnabled());
  }

  void releaseDuringARunWaitsForTheStep() {
    Assemble(kLoopProgram);
    form_->RunBtnClick();
    QVERIFY(wb().control.Running());
    for (int i = 0; i < 20; ++i) {
      view().CursorSample = 3;
      Click(InSampleArea());
      QVERIFY(form_->uTRCF()->CurrentGridRow() >= 1);
      Hover({20, 60});  // over the names: waits for the step in progress
    }
    const int before = wb().machine.history.Count();
    QTRY_VERIFY(wb().machine.history.Count() == 256 || wb().machine.history.Count() > before);
    form_->PauseBtnClick();
    // The views follow the run; the capture after it is the epilogue's.
    QTRY_VERIFY(!wb().control.Running() && !wb().control.RunAwaitingEpilogue());
    QCOMPARE(la().Samples().LASampleCount(), 511);
    QCOMPARE(view().CursorSample, 510);
  }

  void nameColumnResizesBetween20And100() {
    const QPoint border(88, 60);
    Hover(border);
    QCOMPARE(la().cursor().shape(), Qt::SplitHCursor);
    Hover({150, 60});
    QCOMPARE(la().cursor().shape(), Qt::ArrowCursor);
    Press(border);
    Drag({200, 60});
    QCOMPARE(view().NameWidth, 100);
    Drag({-50, 60});
    QCOMPARE(view().NameWidth, 20);
    Release({-50, 60});
    Paint();
    QCOMPARE(la().DrawingBitmap().pixel(19, 100), qRgb(0, 0, 0));  // the area's new border
  }

  void doubleClickExpandsAndCollapses() {
    const LAChannelTable& channels = la().Channels();
    DoubleClick({40, channels[5].Top + 6 + 5});  // STATUS, expanded at start
    QVERIFY(channels[5].ShowAsBus);
    QCOMPARE(channels[5].HitHeight, 25);
    QCOMPARE(channels[23].Top, 24 * 25);
    la().VBar()->setValue(la().VBar()->maximum());
    const int y = channels[23].Top + 6 + view().VOffset + 5;  // IN
    DoubleClick({40, y});
    QVERIFY(!channels[23].ShowAsBus);
    QCOMPARE(channels[23].HitHeight, 166);
    Paint();
  }

  void everyRowCanBeScrolledIntoView() {
    for (int k = 0; k < kLAChannelCount; ++k) {
      if (!la().Channels()[k].ShowAsBus) continue;
      la().VBar()->setValue(la().Channels()[k].Top - 30);  // as far as the range goes
      DoubleClick({40, la().Channels()[k].Top + 6 + view().VOffset + 5});
      QVERIFY(!la().Channels()[k].ShowAsBus);
    }
    // All 25 expanded: 25 + 25 * 165 = 4150 pixels of rows.
    QCOMPARE(la().VBar()->maximum(), 4150 - view().VisibleBottom());
    la().VBar()->setValue(la().VBar()->maximum());
    const int lastBitLine = la().Channels()[24].Top + 20 + 7 * 20 + view().VOffset;
    QVERIFY(lastBitLine <= view().VisibleBottom());
    QVERIFY(lastBitLine > view().VisibleBottom() - 25);
    Paint();
  }

  void narrowPageAndWideDrawing() {
    // The names widened to their limit, the page squeezed: "Zoom All" still draws.
    Press({88, 60});
    Drag({200, 60});
    Release({200, 60});
    la().resize(40, 300);
    QVERIFY(la().width() >= la().minimumWidth());
    QVERIFY(view().SampleAreaWidth() > 1);
    la().SpeedButton(16)->click();
    QVERIFY(view().PixelScale > 0);
    Paint();
    // A drawing wider than 2000 pixels at one pixel per sample.
    la().resize(3000, 500);
    view().ApplyZoomLevel(9);
    Assemble(kLoopProgram);
    for (int i = 0; i < 30; ++i) form_->TraceBtnClick();
    Paint();
    QCOMPARE(la().DrawingBitmap().width(), view().BitmapWidth());
  }

  void exportsVcdThroughTheContextMenu() {
    Assemble(kLoopProgram);
    for (int i = 0; i < 5; ++i) form_->TraceBtnClick();
    QMenu* menu = la().PopupMenu();
    QAction* vectors = menu->findChild<QAction*>("ExportVcd");
    QAction* bits = menu->findChild<QAction*>("ExportVcdBits");
    QCOMPARE(vectors->text(), QString("导出 VCD 文件…"));
    QCOMPARE(bits->text(), QString("导出 VCD 文件(逐位)…"));
    QVERIFY(vectors->isEnabled() && bits->isEnabled());

    const QString path = dir_.filePath("LOOP.VCD");
    log_.paths.push_back(path);
    vectors->trigger();
    QCOMPARE(log_.filters.last(), QString("VCD files (*.VCD)|*.VCD"));
    QCOMPARE(log_.proposals.last(), dir_.filePath("LOOP.VCD"));
    VcdDump dump = ReadVcd(ReadWholeFile(path.toStdString()).value_or(""));
    QVERIFY(dump.errors.empty());
    QCOMPARE(dump.variables.size(), std::size_t(61));
    QCOMPARE(dump.closingTime, long(la().Samples().LASampleCount()));

    log_.paths.push_back(dir_.filePath("BITS"));  // no extension: the dump gets .VCD
    bits->trigger();
    dump = ReadVcd(ReadWholeFile(dir_.filePath("BITS.VCD").toStdString()).value_or(""));
    QCOMPARE(dump.variables.size(), std::size_t(196));

    const QString unwritable = dir_.filePath("none/X.VCD");
    log_.paths.push_back(unwritable);
    vectors->trigger();
    QCOMPARE(log_.errors, QStringList({"写文件错误：" + unwritable}));
    log_.paths.push_back("");  // cancelled
    vectors->trigger();
    QCOMPARE(log_.errors.size(), 1);
  }
};

QTEST_MAIN(TLAFormTest)
#include "la_form_test.moc"
