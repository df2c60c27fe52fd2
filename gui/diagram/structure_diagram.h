// TFlow, the structure diagram "结构图": the datapath's blocks with their values, the bus
// network, the ALU symbol and six status lamps. For a micro-word it frames the block that
// drives the data bus (red) and the blocks it loads (yellow), lights the address and
// instruction paths in use and animates the transfer along the bus, one segment per 200 ms
// tick. Every paint draws the current state, so nothing is lost to a page switch or resize.
#pragma once

#include <QPixmap>
#include <QStaticText>
#include <QTimer>
#include <functional>

#include "diagram/diagram_canvas.h"
#include "diagram/diagram_readout.h"
#include "diagram/flow_animation.h"
#include "diagram/signal_hints.h"
#include "workbench/workbench.h"

namespace edumac8 {

class TFlow : public DiagramCanvas {
  Q_OBJECT

 public:
  TFlow(Workbench& workbench, GuideWindowsSource guide, QWidget* parent = nullptr);

  // Decodes the micro-word the next step executes (uM at CurrentRecord's uPC, with its IR
  // and flags) and restarts the animation from it. Cheap; for the user-interface thread.
  void DecodeTransfer();
  // The same for the micro-word the live state shows, after a row of the micro-program or
  // trace window was selected.
  void DecodeCurrentMicroWord();
  // Block captions and lamps from the live state; in simulation RT1 and RT0 are written into
  // its STATUS first.
  void RefreshDiagram();

  // sbDrawBus: the whole data bus lights up instead of the transfer's route. The shown
  // transfer is drawn again in the new mode at once.
  void SetShowWholeBus(bool whole);
  bool ShowWholeBus() const { return animation_.ShowWholeBus(); }

  void Timer1Timer();
  QTimer* Timer1() const { return timer1_; }
  bool Animating() const { return timer1_->isActive(); }

  const FlowAnimation& Animation() const { return animation_; }
  const SignalHints& Hints() const { return hints_; }
  const DiagramReadout& Readout() const { return readout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Decode(const DecodedWord& decoded);
  // Applies a change of the animation and repaints the segments and frames it changed.
  void Animate(const std::function<void()>& change);
  // After a decoding: the first tick 200 ms from now, or none when nothing animates.
  void RestartTimer();
  void PaintLamps(QPainter& p, const QRegion& region) const;
  const QPixmap& LampPixmap(bool on, QSize size) const;
  // Each lamp's name stands right above it.
  QRect LampLabelRect(int lamp) const;
  QRegion FrameRegion(BlockId id) const;

  Workbench& workbench_;
  GuideWindowsSource guide_;
  FlowAnimation animation_;
  SignalHints hints_ = StartupHints();
  DiagramReadout readout_;
  QTimer* timer1_ = nullptr;
  std::array<QStaticText, kLampCount> lampNames_;
  mutable QPixmap lampPixmaps_[2];  // off, on
};

}  // namespace edumac8
