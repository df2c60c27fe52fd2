// What the structure diagram and the graphic help share: a drawing area of fixed drawing
// coordinates shown scaled and centred on a page of any size, the 23 block buttons and the
// ALU symbol placed on their scaled rectangles, the drawing's font, the block pictures and
// the "复制图片" command of the context menu.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "diagram/alu_symbol.h"
#include "diagram/block_button.h"
#include "diagram/drawing_scale.h"
#include "guide/experiment_windows.h"

namespace edumac8 {

// The experiment guide's windows, looked up at each use: the main window may replace them.
using GuideWindowsSource = std::function<ExperimentWindows&()>;

// The caption of a block's and of an experiment's picture window.
inline constexpr const char* kSchematicCaption = "原理图";

class DiagramCanvas : public QWidget {
  Q_OBJECT

 public:
  enum class Drawing { Flow, Help };

  BlockButton* Block(BlockId id) const { return blocks_[Index(id)]; }
  AluSymbol* pbALU() const { return alu_; }
  const DrawingScale& Scale() const { return scale_; }
  QSize DrawingSize() const;
  // The block's rectangle in the drawing.
  DrawRect BlockRect(BlockId id) const;

  // The page as it is shown, at twice its pixels (for slides).
  QImage Picture();
  void CopyPicture();

 signals:
  // A block or the ALU symbol was clicked: its schematic picture.
  void pictureRequested(const std::string& picture);

 protected:
  DiagramCanvas(Drawing drawing, QWidget* parent);

  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  // The page around the drawing area, the area (x 3 … 546, y 3 … bottom − 4) in `fill`
  // with a black outline.
  void PaintArea(QPainter& p, const QColor& fill) const;
  // A band of drawing pixels around `inner`, `thickness` pixels wide.
  void FillBand(QPainter& p, const DrawRect& inner, int thickness, const QColor& colour) const;
  QFont DrawingFont() const { return font_; }

 private:
  void LayoutBlocks();
  void FitFont();

  Drawing drawing_;
  std::array<BlockButton*, kBlockCount> blocks_{};
  AluSymbol* alu_ = nullptr;
  DrawingScale scale_;
  QFont font_;
};

}  // namespace edumac8
