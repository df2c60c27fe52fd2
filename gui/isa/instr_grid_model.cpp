#include "isa/instr_grid_model.h"

#include "isa/grid_rows.h"

namespace edumac8 {

InstrGridModel::InstrGridModel(const InstructionSystem& isa, QObject* parent)
    : QAbstractTableModel(parent), isa_(isa) {}

void InstrGridModel::Refresh() {
  emit dataChanged(index(0, 0), index(kEntries - 1, columnCount() - 1), {Qt::DisplayRole});
}

int InstrGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kEntries;
}

int InstrGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(InstrGridRow{}.size());
}

QVariant InstrGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  return QString::fromStdString(InstrGridRowOf(isa_, index.row())[index.column()]);
}

QVariant InstrGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(InstrGridHeader()[section]);
  return section + 1;
}

}  // namespace edumac8
