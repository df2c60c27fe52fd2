// An owner-drawn list: every item on silver with its picture 2 pixels in and its text 6
// pixels right of the picture; the focused item's text takes the item's own colour.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QImage>

namespace edumac8 {

class PictureComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit PictureComboBox(QWidget* parent = nullptr);

  void AddPictureItem(const QString& text, const QImage& picture, QColor focusColour);
  QImage ItemPicture(int index) const;
  QColor ItemFocusColour(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Draws one item as the list and the closed box show it.
void PaintPictureItem(QPainter& p, const QRect& r, const QImage& picture, const QString& text,
                      QColor textColour);

}  // namespace edumac8
