// The group dialog's table (TGrpView::Rows) as a Qt model. Column 0 is the
// tree drawn with characters and needs a fixed pitch to line up.
#pragma once

#include <QAbstractTableModel>

#include "groups/GroupsLogic.h"

namespace groups {

class GrpTblModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit GrpTblModel(const TGrpView& view, QObject* parent = nullptr) : QAbstractTableModel(parent), view_(view) {}

  void Reset();        // rows inserted or removed
  void TextChanged();  // cells may have changed

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const TGrpView& view_;
};

}  // namespace groups
