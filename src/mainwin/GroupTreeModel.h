// The group tree (store::GroupTree) as a Qt item model: one row per node,
// its caption and the image of its check state. The model owns nothing;
// the logic changes the tree and the window then calls Reset() (nodes added,
// removed or re-sorted) or ImagesChanged() (check marks).
#pragma once

#include <QAbstractItemModel>

#include "store/Book.h"

namespace mainwin {

class GroupTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit GroupTreeModel(QObject* parent = nullptr) : QAbstractItemModel(parent) {}

  // The tree to show (nullptr: none); resets the model.
  void SetTree(const store::GroupTree* tree);
  void Reset();
  void ImagesChanged();

  store::TreeNode* NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOf(const store::TreeNode* node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const std::vector<store::TreeNode*>* Siblings(const store::TreeNode* parent) const;
  int RowOf(const store::TreeNode* node) const;

  const store::GroupTree* tree_ = nullptr;
};

}  // namespace mainwin
