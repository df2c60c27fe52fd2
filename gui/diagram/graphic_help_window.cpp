#include "diagram/graphic_help_window.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>

#include "diagram/diagram_colours.h"
#include "platform/text_codec.h"

namespace edumac8 {

GraphicHelpCanvas::GraphicHelpCanvas(const GraphicHelp& help, QWidget* parent)
    : DiagramCanvas(Drawing::Help, parent), help_(help) {
  setObjectName("pbHost");
}

int GraphicHelpCanvas::PinUnder(QPoint point) const {
  for (int pin = 0; pin < kPinCount; ++pin)
    if (Scale().Map(PinRect(pin)).contains(point)) return pin;
  return -1;
}

bool GraphicHelpCanvas::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return DiagramCanvas::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const int pin = PinUnder(help->pos());
  if (pin < 0) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  const Pin p = edumac8::PinAt(pin);
  QToolTip::showText(help->globalPos(),
                     QString("引脚 %1: %2 (%3)")
                         .arg(pin)
                         .arg(QString::fromUtf8(p.signal.data(), qsizetype(p.signal.size())))
                         .arg(QString::fromUtf8(p.block.data(), qsizetype(p.block.size()))),
                     this);
  return true;
}

void GraphicHelpCanvas::paintEvent(QPaintEvent*) {
  using namespace colours;
  QPainter p(this);
  PaintArea(p, kSilver);
  // A raised edge under every flat block: the blocks lie on the box's board.
  const int line = Scale().Length(1);
  for (int i = 0; i <= Index(BlockId::R3); ++i) {
    if (BlockId(i) == BlockId::ALU) continue;
    const QRect r = Scale().Map(BlockRect(BlockId(i)));
    p.fillRect(QRect(r.left(), r.top(), r.width(), line), kWhite);
    p.fillRect(QRect(r.left(), r.top(), line, r.height()), kWhite);
    p.fillRect(QRect(r.left(), r.bottom() + 1 - line, r.width(), line), kGray);
    p.fillRect(QRect(r.right() + 1 - line, r.top(), line, r.height()), kGray);
  }
  PaintSwitches(p);
  for (int k = 0; k < 2; ++k)
    PaintArrow(p, kIndicatorPins[k], IndicatorArrow(help_.MarkedMask(), help_.PositionMask(), k));
  PaintPins(p);
}

void GraphicHelpCanvas::PaintSwitches(QPainter& p) const {
  using namespace colours;
  const int line = Scale().Length(1);
  const auto outlined = [&](const DrawRect& r, const QColor& fill) {
    const QRect outer = Scale().Map(r);
    p.fillRect(outer, kNavy);
    p.fillRect(outer.adjusted(line, line, -line, -line), fill);
  };
  for (int i = 0; i < kSwitchCount; ++i) {
    const bool marked = (help_.MarkedMask() >> i) & 1;
    const bool up = (help_.PositionMask() >> i) & 1;
    outlined(SwitchRect(i), kSilver);
    outlined(KnobRect(i, up), marked ? kRed : kSilver);
  }
}

void GraphicHelpCanvas::PaintArrow(QPainter& p, int pin, Arrow arrow) const {
  if (arrow == Arrow::None) return;
  // Above the pin: a shaft and a head, 7 pixels wide and 10 high.
  const DrawPoint c = PinCentre(pin);
  const double top = c.y - 16, bottom = c.y - 6, x = c.x;
  const double tip = arrow == Arrow::Down ? bottom : top;
  const double base = arrow == Arrow::Down ? bottom - 5 : top + 5;
  const double tail = arrow == Arrow::Down ? top : bottom;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(colours::kRed);
  p.drawPolygon(QPolygonF({QPointF(Scale().X(x - 3.5), Scale().Y(base)),
                           QPointF(Scale().X(x + 3.5), Scale().Y(base)),
                           QPointF(Scale().X(x), Scale().Y(tip))}));
  p.fillRect(QRectF(QPointF(Scale().X(x - 1), Scale().Y(std::min(base, tail))),
                    QPointF(Scale().X(x + 1), Scale().Y(std::max(base, tail)))),
             colours::kRed);
  p.restore();
}

