#include "views/micro_grid_model.h"

#include "isa/signal_hints.h"

namespace edumac8 {

MicroGridModel::MicroGridModel(QObject* parent)
    : QAbstractTableModel(parent), header_(MicroGridHeader()) {}

void MicroGridModel::Refill(const std::function<MicroGridRow(int)>& rowOf) {
  int first = kRows, last = -1;
  for (int r = 0; r < kRows; ++r) {
    MicroGridRow row = rowOf(r);
    if (row == rows_[r]) continue;
    rows_[r] = std::move(row);
    if (first == kRows) first = r;
    last = r;
  }
  if (last >= 0) emit dataChanged(index(first, 0), index(last, kColumns - 1), {Qt::DisplayRole});
}

int MicroGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRows;
}

int MicroGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant MicroGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return QString::fromStdString(rows_[index.row()][index.column()]);
}

QVariant MicroGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::ToolTipRole && orientation == Qt::Horizontal)
    return QString::fromStdString(MicroColumnHint(section));
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(header_[section]);
  return section + 1;
}

}  // namespace edumac8
