#include "groups/GrpTblModel.h"

#include <QApplication>
#include <QFont>

#include "ui/Codec.h"
#include "ui/Translate.h"

namespace groups {

namespace {

// The tree is drawn with characters: a fixed pitch that holds Japanese too.
QFont TreeFont() {
  QFont f(QStringLiteral("Noto Sans Mono CJK JP"));
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  const QFont base = QApplication::font();
  if (base.pointSizeF() > 0) f.setPointSizeF(base.pointSizeF());
  return f;
}

}  // namespace

void GrpTblModel::Reset() {
  beginResetModel();
  endResetModel();
}

void GrpTblModel::TextChanged() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

int GrpTblModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(view_.Rows.size());
}

int GrpTblModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant GrpTblModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const GrpRow& row = view_.Rows[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return codec::ToQt(row.Cols[static_cast<std::size_t>(index.column())]);
    case Qt::FontRole:
      if (index.column() == 0 || index.column() == 3) return TreeFont();
      return {};
    case Qt::ToolTipRole:
      if (index.column() == 3 && !row.Cols[3].empty())
        return ui::TrText(ui::ctx::kGroups, QStringLiteral("Written at the next save"));
      return {};
    default:
      return {};
  }
}

QVariant GrpTblModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 4) return {};
  return ui::Tr(ui::ctx::kGroups, view_.Titles[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags GrpTblModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace groups
