// The board's speed buttons: a component's picture or name, a key, a palette button. Flat
// buttons show a frame only while the pointer is over them or while they are down.
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace edumac8 {

class BoardButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit BoardButton(QWidget* parent = nullptr, bool flat = true);

  void SetPicture(QImage picture);
  const QImage& Picture() const { return picture_; }
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
  bool flat_ = true;
  bool hovered_ = false;
};

}  // namespace edumac8
