// The graphic help in the real workbench window: stepping through experiments by its
// buttons, what the drawing shows (wire, pins, switches, indicators) and what it asks of the
// experiment guide's windows.
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolTip>
#include <cmath>

#include "diagram/graphic_help_window.h"
#include "gui_test_support.h"
#include "platform/text_codec.h"
#include "recording_guide.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

const QColor kRed(0xFF, 0x00, 0x00), kSilver(0xC0, 0xC0, 0xC0), kYellow(0xFF, 0xFF, 0x00),
    kGreen(0x00, 0x80, 0x00);

// Catalogue texts are GB2312, as read from EX.INI.
std::string Gb(const char* utf8) { return Utf8ToGb2312(utf8); }

TExperiment Wiring(std::initializer_list<WireStep> wires) {
  TExperiment e;
  e.Name = "WIRING";
  e.Wires = wires;
  return e;
}

// The pixel of pbHost's grab under drawing point (x, y) of the 550 × 230 drawing.
class Probe {
 public:
  explicit Probe(QWidget& canvas) : image_(canvas.grab().toImage()), page_(canvas.size()) {
    factor_ = std::min(page_.width() / 550.0, page_.height() / 230.0);
    origin_ = QPointF(std::floor((page_.width() - 550 * factor_) / 2),
                      std::floor((page_.height() - 230 * factor_) / 2));
  }
  QColor At(double x, double y) const {
    const QPointF p = (origin_ + QPointF(x, y) * factor_) * image_.devicePixelRatio();
    return image_.pixelColor(int(p.x()), int(p.y()));
  }
  int Count(const QColor& colour) const {
    int n = 0;
    for (int y = 0; y < image_.height(); ++y)
      for (int x = 0; x < image_.width(); ++x) n += image_.pixelColor(x, y) == colour;
    return n;
  }

 private:
  QImage image_;
  QSize page_;
  double factor_ = 1;
  QPointF origin_;
};

bool Reddish(const QColor& c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; }

}  // namespace

class GraphicHelpTest : public QObject {
  Q_OBJECT

  DialogLog log_;
  std::unique_ptr<TMANForm> form_;
  RecordingGuide* guide_ = nullptr;

  TStruc& help() { return *form_->Struc(); }
  ExperimentCatalogue& catalogue() { return form_->workbench().experiments; }
  QPushButton* Button(const char* name) { return help().findChild<QPushButton*>(name); }
  void Click(const char* name) {
    QPushButton* button = Button(name);
    QVERIFY2(button && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
  }
  void Select(std::optional<int> answer) {
    guide_->answer = answer;
    Click("sbSelect");
  }
  QString Status() { return help().plOper()->text(); }
  QStringList EnabledButtons() {
    QStringList names;
    for (const char* name :
         {"sbYQ", "sbMD", "sbSM", "sbDL", "sbBX", "sbBACK", "sbFWD", "sbCB", "sbCF"})
      if (Button(name)->isEnabled()) names << name;
    return names;
  }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
    guide_ = new RecordingGuide;
    form_->SetGuideWindows(std::unique_ptr<ExperimentWindows>(guide_));
    form_->Graph1Click();
    QApplication::processEvents();
  }
  void cleanup() { form_.reset(); }

  void pageAndButtons() {
    QCOMPARE(form_->pgHost()->currentWidget(), &help());
    QCOMPARE(help().windowTitle(), QString("图示帮助"));
    QStringList captions;
    for (QPushButton* b : help().findChildren<QPushButton*>()) captions << b->text();
    QCOMPARE(captions, QStringList({"选择实验", "实验要求", "实验目的", "实验说明", "实验电路",
                                    "时序波形", "<< 连线", "连线 >>", "<< 操作", "操作 >>"}));
    QCOMPARE(EnabledButtons(), QStringList());  // all disabled at start
    QCOMPARE(Status(), QString(" "));
    for (BlockId hidden : {BlockId::uM, BlockId::DBUS, BlockId::ABUS, BlockId::IBUS, BlockId::ALU})
      QVERIFY(help().pbHost()->Block(hidden)->isHidden());
    QCOMPARE(help().pbHost()->Block(BlockId::uPC)->text(), QString("uPC"));
  }

