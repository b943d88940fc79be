#include "editor/EntryGroupModel.h"

#include "ui/Codec.h"
#include "ui/QtImages.h"
#include "ui/Translate.h"

namespace editor {

void EntryGroupModel::Reset() {
  beginResetModel();
  endResetModel();
}

void EntryGroupModel::ImagesChanged() {
  if (rows_.empty()) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

int EntryGroupModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryGroupModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant EntryGroupModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() > 1) return {};
  const EntryGroupRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return codec::ToQt(index.column() == 0 ? row.Caption : row.Text);
    case Qt::DecorationRole:
      if (index.column() == 0) return images::CheckListImage(row.ImageIndex);
      return {};
    case Qt::AccessibleDescriptionRole:
      if (row.ImageIndex == 1) return ui::TrText(ui::ctx::kEditor, QStringLiteral("member"));
      return ui::TrText(ui::ctx::kEditor,
                        row.ImageIndex == 2 ? QStringLiteral("folder") : QStringLiteral("not a member"));
    default:
      return {};
  }
}

Qt::ItemFlags EntryGroupModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace editor