void GraphicHelpCanvas::PaintPins(QPainter& p) const {
  using namespace colours;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double line = std::max(1.0, Scale().Factor());
  const auto pinShape = [&](int pin, const QColor& fill) {
    p.setPen(QPen(kGray, line / 2));
    p.setBrush(fill);
    const QRectF r = QRectF(Scale().Map(PinRect(pin))).adjusted(0.5, 0.5, -0.5, -0.5);
    if (pin >= 67)
      p.drawRect(r);
    else
      p.drawEllipse(r);
  };
  for (int pin = 0; pin < kPinCount; ++pin) pinShape(pin, kYellow);
  const int first = help_.FirstPin(), second = help_.SecondPin();
  for (int pin : {first, second})
    if (GraphicHelp::PinExists(pin)) pinShape(pin, kRed);
  if (GraphicHelp::PinExists(first) && GraphicHelp::PinExists(second)) {
    p.setPen(QPen(kGreen, 5 * Scale().Factor(), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(Scale().Map(PinCentre(first)), Scale().Map(PinCentre(second)));
  }
  p.restore();
}

TStruc::TStruc(Workbench& workbench, GuideWindowsSource guide, QWidget* parent)
    : QWidget(parent), workbench_(workbench), guide_(std::move(guide)) {
  setObjectName("TStruc");
  setWindowTitle("图示帮助");

  buttonRow_ = new QWidget(this);
  auto* row = new QHBoxLayout(buttonRow_);
  row->setContentsMargins(4, 4, 4, 2);
  row->setSpacing(4);
  connect(AddButton("sbSelect", "选择实验", 0), &QPushButton::clicked, this,
          &TStruc::sbSelectClick);
  row->addSpacing(8);
  struct Opener {
    const char* name;
    const char* caption;
    int tag;
  };
  for (const Opener& o :
       {Opener{"sbYQ", "实验要求", 1}, {"sbMD", "实验目的", 2}, {"sbSM", "实验说明", 3}})
    connect(AddButton(o.name, o.caption, o.tag), &QPushButton::clicked, this,
            [this, tag = o.tag] { EX_TXTClick(tag); });
  row->addSpacing(8);
  for (const Opener& o : {Opener{"sbDL", "实验电路", 4}, {"sbBX", "时序波形", 5}})
    connect(AddButton(o.name, o.caption, o.tag), &QPushButton::clicked, this,
            [this, tag = o.tag] { EX_JPGClick(tag); });
  row->addSpacing(8);
  connect(AddButton("sbBACK", "<< 连线", 0), &QPushButton::clicked, this, &TStruc::sbBACKClick);
  connect(AddButton("sbFWD", "连线 >>", 0), &QPushButton::clicked, this, &TStruc::sbFWDClick);
  row->addSpacing(8);
  connect(AddButton("sbCB", "<< 操作", 0), &QPushButton::clicked, this, &TStruc::sbCBClick);
  connect(AddButton("sbCF", "操作 >>", 0), &QPushButton::clicked, this, &TStruc::sbCFClick);
  row->addStretch(1);
  // Neither the buttons nor a long step text may keep the middle area from narrowing: what
  // does not fit is cut off at the right.
  buttonRow_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  pbHost_ = new GraphicHelpCanvas(help_, this);
  connect(pbHost_, &DiagramCanvas::pictureRequested, this, [this](const std::string& picture) {
    guide_().ShowPicture(this, kSchematicCaption, picture);
  });
  plOper_ = new QLabel(this);
  plOper_->setObjectName("plOper");
  plOper_->setFrameShape(QFrame::Panel);
  plOper_->setFrameShadow(QFrame::Sunken);
  plOper_->setMargin(2);
  plOper_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  QPalette palette = plOper_->palette();
  palette.setColor(QPalette::WindowText, colours::kNavy);
  plOper_->setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(buttonRow_);
  layout->addWidget(pbHost_, 1);
  layout->addWidget(plOper_);
  ShowState();
}

QPushButton* TStruc::AddButton(const char* name, const QString& caption, int tag) {
  auto* button = new QPushButton(caption, buttonRow_);
  button->setObjectName(name);
  button->setProperty("tag", tag);
  button->setFocusPolicy(Qt::NoFocus);
  buttonRow_->layout()->addWidget(button);
  return button;
}

void TStruc::ShowState() {
  const GraphicHelp::Buttons enabled = help_.Enabled();
  const std::pair<const char*, bool> states[] = {
      {"sbYQ", enabled.requirement}, {"sbMD", enabled.purpose},    {"sbSM", enabled.notes},
      {"sbDL", enabled.circuit},     {"sbBX", enabled.timing},     {"sbCB", enabled.opBack},
      {"sbCF", enabled.opForward},   {"sbBACK", enabled.wireBack}, {"sbFWD", enabled.wireForward},
  };
  for (const auto& [name, on] : states) buttonRow_->findChild<QPushButton*>(name)->setEnabled(on);
  plOper_->setText(QString::fromStdString(Gb2312ToUtf8(help_.Status())));
  pbHost_->update();
}

void TStruc::sbSelectClick() {
  ExperimentCatalogue& catalogue = workbench_.experiments;
  const std::optional<int> chosen = guide_().SelectExperiment(this, catalogue.CurrentExp);
  help_.Select(catalogue, chosen);
  ShowState();
}

void TStruc::EX_TXTClick(int tag) { guide_().ShowText(this, TextBlock(tag)); }

void TStruc::EX_JPGClick(int tag) {
  const TExperiment* experiment = workbench_.experiments.Current();
  if (!experiment) return;
  if (tag == 4)
    guide_().ShowPicture(this, kSchematicCaption, experiment->SchematicPicture);
  else
    guide_().ShowPicture(this, "时序波形图", experiment->TimingPicture);
}

void TStruc::sbCBClick() {
  help_.OpBack();
  ShowState();
}

void TStruc::sbCFClick() {
  help_.OpForward();
  ShowState();
}

void TStruc::sbBACKClick() {
  help_.WireBack();
  ShowState();
}

void TStruc::sbFWDClick() {
  help_.WireForward();
  ShowState();
}

}  // namespace edumac8
