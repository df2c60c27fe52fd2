#include "views/micro_word_panels.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "isa/signal_hints.h"
#include "machine/micro_word.h"
#include "machine/value_changes.h"
#include "views/grid_font.h"

namespace edumac8 {
namespace {

struct RegisterSpec {
  const char* name;
  const char* caption;
  Field field;
};

// Three columns of eight: the programmer's registers; the control registers with the flags
// below them; the buses and the ALU outputs.
constexpr RegisterSpec kRegisters[20] = {
    {"SRegPC", "PC:", Field::PC},    {"SReguPC", "uPC:", Field::uPC},
    {"SRegA", "A:", Field::A},       {"SRegW", "W:", Field::W},
    {"SRegR0", "R0:", Field::R0},    {"SRegR1", "R1:", Field::R1},
    {"SRegR2", "R2:", Field::R2},    {"SRegR3", "R3:", Field::R3},
    {"SRegIR", "IR:", Field::IR},    {"SRegST", "ST:", Field::ST},
    {"SRegIA", "IA:", Field::IA},    {"SRegMAR", "MAR:", Field::MAR},
    {"SRegIN", "IN:", Field::IN},    {"SRegOUT", "OUT:", Field::OUT},
    {"SABUS", "ABUS:", Field::ABUS}, {"SDBUS", "DBUS:", Field::DBUS},
    {"SIBUS", "IBUS:", Field::IBUS}, {"SL", "L:", Field::L},
    {"SD", "D:", Field::D},          {"SR", "R:", Field::R},
};
constexpr int kRegisterRows = 8;
constexpr int kMargin = 6;
// Grid place of kRegisters[i] (i < 20) and of the flags C and Z (20, 21), counted down the
// columns.
constexpr int PlaceOf(int i) {
  if (i < 14) return i;      // PC … R3, then IR … OUT
  if (i < 20) return i + 2;  // ABUS … R
  return i - 20 + 14;        // C, Z at the end of the middle column
}

// The buses and the ALU outputs change with nearly every micro-step; marking them would hide
// what the step stored.
bool IsStorage(Field f) {
  switch (f) {
    case Field::ABUS:
    case Field::DBUS:
    case Field::IBUS:
    case Field::D:
    case Field::L:
    case Field::R:
      return false;
    default:
      return true;
  }
}

const QColor kChangedBackground(0xFF, 0xE0, 0x80);
const QColor kChangedText(0xB0, 0x00, 0x00);

QString Hex2(std::uint8_t value) {
  return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

}  // namespace

MicroWordBitPanel::MicroWordBitPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setHorizontalSpacing(2);
  layout->setVerticalSpacing(0);
  QFont small = font();
  small.setPointSize(7);
  // Every bit gets the width of the widest name, so the boxes line up evenly.
  int widest = 0;
  for (int bit = 0; bit < 24; ++bit)
    widest = std::max(widest, QFontMetrics(small).horizontalAdvance(SignalName(bit)));
  int column = 0;
  for (int bit = 23; bit >= 0; --bit) {
    if (bit == 15 || bit == 7) layout->setColumnMinimumWidth(column++, 10);  // byte gap
    auto* label = new QLabel(SignalName(bit), this);
    label->setFont(small);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    auto* box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("MM%1").arg(bit));
    // What the bit does, so a student knows what ticking its box means.
    const QString hint = QString::fromStdString(SignalHint(bit));
    label->setToolTip(hint);
    box->setToolTip(hint);
    layout->setColumnMinimumWidth(column, widest);
    layout->addWidget(label, 0, column, Qt::AlignHCenter);
    layout->addWidget(box, 1, column, Qt::AlignHCenter);
    connect(box, &QCheckBox::clicked, this,
            [this, bit](bool checked) { emit bitClicked(bit, checked); });
    boxes_[bit] = box;
    ++column;
  }
  layout->setColumnStretch(column, 1);
}

void MicroWordBitPanel::ShowWord(std::uint32_t word) {
  for (int bit = 23; bit >= 0; --bit) boxes_[bit]->setChecked((word >> bit) & 1);
}

std::uint32_t MicroWordBitPanel::Word() const {
  std::uint32_t word = 0;
  for (int bit = 0; bit < 24; ++bit)
    if (boxes_[bit]->isChecked()) word |= 1u << bit;
  return word;
}

RegisterPanel::RegisterPanel(QWidget* parent) : QWidget(parent) {
  setFont(GridFont());
  const QFontMetrics metrics(font());
  columnWidth_ = metrics.horizontalAdvance(QStringLiteral("DBUS:FF")) + 14;
  lineHeight_ = metrics.height() + 1;
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  ShowState(MachineState{});
}

QSize RegisterPanel::sizeHint() const {
  return {3 * columnWidth_ + 2 * kMargin, kRegisterRows * lineHeight_ + 2 * kMargin};
}

void RegisterPanel::ShowState(const MachineState& state, const MachineState& before) {
  const StateChanges changes = CompareStates(before, state);
  std::array<QString, kItems> texts;
  std::array<bool, kItems> changed{};
  for (int i = 0; i < 20; ++i) {
    const Field f = kRegisters[i].field;
    texts[i] = kRegisters[i].caption + Hex2(state[f]);
    changed[i] = IsStorage(f) && changes.Changed(f);
  }
  texts[20] = state[Field::F] & flag::RCy ? "C:1" : "C:0";
  texts[21] = state[Field::F] & flag::RZ ? "Z:1" : "Z:0";
  changed[20] = changes.carry;
  changed[21] = changes.zero;
  if (texts == texts_ && changed == changed_) return;
  texts_ = std::move(texts);
  changed_ = changed;
  update();
}

int RegisterPanel::IndexOf(const QString& name) const {
  for (int i = 0; i < 20; ++i)
    if (name == QLatin1String(kRegisters[i].name)) return i;
  if (name == QLatin1String("SRegC")) return 20;
  if (name == QLatin1String("SRegZ")) return 21;
  return -1;
}

QString RegisterPanel::Text(const QString& name) const {
  const int i = IndexOf(name);
  return i < 0 ? QString() : texts_[i];
}

bool RegisterPanel::Highlighted(const QString& name) const {
  const int i = IndexOf(name);
  return i >= 0 && changed_[i];
}

void RegisterPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  for (int i = 0; i < kItems; ++i) {
    const int place = PlaceOf(i);
    const QRect cell(kMargin + place / kRegisterRows * columnWidth_,
                     kMargin + place % kRegisterRows * lineHeight_, columnWidth_, lineHeight_);
    if (changed_[i]) {
      const int width = metrics.horizontalAdvance(texts_[i]) + 4;
      painter.fillRect(QRect(cell.left() - 2, cell.top(), width, cell.height()),
                       kChangedBackground);
      painter.setPen(kChangedText);
    } else {
      painter.setPen(palette().color(QPalette::WindowText));
    }
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, texts_[i]);
  }
}

}  // namespace edumac8
