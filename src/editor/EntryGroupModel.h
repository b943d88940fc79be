// The card editor's "Entry Group" list (the logic's EntryGroup rows) as a
// Qt model: column 0 the row's tree text with its check image, column 1
// the group's name.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "editor/ViewLogic.h"

namespace editor {

class EntryGroupModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit EntryGroupModel(const std::vector<EntryGroupRow>& rows, QObject* parent = nullptr)
      : QAbstractTableModel(parent), rows_(rows) {}

  void Reset();           // rows rebuilt
  void ImagesChanged();   // check marks may have changed

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const std::vector<EntryGroupRow>& rows_;
};

}  // namespace editor