  void wiringStepsForwardAndBack() {
    catalogue().Entries = {
        Wiring({{1, 2, Gb("连接一")}, {3, 4, Gb("连接二")}, {5, 6, Gb("连接三")}})};
    catalogue().CurrentExp = 1;
    Select(1);
    QCOMPARE(Status(), QString(" "));
    QCOMPARE(EnabledButtons(), QStringList({"sbFWD"}));
    const QStringList texts = {" 连接一", " 连接二", " 连接三"};
    for (int i = 0; i < 3; ++i) {
      Click("sbFWD");
      QCOMPARE(Status(), texts[i]);
      QVERIFY(Button("sbBACK")->isEnabled());
    }
    QVERIFY(!Button("sbFWD")->isEnabled());
    Click("sbBACK");
    QCOMPARE(Status(), texts[1]);
    Click("sbBACK");
    QCOMPARE(Status(), texts[0]);
    QVERIFY(!Button("sbBACK")->isEnabled());
    QVERIFY(Button("sbFWD")->isEnabled());

    // Back right after the first step shows it again.
    Select(std::nullopt);
    Click("sbFWD");
    Click("sbBACK");
    QCOMPARE(Status(), texts[0]);
    QVERIFY(!Button("sbBACK")->isEnabled());
  }

  void wireBetweenRedPins() {
    catalogue().Entries = {Wiring({{0, 69, Gb("长线")}, {70, 3, Gb("板外")}})};
    Select(1);
    QCOMPARE(Probe(*help().pbHost()).Count(kGreen), 0);
    Click("sbFWD");
    const Probe wired(*help().pbHost());
    const DrawPoint a = PinCentre(0), b = PinCentre(69);
    QCOMPARE(wired.At((a.x + b.x) / 2.0, (a.y + b.y) / 2.0), kGreen);
    QVERIFY(Reddish(wired.At(PinCorner(0).x + 1.5, PinCorner(0).y + 4)));
    QCOMPARE(wired.At(PinCorner(1).x + 4, PinCorner(1).y + 4), kYellow);

    Click("sbFWD");
    QCOMPARE(Status(), QString(" 板外"));  // a pin beyond 69 still shows its text
    const Probe beyond(*help().pbHost());
    QCOMPARE(beyond.Count(kGreen), 0);  // no wire to a pin that does not exist
    QVERIFY(Reddish(beyond.At(PinCorner(3).x + 4, PinCorner(3).y + 4)));
  }

  void switchesAndIndicatorArrows() {
    struct Pattern {
      std::uint32_t marked, position;
      bool down, up;
    };
    TExperiment e;
    const Pattern patterns[] = {{0x80000001, 0x80000001, true, false},
                                {0x40000000, 0x40000000, false, true},
                                {0xC0000000, 0x00000000, false, false},
                                {0xC0000000, 0xC0000000, false, false}};
    for (const Pattern& p : patterns)
      e.Ops.push_back({std::int32_t(p.marked), std::int32_t(p.position), Gb("操作")});
    catalogue().Entries = {e};
    Select(1);
    QCOMPARE(EnabledButtons(), QStringList({"sbCF"}));
    const DrawPoint c = PinCentre(50);
    for (const Pattern& p : patterns) {
      Click("sbCF");
      const Probe probe(*help().pbHost());
      QCOMPARE(Reddish(probe.At(c.x - 2, c.y - 10)), p.down);
      QCOMPARE(Reddish(probe.At(c.x - 2, c.y - 12)), p.up);
      const DrawPoint other = PinCentre(51);
      QVERIFY2(!Reddish(probe.At(other.x, other.y - 11)), "bits 29-28 are clear");
      // Switch 0: marked and up in the first pattern only.
      const DrawRect up = KnobRect(0, true), down = KnobRect(0, false);
      const bool first = p.marked & 1;
      QCOMPARE(probe.At(up.left + 4, up.top + 4), first ? kRed : kSilver);
      QCOMPARE(probe.At(down.left + 4, down.top + 4), kSilver);
    }
  }

