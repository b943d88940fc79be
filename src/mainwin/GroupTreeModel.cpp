#include "mainwin/GroupTreeModel.h"

#include <algorithm>

#include "ui/Codec.h"
#include "ui/QtImages.h"
#include "ui/Translate.h"

namespace mainwin {

void GroupTreeModel::SetTree(const store::GroupTree* tree) {
  beginResetModel();
  tree_ = tree;
  endResetModel();
}

void GroupTreeModel::Reset() {
  beginResetModel();
  endResetModel();
}

void GroupTreeModel::ImagesChanged() {
  if (!tree_) return;
  // One signal per run of siblings keeps this cheap for wide trees.
  auto emitRange = [this](const store::TreeNode* parent) {
    const auto* sib = Siblings(parent);
    if (!sib || sib->empty()) return;
    const QModelIndex p = IndexOf(parent);
    emit dataChanged(index(0, 0, p), index(static_cast<int>(sib->size()) - 1, 0, p),
                     {Qt::DecorationRole});
  };
  emitRange(nullptr);
  for (const store::TreeNode* n : tree_->InOrder())
    if (n->HasChildren()) emitRange(n);
}

const std::vector<store::TreeNode*>* GroupTreeModel::Siblings(const store::TreeNode* parent) const {
  if (!tree_) return nullptr;
  return parent ? &parent->Children : &tree_->Roots();
}

int GroupTreeModel::RowOf(const store::TreeNode* node) const {
  const auto* sib = Siblings(node->Parent);
  if (!sib) return -1;
  auto it = std::find(sib->begin(), sib->end(), node);
  return it == sib->end() ? -1 : static_cast<int>(it - sib->begin());
}

store::TreeNode* GroupTreeModel::NodeAt(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return nullptr;
  return static_cast<store::TreeNode*>(index.internalPointer());
}

QModelIndex GroupTreeModel::IndexOf(const store::TreeNode* node) const {
  if (!node) return {};
  const int row = RowOf(node);
  if (row < 0) return {};
  return createIndex(row, 0, const_cast<store::TreeNode*>(node));
}

QModelIndex GroupTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (parent.isValid() && parent.column() != 0) return {};
  const auto* sib = Siblings(NodeAt(parent));
  if (!sib || row >= static_cast<int>(sib->size())) return {};
  return createIndex(row, 0, (*sib)[static_cast<std::size_t>(row)]);
}

QModelIndex GroupTreeModel::parent(const QModelIndex& child) const {
  const store::TreeNode* n = NodeAt(child);
  if (!n || !n->Parent) return {};
  return IndexOf(n->Parent);
}

int GroupTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  const auto* sib = Siblings(NodeAt(parent));
  return sib ? static_cast<int>(sib->size()) : 0;
}

int GroupTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant GroupTreeModel::data(const QModelIndex& index, int role) const {
  const store::TreeNode* n = NodeAt(index);
  if (!n) return {};
  switch (role) {
    case Qt::DisplayRole:
      return codec::ToQt(n->Caption);
    case Qt::DecorationRole:
      return images::GroupTreeImage(n->ImageIndex);
    case Qt::AccessibleDescriptionRole:
      if (n->Level == 0) return ui::TrText(ui::ctx::kMain, QStringLiteral("folder"));
      return ui::TrText(ui::ctx::kMain,
                        n->ImageIndex == store::kImgChecked ? QStringLiteral("shown") : QStringLiteral("not shown"));
    default:
      return {};
  }
}

Qt::ItemFlags GroupTreeModel::flags(const QModelIndex& index) const {
  if (!NodeAt(index)) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace mainwin
