#include "diagram/structure_diagram.h"

#include <QPaintEvent>
#include <QPainter>

#include "diagram/diagram_colours.h"

namespace edumac8 {
namespace {

using colours::Of;

constexpr SegmentColour kLayers[] = {SegmentColour::Teal, SegmentColour::Aqua,
                                     SegmentColour::Fuchsia, SegmentColour::Lime};

}  // namespace

TFlow::TFlow(Workbench& workbench, GuideWindowsSource guide, QWidget* parent)
    : DiagramCanvas(Drawing::Flow, parent), workbench_(workbench), guide_(std::move(guide)) {
  setObjectName("TFlow");
  setWindowTitle("结构图");
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(FlowAnimation::kTickMilliseconds);
  connect(timer1_, &QTimer::timeout, this, &TFlow::Timer1Timer);
  for (int i = 0; i < kLampCount; ++i) {
    lampNames_[i].setText(QString::fromLatin1(LampLabels()[i / 2].names[i % 2]));
    lampNames_[i].setTextFormat(Qt::PlainText);
  }
  readout_.captions = StartupCaptions();
  for (const BlockSpec& b : Blocks()) {
    Block(b.id)->setText(QString::fromStdString(readout_.captions[Index(b.id)]));
    Block(b.id)->setToolTip(QString::fromStdString(hints_[Index(b.id)]));
  }
  pbALU()->setToolTip(QString::fromStdString(hints_[Index(BlockId::ALU)]));
  connect(this, &DiagramCanvas::pictureRequested, this, [this](const std::string& picture) {
    guide_().ShowPicture(this, kSchematicCaption, picture);
  });
}

void TFlow::DecodeTransfer() {
  const Machine& m = workbench_.machine;
  const MachineState& next = m.CurrentRecord.state;
  Decode({m.uM[next[Field::uPC]] & kWordMask, next[Field::IR], next[Field::F]});
}

void TFlow::DecodeCurrentMicroWord() {
  const MachineState& shown = workbench_.machine.state;
  Decode({WordOf(shown), shown[Field::IR], shown[Field::F]});
}

void TFlow::Decode(const DecodedWord& decoded) {
  Animate([&] { animation_.Decode(decoded); });
  // The hints explain the word the frames show.
  hints_ = UpdateSignalHints(decoded.word, decoded.IR);
  for (const BlockSpec& b : Blocks())
    Block(b.id)->setToolTip(QString::fromStdString(hints_[Index(b.id)]));
  pbALU()->setToolTip(QString::fromStdString(hints_[Index(BlockId::ALU)]));
  RestartTimer();
}

void TFlow::RestartTimer() {
  if (animation_.Running())
    timer1_->start();
  else
    timer1_->stop();
}

void TFlow::RefreshDiagram() {
  MachineState& s = workbench_.machine.state;
  if (workbench_.control.Simulation) WriteRemainingSteps(s, workbench_.machine.StepCountTable);
  const DiagramReadout readout = ReadDiagram(s);
  for (const BlockSpec& b : Blocks())
    if (readout.captions[Index(b.id)] != readout_.captions[Index(b.id)])
      Block(b.id)->setText(QString::fromStdString(readout.captions[Index(b.id)]));
  QRegion lamps;
  for (int i = 0; i < kLampCount; ++i)
    if (readout.lamps[i] != readout_.lamps[i]) lamps += Scale().Map(LampRect(Lamp(i)));
  readout_ = readout;
  update(lamps);
}

void TFlow::SetShowWholeBus(bool whole) {
  if (whole == ShowWholeBus()) return;
  Animate([&] { animation_.SetShowWholeBus(whole); });
  RestartTimer();
}

QRect TFlow::LampLabelRect(int lamp) const {
  const QRect circle = Scale().Map(LampRect(Lamp(lamp)));
  const int top = Scale().Y(LampLabels()[lamp / 2].place.y);
  return QRect(circle.center().x() - circle.width() * 2, top, circle.width() * 4,
               circle.top() - top);
}

QRegion TFlow::FrameRegion(BlockId id) const {
  const DrawRect block = BlockRect(id);
  return QRegion(Scale().Map(FrameOuterRect(block))).subtracted(Scale().Map(block));
}

void TFlow::Timer1Timer() {
  Animate([this] {
    if (!animation_.Tick()) timer1_->stop();
  });
}

void TFlow::Animate(const std::function<void()>& change) {
  std::array<SegmentColour, kSegmentCount> segments;
  for (int i = 0; i < kSegmentCount; ++i) segments[i] = animation_.Segment(i);
  std::array<FrameColour, kBlockCount> frames;
  for (const BlockSpec& b : Blocks()) frames[Index(b.id)] = animation_.Frame(b.id);
  change();
  // Only what changed is painted again: a tick or a step stays cheap on a large page.
  QRegion changed;
  for (int i = 0; i < kSegmentCount; ++i)
    if (animation_.Segment(i) != segments[i]) changed += Scale().Map(SegmentRect(Segments()[i]));
  for (const BlockSpec& b : Blocks())
    if (animation_.Frame(b.id) != frames[Index(b.id)]) changed += FrameRegion(b.id);
  update(changed);
}

void TFlow::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  PaintArea(p, colours::kGray);
  // Lit buses over idle ones, so that where two meet the lit one shows.
  for (SegmentColour layer : kLayers)
    for (int i = 0; i < kSegmentCount; ++i)
      if (animation_.Segment(i) == layer)
        p.fillRect(Scale().Map(SegmentRect(Segments()[i])), Of(layer));
  // Frames over the buses' ends; an idle frame is the background itself, so idle buses
  // reach their blocks.
  for (const BlockSpec& b : Blocks())
    if (HasFrame(b.id) && animation_.Frame(b.id) != FrameColour::Gray)
      FillBand(p, BlockRect(b.id), 2, Of(animation_.Frame(b.id)));
  PaintLamps(p, event->region());
}

void TFlow::PaintLamps(QPainter& p, const QRegion& region) const {
  p.setFont(DrawingFont());
  p.setPen(colours::kBlack);
  for (int i = 0; i < kLampCount; ++i) {
    const QRect label = LampLabelRect(i);
    if (region.intersects(label)) {
      const QStaticText& name = lampNames_[i];
      const QSizeF size = name.size();
      p.drawStaticText(
          QPointF(label.center().x() + 0.5 - size.width() / 2, label.bottom() + 1 - size.height()),
          name);
    }
    const QRect lamp = Scale().Map(LampRect(Lamp(i)));
    if (region.intersects(lamp))
      p.drawPixmap(lamp.topLeft(), LampPixmap(readout_.lamps[i], lamp.size()));
  }
}

// The two looks of a lamp, drawn once for each size: every step repaints some lamps.
const QPixmap& TFlow::LampPixmap(bool on, QSize size) const {
  QPixmap& pixmap = lampPixmaps_[on];
  const qreal ratio = devicePixelRatioF();
  if (pixmap.size() != size * ratio || pixmap.devicePixelRatio() != ratio) {
    pixmap = QPixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colours::kBlack, std::max(1.0, Scale().Factor() / 2)));
    p.setBrush(on ? colours::kRed : colours::kMaroon);
    p.drawEllipse(QRectF(QPointF(), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5));
  }
  return pixmap;
}

}  // namespace edumac8