  void buttonsFollowTwoExperiments() {
    TExperiment full = Wiring({{1, 2, Gb("线")}});
    full.Ops = {{1, 1, Gb("操作")}};
    full.Requirement = {Gb("要求")};
    full.Purpose = {Gb("目的")};
    full.Notes = {Gb("说明")};
    full.SchematicPicture = "E1.JPG";
    full.TimingPicture = "E1T.JPG";
    TExperiment bare;
    bare.Notes = {Gb("说明")};
    catalogue().Entries = {full, bare};
    catalogue().CurrentExp = 1;
    Select(1);
    QCOMPARE(EnabledButtons(),
             QStringList({"sbYQ", "sbMD", "sbSM", "sbDL", "sbBX", "sbFWD", "sbCF"}));
    Click("sbYQ");
    Click("sbMD");
    Click("sbSM");
    Click("sbDL");
    Click("sbBX");
    QCOMPARE(guide_->calls, QStringList({"select 1", "text 1", "text 2", "text 3", "原理图 E1.JPG",
                                         "时序波形图 E1T.JPG"}));
    guide_->calls.clear();
    Select(2);
    QCOMPARE(guide_->calls, QStringList({"select 1"}));  // preset to the current experiment
    QCOMPARE(catalogue().CurrentExp, 2);
    QCOMPARE(EnabledButtons(), QStringList({"sbSM"}));
    Select(std::nullopt);
    QCOMPARE(guide_->calls.last(), QString("select 2"));
    QCOMPARE(EnabledButtons(), QStringList({"sbSM"}));  // cancel keeps the experiment
  }

  void emptyCatalogue() {
    catalogue() = ExperimentCatalogue{};  // as after a missing EX.INI
    Select(std::nullopt);
    QCOMPARE(guide_->calls, QStringList({"select 0"}));
    QCOMPARE(EnabledButtons(), QStringList());
    QCOMPARE(Status(), QString(" "));
  }

  void blockAndAluPictures() {
    QTest::mouseClick(help().pbHost()->Block(BlockId::W), Qt::LeftButton);
    QTest::mouseClick(help().pbHost()->Block(BlockId::R1), Qt::LeftButton);
    const double f = help().pbHost()->Scale().Factor();
    QTest::mouseClick(help().pbHost()->pbALU(), Qt::LeftButton, {},
                      QPoint(int(70 * f), int(40 * f)));
    QCOMPARE(guide_->calls, QStringList({"原理图 W.JPG", "原理图 R.JPG", "原理图 ALU.JPG"}));
  }

  void neverKeepsTheMiddleAreaFromNarrowing() {
    catalogue().Entries = {Wiring({{1, 2, Gb(std::string(200, 'X').c_str())}})};
    Select(1);
    Click("sbFWD");
    QVERIFY(Status().size() > 200);
    QVERIFY2(help().minimumSizeHint().width() < 200,
             qPrintable(QString::number(help().minimumSizeHint().width())));
  }

  void pinHintsNameTheirSignals() {
    GraphicHelpCanvas& canvas = *help().pbHost();
    const QRect pin50 = canvas.Scale().Map(PinRect(50));
    QCOMPARE(canvas.PinUnder(pin50.center()), 50);
    QCOMPARE(canvas.PinUnder(canvas.Scale().Map(PinRect(67)).topLeft()), 67);
    QCOMPARE(canvas.PinUnder(canvas.Scale().Map(DrawPoint{5, 5})), -1);
    QHelpEvent hint(QEvent::ToolTip, pin50.center(), canvas.mapToGlobal(pin50.center()));
    QApplication::sendEvent(&canvas, &hint);
    QCOMPARE(QToolTip::text(), QString("引脚 50: CK (控制器 IR 与中断)"));
  }

  void pinsStayVisibleBesideTheAluSymbol() {
    // Pins 29-36 lie within the symbol's rectangle but outside its outline.
    const Probe probe(*help().pbHost());
    for (int pin : {29, 30, 31, 32, 33, 34, 35, 36})
      QCOMPARE(probe.At(PinCorner(pin).x + 4, PinCorner(pin).y + 4), kYellow);
  }
};

QTEST_MAIN(GraphicHelpTest)
#include "graphic_help_test.moc"
