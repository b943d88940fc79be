// The group dialog: shows groups::TGrpView's members and turns button
// clicks, double clicks and Enter on the table into its handlers. Modal;
// it owns nothing of the book.
#pragma once

#include <QDialog>
#include <cstdint>

#include "groups/GroupsLogic.h"

class QLabel;
class QPushButton;
class QTableView;

namespace groups {

class GrpTblModel;

class GroupsWindow : public QDialog {
  Q_OBJECT
 public:
  GroupsWindow(TGrpView& view, QWidget* parent = nullptr);

  QTableView* table() const { return tbl_; }
  GrpTblModel* model() const { return model_; }

  // Members -> widgets.
  void RefreshFromLogic();

 signals:
  // The group tree changed; the main window's members already follow it.
  void treeChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  template <typename F>
  void Run(F&& handler);
  void FitColumns();

  TGrpView& view_;
  std::uint64_t revision_ = 0;
  std::uint64_t treeRevision_ = 0;
  QPushButton* endBtn_ = nullptr;
  QLabel* label1_ = nullptr;
  QPushButton* addGroup_ = nullptr;
  QPushButton* delGroup_ = nullptr;
  QPushButton* renameBtn_ = nullptr;
  QPushButton* nicName_ = nullptr;
  QTableView* tbl_ = nullptr;
  GrpTblModel* model_ = nullptr;
};

}  // namespace groups
