// The 64 entry rows of the instruction-set grid; the column headers are the grid's header
// row. Texts are read from the instruction set when the view asks, so Refresh only tells the
// view that every row may have changed.
#pragma once

#include <QAbstractTableModel>

#include "isa/instruction_system.h"

namespace edumac8 {

class InstrGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  InstrGridModel(const InstructionSystem& isa, QObject* parent = nullptr);

  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  const InstructionSystem& isa_;
};

}  // namespace edumac8
