// The address grid (the logic's AddressGrid) as a Qt table model. Row r of
// the model is grid row r + 1; grid row 0, the title row, is the horizontal
// header. Cells are read from the logic when they are painted, so a book of
// any size costs only its visible rows.
#pragma once

#include <QAbstractTableModel>
#include <QFont>

#include "mainwin/MainFormLogic.h"

namespace mainwin {

class AddressGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit AddressGridModel(const AddressGrid& grid, QObject* parent = nullptr)
      : QAbstractTableModel(parent), grid_(grid) {}

  // The rows were rebuilt (the grid's Revision changed).
  void Reset();
  // Cells of one grid row may have been set.
  void RowChanged(int gridRow);
  void TitlesChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const AddressGrid& grid_;
};

}  // namespace mainwin
