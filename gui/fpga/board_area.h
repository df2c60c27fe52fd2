// The drawing area of the board window (imgM): the board picture, on which the placing
// preview is drawn, with a clean copy (imgB) from which every preview is erased. The
// components' controls are its children.
#pragma once

#include <QImage>
#include <QWidget>

namespace edumac8 {

class BoardArea : public QWidget {
  Q_OBJECT

 public:
  explicit BoardArea(QWidget* parent = nullptr);

  const QImage& imgM() const { return imgM_; }
  const QImage& imgB() const { return imgB_; }

  // Restores the picture from the clean copy, then draws the preview of `kind` at (x, y).
  void ShowPreview(int kind, int x, int y);
  void ErasePreview();
  // The background of a new mode: silver with the olive border.
  void ClearBackground();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage imgM_;
  QImage imgB_;
};

}  // namespace edumac8
