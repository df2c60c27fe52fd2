// The structure diagram in the real workbench window: what the grab shows at drawing points
// against the diagram's model, at two window sizes (and, run a second time, at scale factor 2),
// through micro-steps of a sample, row selections, a run, the whole-bus button and clicks.
#include "diagram/structure_diagram.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QTabWidget>
#include <QTableView>
#include <cmath>

#include "diagram/graphic_help_window.h"
#include "gui_test_support.h"
#include "isa/micro_texts.h"
#include "recording_guide.h"
#include "views/micro_program_window.h"
#include "views/trace_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

const QColor kGray(0x80, 0x80, 0x80), kTeal(0x00, 0x80, 0x80), kLime(0x00, 0xFF, 0x00),
    kRed(0xFF, 0x00, 0x00), kYellow(0xFF, 0xFF, 0x00), kAqua(0x00, 0xFF, 0xFF),
    kFuchsia(0xFF, 0x00, 0xFF), kMaroon(0x80, 0x00, 0x00);

QColor Expected(SegmentColour c) {
  switch (c) {
    case SegmentColour::Teal:
      return kTeal;
    case SegmentColour::Lime:
      return kLime;
    case SegmentColour::Aqua:
      return kAqua;
    case SegmentColour::Fuchsia:
      return kFuchsia;
  }
  return {};
}

QColor Expected(FrameColour c) {
  switch (c) {
    case FrameColour::Gray:
      return kGray;
    case FrameColour::Red:
      return kRed;
    case FrameColour::Yellow:
      return kYellow;
  }
  return {};
}

// The pixel of a grab under drawing point (x, y): the 550 × 280 drawing scaled by one factor
// to fit the page and centred in it.
class Probe {
 public:
  explicit Probe(TFlow& flow) : image_(flow.grab().toImage()), page_(flow.size()) {
    factor_ = std::min(page_.width() / 550.0, page_.height() / 280.0);
    origin_ = QPointF(std::floor((page_.width() - 550 * factor_) / 2),
                      std::floor((page_.height() - 280 * factor_) / 2));
  }
  QColor At(double x, double y) const {
    const double ratio = image_.devicePixelRatio();
    const QPointF p = (origin_ + QPointF(x, y) * factor_) * ratio;
    return image_.pixelColor(int(p.x()), int(p.y()));
  }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
  QSize page_;
  double factor_ = 1;
  QPointF origin_;
};

QString Name(const QColor& c) { return c.name(); }

// Every segment, frame and lamp of the grab shows what the model holds.
void ExpectPictureMatchesModel(TFlow& flow, const MachineState& s) {
  const Probe probe(flow);
  const FlowAnimation& a = flow.Animation();
  for (int i = 0; i < kSegmentCount; ++i) {
    const BusSegment& seg = Segments()[i];
    const QColor got = probe.At((seg.from.x + seg.to.x) / 2.0, (seg.from.y + seg.to.y) / 2.0);
    QVERIFY2(got == Expected(a.Segment(i)),
             qPrintable(QString("segment %1: %2").arg(seg.name).arg(Name(got))));
  }
  for (const BlockSpec& b : Blocks()) {
    if (!HasFrame(b.id)) continue;
    // Left of the block's middle, where no bus meets it.
    const QColor got = probe.At(b.flow.left + 5, b.flow.top - 1);
    QVERIFY2(got == Expected(a.Frame(b.id)),
             qPrintable(QString("frame of %1: %2").arg(b.name).arg(Name(got))));
  }
  const bool lamps[kLampCount] = {
      bool(s[Field::F] & flag::RCy),         bool(s[Field::F] & flag::RZ),
      bool(s[Field::STATUS] & status::IREQ), bool(s[Field::STATUS] & status::IACK),
      bool(s[Field::STATUS] & status::RT1),  bool(s[Field::STATUS] & status::RT0)};
  for (int i = 0; i < kLampCount; ++i) {
    const DrawRect r = LampRect(Lamp(i));
    const QColor got = probe.At(r.left + r.width / 2.0, r.top + r.height / 2.0);
    QVERIFY2(got == (lamps[i] ? kRed : kMaroon), qPrintable(QString("lamp %1").arg(i)));
  }
}

