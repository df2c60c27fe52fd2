#include "schematic_pictures.h"

#include <QFontMetricsF>
#include <algorithm>
#include <map>

#include "canvas.h"
#include "guide/pin_table.h"
#include "machine/micro_word.h"

namespace edumac8::pictures {
namespace {

constexpr double kSwitchStep = 36;
constexpr double kBlockHeight = 64;
constexpr double kTopBlocks = 96;
constexpr double kStripTop = 340;
constexpr double kStripHeight = 56;
constexpr double kBottomBlocks = 600;
constexpr double kPinGap = 18;  // from a block's edge to its pins' centres

const QColor kWireColours[] = {
    {0xD0, 0x30, 0x30}, {0x20, 0x80, 0x20}, {0x20, 0x50, 0xC0}, {0xC0, 0x70, 0x00},
    {0x80, 0x30, 0xA0}, {0x00, 0x90, 0x90}, {0x90, 0x60, 0x30}, {0xC0, 0x30, 0x90},
    {0x50, 0x70, 0x20}, {0x30, 0x30, 0x80},
};

QString Utf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

struct BlockPlace {
  QString name;
  std::vector<int> pins;  // in wiring order
  QRectF box;
  bool top = true;
};

double BlockWidth(const BlockPlace& b) {
  const double name = QFontMetricsF(Font(10, true)).horizontalAdvance(b.name) + 16;
  return std::max({104.0, 38.0 * static_cast<double>(b.pins.size()) + 24, name});
}

QPointF PinCentre(const BlockPlace& b, int pin) {
  const auto it = std::find(b.pins.begin(), b.pins.end(), pin);
  const double i = static_cast<double>(it - b.pins.begin());
  const double x = b.box.left() + b.box.width() * (i + 0.5) / static_cast<double>(b.pins.size());
  return {x, b.top ? b.box.bottom() + kPinGap : b.box.top() - kPinGap};
}

// Switch output i sits where the box has it: right to left, a wider gap after bits 7 and 15.
double SwitchX(double right, int bit) {
  return right - 20 - bit * kSwitchStep - (bit >= 8 ? 10 : 0) - (bit >= 16 ? 10 : 0);
}

void DrawSwitchStrip(Canvas& c, double right) {
  const double left = SwitchX(right, 23) - 130;
  c.Painter().setPen(QPen(colour::kBlockEdge, 1.5));
  c.Painter().setBrush(QColor(0xF4, 0xF4, 0xF4));
  c.Painter().drawRoundedRect(QRectF(left, kStripTop, right - left, kStripHeight), 4, 4);
  c.Painter().setBrush(Qt::NoBrush);
  c.TextIn(QRectF(left + 8, kStripTop, 96, kStripHeight), "微指令开关输出\n引脚 0-23", 9,
           Qt::AlignLeft | Qt::AlignVCenter, colour::kBlockEdge, true);
  for (int bit = 0; bit < 24; ++bit) {
    const double x = SwitchX(right, bit);
    c.TextIn(QRectF(x - 18, kStripTop + 8, 36, 18), QString::number(bit), 8, Qt::AlignCenter,
             colour::kNote);
    c.TextIn(QRectF(x - 18, kStripTop + 28, 36, 18), SignalName(bit), 7, Qt::AlignCenter,
             colour::kBlockEdge, true);
  }
}

void DrawBlock(Canvas& c, const BlockPlace& b) {
  c.Painter().setPen(QPen(colour::kBlockEdge, 2));
  c.Painter().setBrush(colour::kBlock);
  c.Painter().drawRoundedRect(b.box, 6, 6);
  c.Painter().setBrush(Qt::NoBrush);
  const QRectF nameBox = b.top ? QRectF(b.box.left(), b.box.top() + 4, b.box.width(), 24)
                               : QRectF(b.box.left(), b.box.bottom() - 28, b.box.width(), 24);
  c.TextIn(nameBox, b.name, 10, Qt::AlignCenter, colour::kBlockEdge, true);
  for (int pin : b.pins) {
    const QPointF centre = PinCentre(b, pin);
    const double edge = b.top ? b.box.bottom() : b.box.top();
    c.Painter().setPen(QPen(colour::kInk, 1.2));
    c.Painter().drawLine(QPointF(centre.x(), edge), centre);
    const QRectF label = b.top ? QRectF(centre.x() - 19, edge - 22, 38, 18)
                               : QRectF(centre.x() - 19, edge + 4, 38, 18);
    c.TextIn(label, Utf8(PinAt(pin).signal), 8, Qt::AlignCenter, colour::kInk, true);
    c.Pin(centre, pin, Canvas::Label::Right);
  }
}

// Places the blocks in two rows, above and below the switch strip, each row centred.
void PlaceRows(std::vector<BlockPlace>& blocks, double width) {
  const std::size_t upper = (blocks.size() + 1) / 2;
  for (int row = 0; row < 2; ++row) {
    const std::size_t first = row == 0 ? 0 : upper;
    const std::size_t last = row == 0 ? upper : blocks.size();
    double total = 0;
    for (std::size_t i = first; i < last; ++i) total += BlockWidth(blocks[i]) + 16;
    double x = (width - total + 16) / 2;
    for (std::size_t i = first; i < last; ++i) {
      const double w = BlockWidth(blocks[i]);
      blocks[i].top = row == 0;
      blocks[i].box = QRectF(x, row == 0 ? kTopBlocks : kBottomBlocks, w, kBlockHeight);
      x += w + 16;
    }
  }
}

}  // namespace

QImage DrawWiringSchematic(const QString& title, const QString& dataPath,
                           const TExperiment& experiment) {
  // The blocks in the order the wiring first reaches them.
  std::vector<BlockPlace> blocks;
  std::map<int, std::size_t> blockOfPin;
  for (const WireStep& w : experiment.Wires) {
    for (int pin : {static_cast<int>(w.first), static_cast<int>(w.second)}) {
      if (pin < kSwitchPins || pin >= kPinCount || blockOfPin.count(pin)) continue;
      const QString name = Utf8(PinAt(pin).block);
      auto it = std::find_if(blocks.begin(), blocks.end(),
                             [&](const BlockPlace& b) { return b.name == name; });
      if (it == blocks.end()) it = blocks.insert(blocks.end(), BlockPlace{name, {}, {}, true});
      it->pins.push_back(pin);
      blockOfPin[pin] = static_cast<std::size_t>(it - blocks.begin());
    }
  }
  double rowWidth = 0;
  for (const BlockPlace& b : blocks) rowWidth += (BlockWidth(b) + 16) / 2;
  const double width = std::clamp(std::max(1040.0, rowWidth + 120), 1040.0, 1280.0);
  PlaceRows(blocks, width);

  Canvas c(static_cast<int>(width), 720);
  c.Title(title + "  实验电路");
  c.TextIn(QRectF(20, 56, width - 40, 22), dataPath, 9, Qt::AlignCenter, colour::kNote);
  const double right = width - 30;
  DrawSwitchStrip(c, right);
  for (const BlockPlace& b : blocks) DrawBlock(c, b);

  // Each wire runs up (or down) from its switch output to a lane of its own, across to the
  // block's pin, and into it.
  std::vector<const WireStep*> upper, lower;
  for (const WireStep& w : experiment.Wires) {
    const int input = w.first < kSwitchPins ? w.second : w.first;
    if (!blockOfPin.count(input)) continue;
    (blocks[blockOfPin[input]].top ? upper : lower).push_back(&w);
  }
  const auto span = [&](const WireStep* w) {
    const int bit = w->first < kSwitchPins ? w->first : w->second;
    const int input = w->first < kSwitchPins ? w->second : w->first;
    return std::abs(SwitchX(right, bit) - PinCentre(blocks[blockOfPin[input]], input).x());
  };
  // Short wires run next to the strip and long ones further out, so few wires cross.
  const auto byReach = [&](const WireStep* a, const WireStep* b) { return span(a) < span(b); };
  std::stable_sort(upper.begin(), upper.end(), byReach);
  std::stable_sort(lower.begin(), lower.end(), byReach);
  int colourIndex = 0;
  for (const bool top : {true, false}) {
    const std::vector<const WireStep*>& wires = top ? upper : lower;
    const double laneFrom =
        top ? kTopBlocks + kBlockHeight + kPinGap + 16 : kStripTop + kStripHeight + 14;
    const double laneTo = top ? kStripTop - 14 : kBottomBlocks - kPinGap - 16;
    for (std::size_t k = 0; k < wires.size(); ++k) {
      const WireStep& w = *wires[k];
      const int bit = w.first < kSwitchPins ? w.first : w.second;
      const int input = w.first < kSwitchPins ? w.second : w.first;
      const QPointF pin = PinCentre(blocks[blockOfPin[input]], input);
      const double reach = (k + 0.5) / static_cast<double>(wires.size());
      const double lane =
          top ? laneTo - (laneTo - laneFrom) * reach : laneFrom + (laneTo - laneFrom) * reach;
      const double sx = SwitchX(right, bit);
      const double sy = top ? kStripTop : kStripTop + kStripHeight;
      const QColor& ink = kWireColours[colourIndex++ % std::size(kWireColours)];
      c.Painter().setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      c.Painter().drawPolyline(QPolygonF{
          {sx, sy}, {sx, lane}, {pin.x(), lane}, {pin.x(), top ? pin.y() + 6 : pin.y() - 6}});
      c.Painter().setBrush(ink);
      c.Painter().drawEllipse(QPointF(sx, sy), 3, 3);
      c.Painter().setBrush(Qt::NoBrush);
    }
  }
  c.TextIn(QRectF(20, 684, width - 40, 20),
           "开关拨上为 1、拨下为 0；除 CN 外控制信号低电平有效。每条彩色线是一个连线步骤，"
           "黄色圆点是实验仪上的引脚，旁边为引脚号。",
           8, Qt::AlignCenter, colour::kNote);
  return c.Finish();
}

QImage DrawControllerSchematic(const QString& title) {
  Canvas c(960, 560);
  c.Title(title + "  实验电路");
  c.TextIn(QRectF(20, 56, 920, 22),
           "FPGA 中的控制器代替 uPC、uM：它读指令总线、标志和中断请求，输出 24 位控制信号", 9,
           Qt::AlignCenter, colour::kNote);
  const QRectF em(40, 130, 150, 80), ir(250, 130, 150, 80);
  const QRectF micro(470, 100, 220, 70), combinational(470, 200, 220, 70);
  const QRectF datapath(760, 130, 170, 110);
  c.Block(em, "EM", "EDUMAC8.mem 的程序");
  c.Block(ir, "IR", "指令寄存器");
  c.Block(micro, "EDUMAC8_U", "微程序控制器 uPC + uM");
  c.Block(combinational, "EDUMAC8_C", "组合逻辑控制器");
  c.Block(datapath, "数据通路", "运算器、寄存器、存储器");
  c.Arrow(QPointF(em.right(), 170), QPointF(ir.left(), 170));
  c.Text(QPointF(em.right() + 8, 148), "IBUS", 9, colour::kBus, true);
  c.Arrow(QPointF(ir.right(), 160), QPointF(micro.left(), 135));
  c.Arrow(QPointF(ir.right(), 180), QPointF(combinational.left(), 235));
  c.Text(QPointF(ir.left() + 20, ir.bottom() + 8), "操作码送两种控制器", 9);
  c.Arrow(QPointF(micro.right(), 135), QPointF(datapath.left(), 165));
  c.Arrow(QPointF(combinational.right(), 235), QPointF(datapath.left(), 205));
  c.Text(QPointF(micro.right() + 6, 92), "24 位控制信号", 9, colour::kBlockEdge, true);
  c.Text(QPointF(micro.right() + 6, 108), "XRD ... S0", 8);
  // The inputs every controller takes besides the op-code.
  for (const auto& [label, x] : {std::pair{"CK", 500.0}, {"IREQ", 560.0}, {"C  Z", 630.0}}) {
    c.Arrow(QPointF(x, 300 + 60), QPointF(x, combinational.bottom() + 2));
    c.TextIn(QRectF(x - 30, 362, 60, 18), label, 9, Qt::AlignCenter, colour::kInk, true);
  }
  c.Lines(QPointF(40, 410),
          {"1. 工具栏的 VHDL 按钮（或 edumac8-cli vhdl）把当前指令系统和微程序生成为两种控制器：",
           "     EDUMAC8_U.VHD 用 uM 存放微程序，EDUMAC8_C.VHD 把每条微指令化成组合逻辑。",
           "2. EDUMAC8.mem 是 EM 的初值，综合时装入 FPGA 的存储器。",
           "3. 两种控制器在同样的 CK 下输出相同的微指令序列，可以用 GHDL 仿真比较。",
           "4. 下载到实验仪的 FPGA 后，实验仪设为 FPGA 实验方式，按 CK 单步执行。"},
          10);
  return c.Finish();
}

}  // namespace edumac8::pictures
