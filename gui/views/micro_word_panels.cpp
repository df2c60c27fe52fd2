#include "views/micro_word_panels.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>

#include "machine/micro_word.h"
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
// Grid place of kRegisters[i] (i < 20) and of the flags C and Z (20, 21), counted down the
// columns.
constexpr int PlaceOf(int i) {
  if (i < 14) return i;      // PC … R3, then IR … OUT
  if (i < 20) return i + 2;  // ABUS … R
  return i - 20 + 14;        // C, Z at the end of the middle column
}

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
    box->setToolTip(SignalName(bit));
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
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setHorizontalSpacing(12);
  layout->setVerticalSpacing(1);
  const QFont font = GridFont();
  auto place = [&](QLabel* label, const char* name, int i) {
    label->setObjectName(name);
    label->setFont(font);
    layout->addWidget(label, PlaceOf(i) % kRegisterRows, PlaceOf(i) / kRegisterRows);
  };
  for (int i = 0; i < 20; ++i) {
    const RegisterSpec& spec = kRegisters[i];
    registers_[i] = {new QLabel(this), spec.caption, spec.field};
    place(registers_[i].label, spec.name, i);
  }
  carry_ = new QLabel(this);
  zero_ = new QLabel(this);
  place(carry_, "SRegC", 20);
  place(zero_, "SRegZ", 21);
  layout->setRowStretch(kRegisterRows, 1);
  ShowState(MachineState{});
}

void RegisterPanel::ShowState(const MachineState& state) {
  for (const Register& r : registers_) r.label->setText(r.caption + Hex2(state[r.field]));
  carry_->setText(state[Field::F] & flag::RCy ? "C:1" : "C:0");
  zero_->setText(state[Field::F] & flag::RZ ? "Z:1" : "Z:0");
}

QString RegisterPanel::Text(const QString& name) const {
  const auto* label = findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
  return label ? label->text() : QString();
}

}  // namespace edumac8
