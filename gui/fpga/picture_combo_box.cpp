#include "fpga/picture_combo_box.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "fpga/board_images.h"

namespace edumac8 {
namespace {

constexpr int kFocusColourRole = Qt::UserRole + 1;
constexpr int kItemHeight = 24;

class PictureItemDelegate : public QAbstractItemDelegate {
 public:
  using QAbstractItemDelegate::QAbstractItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool focused = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    PaintPictureItem(*p, option.rect, index.data(Qt::DecorationRole).value<QImage>(),
                     index.data(Qt::DisplayRole).toString(),
                     focused ? index.data(kFocusColourRole).value<QColor>() : QColor(Qt::black));
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QImage picture = index.data(Qt::DecorationRole).value<QImage>();
    const int text = option.fontMetrics.horizontalAdvance(index.data().toString());
    return {2 + picture.width() + 6 + text + 4, std::max(kItemHeight, picture.height() + 4)};
  }
};

}  // namespace

void PaintPictureItem(QPainter& p, const QRect& r, const QImage& picture, const QString& text,
                      QColor textColour) {
  p.fillRect(r, kSilver);
  p.drawImage(r.left() + 2, r.top() + (r.height() - picture.height()) / 2, picture);
  p.setPen(textColour);
  const QRect textRect = r.adjusted(2 + picture.width() + 6, 0, 0, 0);
  p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
}

PictureComboBox::PictureComboBox(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new PictureItemDelegate(this));
}

void PictureComboBox::AddPictureItem(const QString& text, const QImage& picture,
                                     QColor focusColour) {
  addItem(text);
  setItemData(count() - 1, picture, Qt::DecorationRole);
  setItemData(count() - 1, focusColour, kFocusColourRole);
}

QImage PictureComboBox::ItemPicture(int index) const {
  return itemData(index, Qt::DecorationRole).value<QImage>();
}

QColor PictureComboBox::ItemFocusColour(int index) const {
  return itemData(index, kFocusColourRole).value<QColor>();
}

void PictureComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  if (currentIndex() < 0) return;
  PaintPictureItem(painter, field, ItemPicture(currentIndex()), currentText(),
                   hasFocus() ? ItemFocusColour(currentIndex()) : QColor(Qt::black));
}

}  // namespace edumac8
