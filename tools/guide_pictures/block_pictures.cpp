#include "block_pictures.h"

#include <QStringList>
#include <algorithm>

#include "canvas.h"
#include "guide/pin_table.h"
#include "machine/micro_word.h"

namespace edumac8::pictures {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 420;

struct BlockSheet {
  const char* file;
  const char* name;
  const char* title;
  std::vector<const char*> inputs;
  std::vector<const char*> outputs;
  std::vector<int> pins;
  std::vector<const char*> notes;
};

const char* const kSourceCodes =
    "X2 X1 X0：000 IN，001 IA，010 ST，011 PC，100 D，101 R，110 L，111 无";

const std::vector<BlockSheet>& Sheets() {
  static const std::vector<BlockSheet> sheets = {
      {"IA.JPG",
       "IA",
       "中断向量 IA",
       {"复位：E0H"},
       {"DBUS（X=001）"},
       {67, 68, 69},
       {"X2 X1 X0 = 001 时，IA 驱动数据总线。", "复位后 IA = E0H，即中断服务程序的入口地址。",
        "中断微程序 _INT_ 把 IA 送入 PC。", kSourceCodes}},
      {"ST.JPG",
       "ST",
       "堆栈寄存器 ST",
       {"DBUS"},
       {"DBUS（X=010）"},
       {61, 62, 67, 68, 69},
       {"STEN = 0：CK 上升沿把数据总线打入 ST。", "X2 X1 X0 = 010 时，ST 驱动数据总线。",
        "一级堆栈：CALL 和中断在这里保存返回地址，RET、RETI 取回。"}},
      {"PC.JPG",
       "PC",
       "程序计数器 PC",
       {"DBUS"},
       {"ABUS（PCOE）", "DBUS（X=011）"},
       {59, 60, 67, 68, 69},
       {"PCOE = 0：PC 驱动地址总线，这一步之后 PC 加一。",
        "ELP = 0：转移条件成立时把数据总线打入 PC。",
        "转移条件由 IR 第 3、2 位选择：00 看进位 C，01 看零 Z，1x 无条件。",
        "X2 X1 X0 = 011 时，PC 驱动数据总线（CALL 保存返回地址）。"}},
      {"MAR.JPG",
       "MAR",
       "地址寄存器 MAR",
       {"DBUS"},
       {"ABUS（MAROE）"},
       {52, 53, 54},
       {"MAREN = 0：CK 上升沿把数据总线打入 MAR。", "MAROE = 0：MAR 驱动地址总线。",
        "PCOE 与 MAROE 同时有效时地址总线为 FFH。"}},
      {"L.JPG",
       "L",
       "左移门 L",
       {"ALU 结果 D", "进位 C"},
       {"DBUS（X=110）"},
       {27, 29, 30, 31},
       {"L = D 左移一位；最低位移入：CN = 1 时为 C，CN = 0 时为 0。",
        "X2 X1 X0 = 110 时，L 驱动数据总线。",
        "FEN = 0 时锁存的进位是 D 的最高位（CN = 1）或原来的 C（CN = 0）。"}},
      {"D.JPG",
       "D",
       "直通门 D",
       {"ALU 结果"},
       {"DBUS（X=100）"},
       {29, 30, 31},
       {"X2 X1 X0 = 100 时，ALU 的结果不移位直接送上数据总线。",
        "运算结果经 D 送往 A、OUT、存储器或寄存器组。"}},
      {"Rr.JPG",
       "R",
       "右移门 R",
       {"ALU 结果 D", "进位 C"},
       {"DBUS（X=101）"},
       {27, 29, 30, 31},
       {"R = D 右移一位；最高位移入：CN = 1 时为 C，CN = 0 时为 0。",
        "X2 X1 X0 = 101 时，R 驱动数据总线。",
        "FEN = 0 时锁存的进位是 D 的最低位（CN = 1）或原来的 C（CN = 0）。"}},
      {"R.JPG",
       "R0-R3",
       "寄存器组 R0-R3",
       {"DBUS"},
       {"DBUS（RRD）"},
       {24, 25, 26},
       {"IR 的低两位 SB SA 选择 R0-R3 中的一个。", "RRD = 0：选中的寄存器驱动数据总线。",
        "RWR = 0：CK 上升沿把数据总线写入选中的寄存器。"}},
      {"IN.JPG",
       "IN",
       "输入端口 IN",
       {"输入开关"},
       {"DBUS（X=000）"},
       {67, 68, 69},
       {"X2 X1 X0 = 000 时，输入开关的值驱动数据总线。", "指令 IN 把它读入 A。"}},
      {"OUT.JPG",
       "OUT",
       "输出寄存器 OUT",
       {"DBUS"},
       {"输出指示灯"},
       {63, 64},
       {"OUTEN = 0：CK 上升沿把数据总线打入 OUT。", "OUT 的内容一直显示在指示灯上。"}},
      {"EM.JPG",
       "EM",
       "存储器 EM（256 字节）",
       {"ABUS（地址）", "DBUS"},
       {"DBUS", "IBUS"},
       {55, 56, 57, 58},
       {"EMEN = 0：存储器与数据总线相通；EMWR = 0 时写，EMWR = 1 时读。",
        "EMRD = 0：地址总线选中的单元送到指令总线（取指令）。",
        "EMWR = 0 而 EMEN = 1：存储器看到浮空的总线，写入 FFH。",
        "XRD：外部设备读，实验仪的扩展用。"}},
      {"ALU.JPG",
       "ALU",
       "运算器 ALU",
       {"A", "W", "进位 C"},
       {"D"},
       {34, 35, 36, 32, 28, 33},
       {"S2 S1 S0：000 A+W，001 A-W，010 A OR W，011 A AND W，",
        "          100 A+W+C，101 A-W-C，110 NOT A，111 A。",
        "结果 D 经直通门、左移门或右移门送上数据总线。",
        "FEN = 0：CK 上升沿锁存进位 C 和零标志 Z。"}},
      {"uPC.JPG",
       "uPC",
       "微程序计数器 uPC",
       {"IBUS AND FCH"},
       {"uM 地址"},
       {65, 66},
       {"IREN = 0：取指，uPC = 指令总线 AND FCH，即指令的微程序组首地址。",
        "IREN = 1：uPC 加一，执行本组的下一条微指令。",
        "响应中断时 uPC = B8H，转入中断微程序 _INT_。"}},
      {"IR.JPG",
       "IR",
       "指令寄存器 IR",
       {"IBUS"},
       {"指令译码", "SB SA 选择 R0-R3", "转移条件"},
       {41, 50},
       {"IREN = 0：CK 上升沿把指令总线（存储器读出的操作码）打入 IR。",
        "IR 的低两位选择寄存器，第 3、2 位选择转移条件。"}},
      {"A.JPG",
       "A",
       "累加器 A",
       {"DBUS"},
       {"ALU 操作数"},
       {37, 38},
       {"AEN = 0：CK 上升沿把数据总线打入 A。", "A 是 ALU 的第一个操作数，也是移位的对象。"}},
      {"W.JPG",
       "W",
       "工作寄存器 W",
       {"DBUS"},
       {"ALU 操作数"},
       {39, 40},
       {"WEN = 0：CK 上升沿把数据总线打入 W。", "W 是 ALU 的第二个操作数。"}},
  };
  return sheets;
}

QString PinSignal(int pin) {
  return QString::fromUtf8(PinAt(pin).signal.data(), PinAt(pin).signal.size());
}

void DrawSheet(const BlockSheet& sheet, Canvas& c) {
  c.Title(QString::fromUtf8(sheet.title) + " 原理图");
  const int pinCount = static_cast<int>(sheet.pins.size());
  const double boxWidth = std::max(150, pinCount * 48);
  const QRectF box((kWidth - boxWidth) / 2, 90, boxWidth, 90);
  c.Block(box, sheet.name, QString::fromUtf8(sheet.title));

  const auto spread = [&](int n, int i) { return box.top() + box.height() * (i + 1) / (n + 1); };
  for (int i = 0; i < static_cast<int>(sheet.inputs.size()); ++i) {
    const double y = spread(static_cast<int>(sheet.inputs.size()), i);
    c.Arrow(QPointF(25, y), QPointF(box.left() - 2, y));
    c.Text(QPointF(25, y - 20), sheet.inputs[i], 9);
  }
  for (int i = 0; i < static_cast<int>(sheet.outputs.size()); ++i) {
    const double y = spread(static_cast<int>(sheet.outputs.size()), i);
    c.Arrow(QPointF(box.right() + 2, y), QPointF(kWidth - 25, y));
    c.TextIn(QRectF(box.right() + 10, y - 22, kWidth - 35 - box.right(), 18), sheet.outputs[i], 9,
             Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int i = 0; i < pinCount; ++i) {
    const double x = box.left() + boxWidth * (i + 0.5) / pinCount;
    const QPointF pin(x, box.bottom() + 52);
    c.Painter().setPen(QPen(colour::kInk, 1.4));
    c.Painter().drawLine(QPointF(x, box.bottom()), pin - QPointF(0, 6));
    c.TextIn(QRectF(x - 24, box.bottom() + 8, 48, 16), PinSignal(sheet.pins[i]), 9, Qt::AlignCenter,
             colour::kBlockEdge, true);
    c.Pin(pin, sheet.pins[i]);
  }
  QStringList notes;
  for (const char* note : sheet.notes) notes << QString::fromUtf8(note);
  c.Lines(QPointF(30, 290), notes, 10);
}

// The micro-program store: the fields of the 24-bit word and the switch outputs it drives.
void DrawMicroProgramStore(Canvas& c) {
  c.Title("微程序存储器 uM 原理图");
  c.Block(QRectF(40, 70, 150, 70), "uM", "256 × 24 位");
  c.Arrow(QPointF(115, 160), QPointF(115, 142));
  c.Text(QPointF(125, 146), "uPC（微地址）", 9);
  constexpr double kLeft = 40, kCell = 21.6, kTop = 200;
  for (int bit = 23; bit >= 0; --bit) {
    const double x = kLeft + (23 - bit) * kCell;
    const QRectF cell(x, kTop, kCell, 26);
    c.Painter().setPen(QPen(colour::kBlockEdge, 1));
    c.Painter().setBrush(bit == 9 ? QColor(0xFF, 0xF0, 0xD0) : colour::kBlock);
    c.Painter().drawRect(cell);
    c.TextIn(cell, QString::number(bit), 7, Qt::AlignCenter);
    c.Painter().save();
    c.Painter().translate(x + kCell / 2 + 4, kTop - 6);
    c.Painter().rotate(-60);
    c.Text(QPointF(0, -10), SignalName(bit), 8, colour::kBlockEdge, true);
    c.Painter().restore();
    c.Pin(QPointF(x + kCell / 2, kTop + 44), bit);
  }
  for (const auto& [name, first] : {std::pair{"MH", 23}, {"MM", 15}, {"ML", 7}}) {
    const double x = kLeft + (23 - first) * kCell;
    c.TextIn(QRectF(x, kTop + 62, 8 * kCell, 16), name, 9, Qt::AlignCenter, colour::kNote, true);
  }
  c.Lines(QPointF(30, 300),
          {"每个单元 24 位，第 i 位经开关 i 输出到引脚 i（0-23），再连到各部件的控制输入。",
           "除 CN 外所有信号低电平（0）有效；空单元为 FFFFFF，什么也不做。",
           "uM 每 4 个单元一组，组首地址 = 操作码 AND FCH；00H 组为取指，B8H 组为中断。",
           "取指微指令 CBFFFF：EMRD、PCOE、IREN 有效。"},
          10);
}

}  // namespace

std::vector<NamedPicture> DrawBlockPictures() {
  std::vector<NamedPicture> pictures;
  for (const BlockSheet& sheet : Sheets()) {
    Canvas c(kWidth, kHeight);
    DrawSheet(sheet, c);
    pictures.push_back({sheet.file, c.Finish()});
  }
  Canvas uM(kWidth, kHeight);
  DrawMicroProgramStore(uM);
  pictures.push_back({"uM.JPG", uM.Finish()});
  return pictures;
}

NamedPicture DrawNoImage() {
  Canvas c(320, 240);
  c.Painter().setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 3));
  c.Painter().drawRect(QRectF(110, 40, 100, 80));
  c.Painter().drawLine(QPointF(110, 40), QPointF(210, 120));
  c.Painter().drawLine(QPointF(210, 40), QPointF(110, 120));
  c.TextIn(QRectF(0, 140, 320, 30), "没有图片", 16, Qt::AlignCenter, colour::kNote, true);
  c.TextIn(QRectF(0, 175, 320, 40), "实验目录中指定的图片文件不在 JPG 目录中", 9, Qt::AlignCenter,
           colour::kNote);
  return {"NoImg.JPG", c.Finish()};
}

}  // namespace edumac8::pictures
