// pbALU: the ALU symbol drawn in the place of the hidden ALU block. The widget is masked to
// the symbol, so the buses, frames, lamps and pins around it stay visible, and it takes clicks
// and shows its hint only over the symbol itself.
#pragma once

#include <QPolygonF>
#include <QWidget>

namespace edumac8 {

class AluSymbol : public QWidget {
  Q_OBJECT

 public:
  // The symbol's place in the drawing, relative to the ALU block's corner.
  static constexpr int kWidth = 140;
  static constexpr int kHeight = 97;

  explicit AluSymbol(QWidget* parent);

  // The drawing's scale factor; the widget's geometry is set by its page.
  void SetFactor(double factor);
  void SetCaption(const QString& caption);
  bool Pressed() const { return pressed_; }
  bool Contains(const QPointF& widgetPoint) const;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPolygonF Outline() const;

  double factor_ = 1;
  QString caption_;
  bool pressed_ = false;
};

}  // namespace edumac8
