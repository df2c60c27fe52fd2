// The two panels under and beside a micro-word grid: the 24 bit check boxes MM23 … MM0 with
// the signal names above them, and the register labels of the machine state.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "machine/machine_state.h"

class QCheckBox;
class QLabel;

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

class RegisterPanel : public QWidget {
  Q_OBJECT

 public:
  explicit RegisterPanel(QWidget* parent = nullptr);

  void ShowState(const MachineState& state);
  // The label's text, by its name (SRegPC, SABUS, …); empty for an unknown name.
  QString Text(const QString& name) const;

 private:
  struct Register {
    QLabel* label;
    QString caption;
    Field field;
  };
  std::array<Register, 20> registers_{};
  QLabel* carry_ = nullptr;
  QLabel* zero_ = nullptr;
};

}  // namespace edumac8
