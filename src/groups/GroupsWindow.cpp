#include "groups/GroupsWindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "groups/GrpTblModel.h"
#include "ui/Codec.h"
#include "ui/Translate.h"

namespace groups {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const std::string& caption) {
  auto* b = new QPushButton(ui::Tr(ui::ctx::kGroups, caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  // Enter belongs to the table (it edits the nickname), not to a default
  // button.
  b->setAutoDefault(false);
  b->setDefault(false);
  return b;
}

}  // namespace

GroupsWindow::GroupsWindow(TGrpView& view, QWidget* parent) : QDialog(parent), view_(view) {
  setObjectName(QStringLiteral("GrpView"));
  setWindowTitle(ui::Tr(ui::ctx::kGroups, view.Caption));
  setModal(true);

  endBtn_ = MakeButton(this, "EndBtn", view.Captions.EndBtn);
  label1_ = new QLabel(ui::Tr(ui::ctx::kGroups, view.Captions.Label1), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  addGroup_ = MakeButton(this, "AddGroup", view.Captions.AddGroup);
  delGroup_ = MakeButton(this, "DelGroup", view.Captions.DelGroup);
  renameBtn_ = MakeButton(this, "RenameBtn", view.Captions.RenameBtn);
  nicName_ = MakeButton(this, "NicName", view.Captions.NicName);

  tbl_ = new QTableView(this);
  tbl_->setObjectName(QStringLiteral("GrpTbl"));
  model_ = new GrpTblModel(view_, this);
  tbl_->setModel(model_);
  tbl_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tbl_->setSelectionMode(QAbstractItemView::SingleSelection);
  tbl_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tbl_->setTabKeyNavigation(false);
  tbl_->setWordWrap(false);
  tbl_->setShowGrid(false);
  tbl_->setAlternatingRowColors(false);
  tbl_->verticalHeader()->hide();
  tbl_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tbl_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  tbl_->horizontalHeader()->setStretchLastSection(true);
  tbl_->horizontalHeader()->setSectionsClickable(false);
  tbl_->horizontalHeader()->setHighlightSections(false);
  // The selected row stays marked while a button has the focus.
  QPalette pal = tbl_->palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  tbl_->setPalette(pal);
  tbl_->installEventFilter(this);

  // The group buttons stand in a column beside the table, so that the
  // dialog fits over a narrow grid.
  auto* side = new QVBoxLayout;
  side->addWidget(label1_);
  for (QPushButton* b : {addGroup_, delGroup_, renameBtn_, nicName_}) side->addWidget(b);
  side->addStretch(1);
  side->addWidget(endBtn_);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->addLayout(side);
  outer->addWidget(tbl_, 1);
  tbl_->setMinimumWidth(160);

  // Tab order: the table first (it holds the selection the buttons act on).
  setTabOrder(tbl_, addGroup_);
  setTabOrder(addGroup_, delGroup_);
  setTabOrder(delGroup_, renameBtn_);
  setTabOrder(renameBtn_, nicName_);
  setTabOrder(nicName_, endBtn_);

  connect(endBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(addGroup_, &QPushButton::clicked, this, [this] { Run([this] { view_.AddGroupClick(); }); });
  connect(delGroup_, &QPushButton::clicked, this, [this] { Run([this] { view_.DelGroupClick(); }); });
  connect(renameBtn_, &QPushButton::clicked, this, [this] { Run([this] { view_.RenameBtnClick(); }); });
  connect(nicName_, &QPushButton::clicked, this, [this] { Run([this] { view_.NicEditClick(); }); });
  connect(tbl_, &QTableView::doubleClicked, this, [this] { Run([this] { view_.NicEditClick(); }); });

  revision_ = view_.Revision;
  treeRevision_ = view_.TreeRevision;
  FitColumns();
  RefreshFromLogic();
  resize(std::max(sizeHint().width(), 420), 400);
}

template <typename F>
void GroupsWindow::Run(F&& handler) {
  const QModelIndex cur = tbl_->currentIndex();
  view_.ItemIndex = cur.isValid() ? cur.row() : -1;
  handler();
  RefreshFromLogic();
}

void GroupsWindow::FitColumns() {
  // Columns 0 to 2 fit their content and title; "Edit" is narrow.
  for (int c = 0; c < 3; ++c) tbl_->resizeColumnToContents(c);
  const int editTitle =
      tbl_->horizontalHeader()->fontMetrics().horizontalAdvance(ui::TrText(ui::ctx::kGroups, QStringLiteral("Edit"))) +
      16;
  tbl_->setColumnWidth(3, std::max(view_.ColWidths[3], editTitle));
}

void GroupsWindow::RefreshFromLogic() {
  if (view_.Revision != revision_) {
    model_->Reset();
    revision_ = view_.Revision;
  } else {
    model_->TextChanged();
  }
  FitColumns();
  const int r = view_.ItemIndex;
  if (r >= 0 && r < model_->rowCount()) {
    const QModelIndex idx = model_->index(r, 1);
    tbl_->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tbl_->scrollTo(idx);
  }
  tbl_->setFocus();
  if (view_.TreeRevision != treeRevision_) {
    treeRevision_ = view_.TreeRevision;
    emit treeChanged();
  }
}

bool GroupsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tbl_ && event->type() == QEvent::KeyPress) {
    const auto* ke = static_cast<QKeyEvent*>(event);
    if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) && !(ke->modifiers() & Qt::AltModifier)) {
      Run([this] { view_.NicEditClick(); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace groups