QString Hex(std::uint8_t value) { return QString("%1").arg(value, 2, 16, QChar('0')).toUpper(); }

}  // namespace

class StructureDiagramTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  Workbench& wb() { return form_->workbench(); }
  TFlow& flow() { return *form_->Flow(); }

  void OpenLoopSample() {
    const QString path = dir_.filePath("loop.asm");
    QFile::remove(path);
    QVERIFY(QFile::copy(EDUMAC8_SAMPLES_DIR "/loop.asm", path));
    OpenThroughDialog(*form_, log_, path);
    Press(*form_, Qt::Key_F9);
    QVERIFY2(wb().assembler.AssembledOK(), qPrintable(log_.errors.join('\n')));
  }
  // Micro-steps until the diagram animates a transfer from one block to another.
  void TraceToARoute() {
    for (int i = 0; i < 20 && flow().Animation().RouteQueue().size() < 3; ++i)
      Press(*form_, Qt::Key_F7);
    QVERIFY(flow().Animation().RouteQueue().size() >= 3);
  }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
    form_->resize(1280, 800);
    QApplication::processEvents();
  }
  void cleanup() { form_.reset(); }

  void startUpShowsTheFetchAboutToExecute() {
    QCOMPARE(form_->pgHost()->currentWidget(), &flow());
    QCOMPARE(flow().Animation().Decoded().word, 0xCBFFFFu);
    QCOMPARE(flow().Animation().Frame(BlockId::EM), FrameColour::Red);
    QCOMPARE(flow().Block(BlockId::uM)->text(), QString("uM: CB FF FF"));
    QCOMPARE(flow().Block(BlockId::IA)->text(), QString("IA:E0"));
    QCOMPARE(flow().pbALU()->toolTip(), QString("运算器\nS2 S1 S0 = 111, A输出"));
    QCOMPARE(flow().Block(BlockId::MAR)->toolTip(),
             QString("地址寄存器MAR\nMAR_OE = 1, 地址寄存器MAR输出禁止\n"
                     "MAR_EN = 1, 地址寄存器MAR打入禁止"));
    QVERIFY(flow().Block(BlockId::DBUS)->isChecked());
    QVERIFY(flow().Block(BlockId::ALU)->isHidden());
    QVERIFY(!flow().pbALU()->isHidden());
    ExpectPictureMatchesModel(flow(), wb().machine.state);
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2")
      QCOMPARE(flow().grab().devicePixelRatio(), 2.0);
  }

  void traceThroughASampleAtTwoSizes() {
    OpenLoopSample();
    for (QSize size : {QSize(1280, 800), QSize(1500, 640)}) {
      form_->resize(size);
      QApplication::processEvents();
      for (int step = 0; step < 10; ++step) {
        const Machine& m = wb().machine;
        const std::uint32_t next = m.uM[m.CurrentRecord.state[Field::uPC]] & kWordMask;
        Press(*form_, Qt::Key_F7);
        QCOMPARE(flow().Animation().Decoded().word, next);
        QCOMPARE(flow().Hints()[Index(BlockId::DBUS)], "数据总线\n" + DataOutText(next));
        QCOMPARE(flow().Block(BlockId::A)->text(), "A:" + Hex(m.state[Field::A]));
        QCOMPARE(flow().Block(BlockId::EM)->text(), "EM:" + Hex(m.state[Field::EMData]));
        ExpectPictureMatchesModel(flow(), m.state);
        for (int tick = 0; tick < 4; ++tick) flow().Timer1Timer();
        ExpectPictureMatchesModel(flow(), m.state);
      }
    }
  }

  void pageSwitchResizeAndExposeKeepThePicture() {
    OpenLoopSample();
    TraceToARoute();
    flow().Timer1Timer();
    flow().Timer1Timer();
    flow().Timer1()->stop();  // hold the picture still
    const QImage before = flow().grab().toImage();
    form_->Graph1Click();
    QCOMPARE(form_->pgHost()->currentWidget(), form_->Struc());
    QApplication::processEvents();
    form_->pgHost()->setCurrentWidget(&flow());
    QApplication::processEvents();
    QCOMPARE(flow().grab().toImage(), before);
    flow().repaint();
    QCOMPARE(flow().grab().toImage(), before);
    form_->resize(1600, 1000);
    QApplication::processEvents();
    QVERIFY(flow().Scale().Factor() > 1.5);
    ExpectPictureMatchesModel(flow(), wb().machine.state);
    // The blocks sit on their scaled rectangles.
    const DrawRect em = BlockOf(BlockId::EM).flow;
    QCOMPARE(flow().Block(BlockId::EM)->geometry(), flow().Scale().Map(em));
    form_->resize(900, 600);
    QApplication::processEvents();
    ExpectPictureMatchesModel(flow(), wb().machine.state);
  }

  void rowSelectionsDecodeTheShownWordAndF7TheNext() {
    OpenLoopSample();
    for (int i = 0; i < 6; ++i) Press(*form_, Qt::Key_F7);
    Machine& m = wb().machine;

    TuTRCF& trace = *form_->uTRCF();
    trace.Grid()->setCurrentIndex(trace.Grid()->model()->index(2, 0));
    const MachineState& old = m.history[2].state;
    QCOMPARE(flow().Animation().Decoded().word, WordOf(old));
    QCOMPARE(flow().Animation().Decoded().IR, old[Field::IR]);
    QCOMPARE(flow().Hints()[Index(BlockId::ABUS)], "地址总线\n" + AddressOutText(WordOf(old)));
    QCOMPARE(flow().Block(BlockId::PC)->text(), "PC:" + Hex(old[Field::PC]));

    TuMF& micro = *form_->uMF();
    micro.Grid()->setCurrentIndex(micro.Grid()->model()->index(0x11, 0));
    QCOMPARE(flow().Animation().Decoded().word, m.uM[0x11] & kWordMask);
    QCOMPARE(flow().Block(BlockId::uM)->text().right(8),
             QString::fromStdString(HexText(m.uM[0x11])).insert(4, ' ').insert(2, ' '));

    // F7 animates what executes, not the selected row's word.
    const std::uint32_t next = m.uM[m.CurrentRecord.state[Field::uPC]] & kWordMask;
    QVERIFY(next != (m.uM[0x11] & kWordMask));
    Press(*form_, Qt::Key_F7);
    QCOMPARE(flow().Animation().Decoded().word, next);

    // Without AnimationEnabled a selection leaves the diagram alone.
    wb().control.AnimationEnabled = false;
    micro.Grid()->setCurrentIndex(micro.Grid()->model()->index(0x14, 0));
    QCOMPARE(flow().Animation().Decoded().word, next);
    wb().control.AnimationEnabled = true;
  }

  void runAndPauseEndOnTheNextWord() {
    OpenLoopSample();
    form_->RunBtnClick();
    QVERIFY(wb().control.Running());
    QTRY_VERIFY(wb().machine.history.Count() == 256);
    form_->PauseBtnClick();
    // The views follow the run, so only the epilogue's own flag says that it has run.
    QTRY_VERIFY(!wb().control.Running() && !wb().control.RunAwaitingEpilogue());
    const Machine& m = wb().machine;
    QCOMPARE(flow().Animation().Decoded().word,
             m.uM[m.CurrentRecord.state[Field::uPC]] & kWordMask);
    const DiagramReadout readout = ReadDiagram(m.state);
    for (const BlockSpec& b : Blocks())
      QCOMPARE(flow().Block(b.id)->text(), QString::fromStdString(readout.captions[Index(b.id)]));
    ExpectPictureMatchesModel(flow(), m.state);
  }

  void wholeBusButtonRedrawsTheShownTransferAtOnce() {
    OpenLoopSample();
    TraceToARoute();
    const std::string route(flow().Animation().RouteQueue());
    QAction* drawBus = form_->Action("sbDrawBus");
    drawBus->trigger();
    QVERIFY(flow().ShowWholeBus());
    for (const BusSegment& s : Segments())
      if (s.kind == SegmentKind::Data)
        QCOMPARE(Probe(flow()).At((s.from.x + s.to.x) / 2.0, (s.from.y + s.to.y) / 2.0), kLime);
    QCOMPARE(flow().Animation().BlinkCount(), 20);
    drawBus->trigger();
    QVERIFY(!flow().ShowWholeBus());
    QCOMPARE(std::string(flow().Animation().RouteQueue()), route);
    ExpectPictureMatchesModel(flow(), wb().machine.state);
  }

  void remainingStepLampsInSimulation() {
    OpenLoopSample();
    // Into an instruction's routine: RT1 RT0 count the steps left before its fetch.
    const MachineState& s = wb().machine.state;
    std::uint8_t left = 0;
    for (int i = 0; i < 8 && left == 0; ++i) {
      Press(*form_, Qt::Key_F7);
      left = RemainingSteps(wb().machine.StepCountTable, s[Field::uPC]);
    }
    QVERIFY(left > 0);
    QCOMPARE(bool(s[Field::STATUS] & status::RT1), bool(left & 2));
    QCOMPARE(bool(s[Field::STATUS] & status::RT0), bool(left & 1));
    ExpectPictureMatchesModel(flow(), s);
    form_->IntBtnClick();
    QVERIFY(flow().Readout().lamps[int(Lamp::IREQ)]);
    ExpectPictureMatchesModel(flow(), s);
  }

  void clicksOpenTheBlockPictures() {
    auto* guide = new RecordingGuide;
    form_->SetGuideWindows(std::unique_ptr<ExperimentWindows>(guide));
    for (BlockId id : {BlockId::IA, BlockId::R, BlockId::R3, BlockId::uM, BlockId::DBUS})
      QTest::mouseClick(flow().Block(id), Qt::LeftButton);
    QCOMPARE(guide->calls,
             QStringList({"原理图 IA.JPG", "原理图 Rr.JPG", "原理图 R.JPG", "原理图 uM.JPG"}));
    QVERIFY2(flow().Block(BlockId::DBUS)->isChecked(), "a bus block stays down");
    guide->calls.clear();
    const double f = flow().Scale().Factor();
    // Pressed, the symbol shows its pressed look until released.
    QTest::mousePress(flow().pbALU(), Qt::LeftButton, {}, QPoint(int(70 * f), int(40 * f)));
    QVERIFY(flow().pbALU()->Pressed());
    QTest::mouseRelease(flow().pbALU(), Qt::LeftButton, {}, QPoint(int(70 * f), int(40 * f)));
    QVERIFY(!flow().pbALU()->Pressed());
    QCOMPARE(guide->calls, QStringList({"原理图 ALU.JPG"}));
    guide->calls.clear();
    QTest::mouseClick(flow().pbALU(), Qt::LeftButton, {}, QPoint(int(70 * f), int(40 * f)));
    QTest::mouseClick(flow().pbALU(), Qt::LeftButton, {}, QPoint(int(2 * f), int(90 * f)));
    QCOMPARE(guide->calls, QStringList({"原理图 ALU.JPG"}));  // only the symbol itself
  }

  void copyPictureAtTwiceThePagePixels() {
    flow().CopyPicture();
    const QImage copied = QApplication::clipboard()->image();
    const qreal ratio = flow().devicePixelRatioF();
    QCOMPARE(copied.size(), flow().size() * 2 * ratio);
  }
};

QTEST_MAIN(StructureDiagramTest)
#include "structure_diagram_test.moc"
