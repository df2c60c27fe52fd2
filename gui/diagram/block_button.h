// A block of the datapath drawings: a button whose face shows only its caption, in the
// drawing's font. Raised blocks stand out of the structure diagram; flat ones lie on the
// graphic help, whose drawing gives them their edge; a block that stays down shows a bus.
#pragma once

#include <QAbstractButton>

#include "diagram/flow_layout.h"

namespace edumac8 {

class BlockButton : public QAbstractButton {
  Q_OBJECT

 public:
  enum class Look { Raised, Flat, StaysDown };

  BlockButton(BlockId id, Look look, QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void nextCheckState() override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  Look look_;
};

}  // namespace edumac8
