#include "mainwin/AddressGridModel.h"

#include <QApplication>
#include <QPalette>

#include "ui/Codec.h"
#include "ui/Translate.h"

namespace mainwin {

void AddressGridModel::Reset() {
  beginResetModel();
  endResetModel();
}

void AddressGridModel::RowChanged(int gridRow) {
  const int r = gridRow - 1;
  if (r < 0 || r >= rowCount()) return;
  emit dataChanged(index(r, 0), index(r, kGridColumns - 1), {Qt::DisplayRole});
}

void AddressGridModel::TitlesChanged() { emit headerDataChanged(Qt::Horizontal, 0, kGridColumns - 1); }

int AddressGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return grid_.RowCount() - 1;
}

int AddressGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kGridColumns;
}

QVariant AddressGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kGridColumns) return {};
  const int row = index.row() + 1;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
      const std::string cell = grid_.Cell(row, index.column());
      if (role == Qt::ToolTipRole && (index.column() == 0 || cell.empty())) return {};
      // The note may hold several lines; a grid cell shows them on one.
      // A row without a card is the grid's own "No Hit Address" line, the
      // one text here that is not a card's.
      QString text = grid_.CardAt(row) ? codec::MemoToQt(cell) : ui::Tr(ui::ctx::kMain, cell);
      if (role == Qt::DisplayRole) text.replace(QChar('\n'), QChar(' '));
      return text;
    }
    case Qt::TextAlignmentRole:
      if (index.column() == 0) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      // Column 0 is the grid's fixed column.
      if (index.column() == 0) return QApplication::palette().button();
      return {};
    default:
      return {};
  }
}

QVariant AddressGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kGridColumns) return {};
  if (role == Qt::DisplayRole) return ui::Tr(ui::ctx::kMain, grid_.Titles[static_cast<std::size_t>(section)]);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags AddressGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace mainwin
