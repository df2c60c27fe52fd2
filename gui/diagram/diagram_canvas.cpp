#include "diagram/diagram_canvas.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "diagram/diagram_colours.h"

namespace edumac8 {
namespace {

constexpr int kHintDuration = 18888;

// The widest text a block's face must hold: its caption with the widest digits.
QString CaptionTemplate(BlockId id, DiagramCanvas::Drawing drawing) {
  const QString name = QString::fromLatin1(BlockOf(id).name);
  if (drawing == DiagramCanvas::Drawing::Help || id == BlockId::ALU) return name;
  if (id == BlockId::uM) return "uM: DD DD DD";
  return name + ":DD";
}

}  // namespace

DiagramCanvas::DiagramCanvas(Drawing drawing, QWidget* parent)
    : QWidget(parent), drawing_(drawing) {
  // Every paint covers the whole page: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  alu_ = new AluSymbol(this);
  alu_->setToolTipDuration(kHintDuration);
  connect(alu_, &AluSymbol::clicked, this,
          [this] { emit pictureRequested(BlockOf(BlockId::ALU).picture); });
  for (const BlockSpec& b : Blocks()) {
    BlockButton::Look look = BlockButton::Look::Raised;
    if (drawing == Drawing::Help)
      look = BlockButton::Look::Flat;
    else if (IsBusBlock(b.id))
      look = BlockButton::Look::StaysDown;
    auto* button = new BlockButton(b.id, look, this);
    button->setText(QString::fromLatin1(b.name));
    button->setToolTipDuration(kHintDuration);
    blocks_[Index(b.id)] = button;
    connect(button, &QAbstractButton::clicked, this, [this, id = b.id] {
      const std::string picture = BlockOf(id).picture;
      if (!picture.empty()) emit pictureRequested(picture);
    });
  }
  Block(BlockId::ALU)->hide();
  alu_->SetCaption(QString::fromLatin1(BlockOf(BlockId::ALU).name));
  if (drawing == Drawing::Help)
    for (BlockId id : {BlockId::uM, BlockId::DBUS, BlockId::ABUS, BlockId::IBUS}) Block(id)->hide();
}

QSize DiagramCanvas::DrawingSize() const {
  return drawing_ == Drawing::Flow ? QSize(kFlowWidth, kFlowHeight)
                                   : QSize(kHelpWidth, kHelpHeight);
}

DrawRect DiagramCanvas::BlockRect(BlockId id) const {
  const BlockSpec& b = BlockOf(id);
  if (drawing_ == Drawing::Flow) return b.flow;
  return {b.help.x, b.help.y, b.flow.width, b.flow.height};
}

void DiagramCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutBlocks();
}

void DiagramCanvas::LayoutBlocks() {
  scale_ = DrawingScale(size(), DrawingSize());
  for (const BlockSpec& b : Blocks()) Block(b.id)->setGeometry(scale_.Map(BlockRect(b.id)));
  const DrawRect alu = BlockRect(BlockId::ALU);
  alu_->setGeometry(scale_.Map(DrawRect{alu.left, alu.top, AluSymbol::kWidth, AluSymbol::kHeight}));
  alu_->SetFactor(scale_.Factor());
  FitFont();
}

// One font for every face, as large as the block height allows while each caption still
// fits its block.
void DiagramCanvas::FitFont() {
  QFont font = QWidget::font();
  int pixels = std::max(6, int(11 * scale_.Factor()));
  for (; pixels > 6; --pixels) {
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font);
    bool fits = true;
    for (const BlockSpec& b : Blocks()) {
      if (Block(b.id)->isHidden() && b.id != BlockId::ALU) continue;
      const QRect face = scale_.Map(BlockRect(b.id));
      fits = fits && metrics.horizontalAdvance(CaptionTemplate(b.id, drawing_)) <= face.width() - 6;
    }
    if (fits) break;
  }
  font.setPixelSize(pixels);
  font_ = font;
  for (BlockButton* block : blocks_) block->setFont(font);
  alu_->setFont(font);
}

void DiagramCanvas::PaintArea(QPainter& p, const QColor& fill) const {
  const QSize drawing = DrawingSize();
  const QRect outer = scale_.Map(DrawRect{3, 3, drawing.width() - 6, drawing.height() - 6});
  const int line = scale_.Length(1);
  const QRect inner = outer.adjusted(line, line, -line, -line);
  // Each pixel once: a full repaint of a large page is mostly this.
  for (const QRect& r : QRegion(rect()).subtracted(outer)) p.fillRect(r, colours::kPage);
  for (const QRect& r : QRegion(outer).subtracted(inner)) p.fillRect(r, colours::kBlack);
  p.fillRect(inner, fill);
}

void DiagramCanvas::FillBand(QPainter& p, const DrawRect& inner, int thickness,
                             const QColor& colour) const {
  const QRect in = scale_.Map(inner);
  const QRect out = scale_.Map(DrawRect{inner.left - thickness, inner.top - thickness,
                                        inner.width + 2 * thickness, inner.height + 2 * thickness});
  p.fillRect(QRect(out.left(), out.top(), out.width(), in.top() - out.top()), colour);
  p.fillRect(QRect(out.left(), in.bottom() + 1, out.width(), out.bottom() - in.bottom()), colour);
  p.fillRect(QRect(out.left(), in.top(), in.left() - out.left(), in.height()), colour);
  p.fillRect(QRect(in.right() + 1, in.top(), out.right() - in.right(), in.height()), colour);
}

QImage DiagramCanvas::Picture() {
  const qreal ratio = 2 * devicePixelRatioF();
  QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(colours::kPage);
  render(&image);
  return image;
}

void DiagramCanvas::CopyPicture() { QApplication::clipboard()->setImage(Picture()); }

void DiagramCanvas::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("复制图片", this, &DiagramCanvas::CopyPicture);
  menu.exec(event->globalPos());
}

}  // namespace edumac8
