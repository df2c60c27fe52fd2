// The two panels under and beside a micro-word grid: the 24 bit check boxes MM23 … MM0 with
// the signal names above them, and the register labels of the machine state.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "machine/machine_state.h"

class QCheckBox;

namespace edumac8 {

class MicroWordBitPanel : public QWidget {
  Q_OBJECT

 public:
  explicit MicroWordBitPanel(QWidget* parent = nullptr);

  // Ticks box n for every bit n that is 1. Emits nothing: only the user's clicks are edits.
  void ShowWord(std::uint32_t word);
  // The word the boxes show now.
  std::uint32_t Word() const;
  QCheckBox* Box(int bit) const { return boxes_[bit]; }

 signals:
  // The user clicked box `bit`; `checked` is its new state.
  void bitClicked(int bit, bool checked);

 private:
  std::array<QCheckBox*, 24> boxes_{};
};

// Painted rather than built of labels: the panel changes after every micro-step, and a label
// that changes its text makes the whole window lay itself out again.
class RegisterPanel : public QWidget {
  Q_OBJECT

 public:
  explicit RegisterPanel(QWidget* parent = nullptr);

  void ShowState(const MachineState& state) { ShowState(state, state); }
  // Registers and flags whose value differs from `before` are drawn highlighted.
  void ShowState(const MachineState& state, const MachineState& before);
  // The text of a register, by its label's name (SRegPC, SABUS, SRegC, …); empty for an
  // unknown name.
  QString Text(const QString& name) const;
  bool Highlighted(const QString& name) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kItems = 22;  // 20 registers and buses, then the flags C and Z
  int IndexOf(const QString& name) const;

  std::array<QString, kItems> texts_;
  std::array<bool, kItems> changed_{};
  int columnWidth_ = 0;
  int lineHeight_ = 0;
};

}  // namespace edumac8
