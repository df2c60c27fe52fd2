// The 256 rows of the micro-program and trace grids as a table model; the column headers are
// the grids' header row. Rows are kept as text, filled only by Refill, so the view never reads
// the machine: a grid keeps what it was last filled with while a run changes the machine.
// Refill reports only the rows whose text changed, so a refresh repaints what is visible and
// nothing is rebuilt.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <functional>

#include "isa/grid_rows.h"

namespace edumac8 {

class MicroGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kRows = 256;
  static constexpr int kColumns = 11;

  explicit MicroGridModel(QObject* parent = nullptr);

  // Rewrites every row from rowOf(0 … 255).
  void Refill(const std::function<MicroGridRow(int)>& rowOf);
  const MicroGridRow& Row(int row) const { return rows_[row]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::array<MicroGridRow, kRows> rows_;
  MicroGridRow header_;
};

}  // namespace edumac8
