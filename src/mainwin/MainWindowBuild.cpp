// Building the main window: its buttons, tree, grid and popup menu.
#include "mainwin/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Codec.h"
#include "ui/QtDialogs.h"
#include "ui/QtImages.h"
#include "editor/CardEditorWindow.h"
#include "editor/ViewLogic.h"
#include "mainwin/AddressGridModel.h"
#include "mainwin/GroupTreeModel.h"
#include "search/SearchWindow.h"
#include "groups/GroupsWindow.h"
#include "import/ImportWindow.h"
#include "print/PrintSetupWindow.h"
#include "options/OptionsWindow.h"
#include "ui/OverGrid.h"
#include "ui/QtAppearance.h"

namespace mainwin {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

void MainWindow::BuildWidgets() {
  auto* central = new QWidget(this);
  auto* outer = new QHBoxLayout(central);
  outer->setContentsMargins(4, 4, 4, 4);
  auto* splitter = new QSplitter(Qt::Horizontal, central);
  splitter->setChildrenCollapsible(false);
  outer->addWidget(splitter);

  // Left panel: the command buttons, the group tree and the counts.
  leftPanel_ = new QWidget(splitter);
  leftPanel_->setObjectName(QStringLiteral("LeftPanel"));
  auto* left = new QVBoxLayout(leftPanel_);
  left->setContentsMargins(0, 0, 4, 0);
  left->setSpacing(3);
  endBtn_ = MakeButton(leftPanel_, "EndBtn");
  saveBtn_ = MakeButton(leftPanel_, "Save");
  reloadBtn_ = MakeButton(leftPanel_, "ReLoad");
  addAddressBtn_ = MakeButton(leftPanel_, "AddAddress");
  delAddressBtn_ = MakeButton(leftPanel_, "DelAddress");
  findBtn_ = MakeButton(leftPanel_, "FindBtn");
  groupEditBtn_ = MakeButton(leftPanel_, "GroupEdit");
  otherBtn_ = MakeButton(leftPanel_, "Other");
  auto* buttons = new QGridLayout;
  buttons->setSpacing(3);
  QPushButton* const order[] = {endBtn_, saveBtn_, reloadBtn_, addAddressBtn_,
                                delAddressBtn_, findBtn_, groupEditBtn_, otherBtn_};
  for (int i = 0; i < 8; ++i) buttons->addWidget(order[i], i / 2, i % 2);
  left->addLayout(buttons);

  label15_ = new QLabel(leftPanel_);
  label15_->setObjectName(QStringLiteral("Label15"));
  left->addSpacing(4);
  left->addWidget(label15_);
  auto* selRow = new QHBoxLayout;
  selectAllBtn_ = MakeButton(leftPanel_, "SelectAll");
  deSelectBtn_ = MakeButton(leftPanel_, "DeSelect");
  selRow->addWidget(selectAllBtn_);
  selRow->addWidget(deSelectBtn_);
  left->addLayout(selRow);

  tree_ = new QTreeView(leftPanel_);
  tree_->setObjectName(QStringLiteral("GroupTree"));
  tree_->setHeaderHidden(true);
  tree_->setIndentation(18);
  tree_->setIconSize(QSize(images::kImageSize, images::kImageSize));
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setUniformRowHeights(true);
  tree_->setMinimumWidth(140);
  treeModel_ = new GroupTreeModel(this);
  tree_->setModel(treeModel_);
  tree_->installEventFilter(this);
  tree_->viewport()->installEventFilter(this);
  auto* treeFrame = new app::FocusFrame(leftPanel_);
  treeFrame->setObjectName(QStringLiteral("GroupTreeFrame"));
  treeFrame->setContent(tree_);
  left->addWidget(treeFrame, 1);

  auto* counts = new QGridLayout;
  counts->setHorizontalSpacing(6);
  label1_ = new QLabel(leftPanel_);
  label1_->setObjectName(QStringLiteral("Label1"));
  label2_ = new QLabel(leftPanel_);
  label2_->setObjectName(QStringLiteral("Label2"));
  subTot_ = new QLabel(leftPanel_);
  subTot_->setObjectName(QStringLiteral("SubTot"));
  total_ = new QLabel(leftPanel_);
  total_->setObjectName(QStringLiteral("Total"));
  // The counts come right-aligned in six characters; a fixed pitch keeps
  // them lined up.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (QLabel* l : {subTot_, total_}) {
    l->setFont(fixed);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  counts->addWidget(label1_, 0, 0);
  counts->addWidget(subTot_, 0, 1);
  counts->addWidget(label2_, 1, 0);
  counts->addWidget(total_, 1, 1);
  counts->setColumnStretch(2, 1);

  upDownPnl_ = new QWidget(leftPanel_);
  upDownPnl_->setObjectName(QStringLiteral("UpDownPnl"));
  auto* ud = new QVBoxLayout(upDownPnl_);
  ud->setContentsMargins(0, 0, 0, 0);
  ud->setSpacing(2);
  upLabel_ = new QToolButton(upDownPnl_);
  upLabel_->setObjectName(QStringLiteral("UpLabel"));
  dnLabel_ = new QToolButton(upDownPnl_);
  dnLabel_->setObjectName(QStringLiteral("DnLabel"));
  for (QToolButton* b : {upLabel_, dnLabel_}) {
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);  // the grid keeps the focus
    b->setAutoRepeat(true);
    ud->addWidget(b);
  }
  upDownPnl_->setVisible(false);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(counts, 1);
  bottom->addWidget(upDownPnl_);
  left->addLayout(bottom);

  // Right: the address grid, with "Wait a moment" behind it.
  gridStack_ = new QStackedWidget(splitter);
  tbl_ = new QTableView(gridStack_);
  tbl_->setObjectName(QStringLiteral("Tbl"));
  gridModel_ = new AddressGridModel(logic_->Tbl, this);
  tbl_->setModel(gridModel_);
  tbl_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tbl_->setSelectionMode(QAbstractItemView::SingleSelection);
  tbl_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tbl_->setTabKeyNavigation(false);
  tbl_->setWordWrap(false);
  tbl_->setSortingEnabled(false);
  tbl_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  tbl_->verticalHeader()->hide();
  tbl_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tbl_->verticalHeader()->setDefaultSectionSize(std::max(kDefaultRowHeight, fontMetrics().height() + 4));
  QHeaderView* header = tbl_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setMinimumSectionSize(5);
  header->viewport()->installEventFilter(this);
  tbl_->viewport()->installEventFilter(this);
  tbl_->installEventFilter(this);
  gridStack_->addWidget(tbl_);
  waitMsg_ = new QLabel(gridStack_);
  waitMsg_->setObjectName(QStringLiteral("WaitMsg"));
  waitMsg_->setAlignment(Qt::AlignCenter);
  QFont big = waitMsg_->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  waitMsg_->setFont(big);
  gridStack_->addWidget(waitMsg_);
  gridStack_->setCurrentWidget(tbl_);

  splitter->addWidget(leftPanel_);
  auto* gridFrame = new app::FocusFrame(splitter);
  gridFrame->setObjectName(QStringLiteral("TblFrame"));
  gridFrame->setContent(gridStack_);
  splitter->addWidget(gridFrame);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({200, 440});
  setCentralWidget(central);

  // Events -> handlers.
  connect(endBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->EndBtnClick(); }); });
  connect(saveBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->SaveClick(); }); });
  connect(reloadBtn_, &QPushButton::clicked, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Run([this] { logic_->ReLoadClick(); });
    QApplication::restoreOverrideCursor();
  });
  connect(addAddressBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->AddAddressClick(); }); });
  connect(delAddressBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->DelAddressClick(); }); });
  connect(groupEditBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->GroupEditClick(); }); });
  connect(otherBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->OtherClick(); }); });
  connect(findBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->FindBtnClick(); }); });
  connect(selectAllBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->SelectAllClick(); }); });
  connect(deSelectBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_->DeSelectClick(); }); });
  connect(upLabel_, &QToolButton::clicked, this, [this] { Run([this] { logic_->UpLabelClick(); }); });
  connect(dnLabel_, &QToolButton::clicked, this, [this] { Run([this] { logic_->DnLabelClick(); }); });

  connect(tree_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    store::TreeNode* node = treeModel_->NodeAt(index);
    if (!node) return;
    Run([this, node] {
      logic_->Selected = node;
      logic_->GroupTreeDblClick();
    });
  });
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (updating_ || !started_) return;
            if (store::TreeNode* node = treeModel_->NodeAt(current)) logic_->Selected = node;
          });
  connect(tree_, &QTreeView::expanded, this, [this](const QModelIndex& index) {
    if (store::TreeNode* node = treeModel_->NodeAt(index)) node->Expanded = true;
  });
  connect(tree_, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
    if (store::TreeNode* node = treeModel_->NodeAt(index)) node->Expanded = false;
  });

  connect(tbl_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (updating_ || !started_ || !current.isValid()) return;
            // Run after the view has finished with the mouse or key event:
            // the handler may rebuild the grid under it.
            const int gridRow = current.row() + 1;
            store::TAddrRec* card = logic_->Tbl.CardAt(gridRow);
            const std::uint64_t revision = logic_->Tbl.Revision();
            QMetaObject::invokeMethod(
                this, [this, gridRow, card, revision] { OnGridCurrentChanged(gridRow, card, revision); },
                Qt::QueuedConnection);
          });
  connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
    Run([this, section] { logic_->TblTitleClick(section); });
  });
}

void MainWindow::BuildPopup() {
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("MainPopup"));
  auto add = [this](const char* name, auto handler) {
    QAction* a = popup_->addAction(QString());
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, [this, handler] { Run([this, handler] { (logic_.get()->*handler)(); }); });
    return a;
  };
  sendMail_ = add("SendMail", &TQ7AdrMan::SendMailClick);
  sendGroupMail_ = add("SendGroupMail", &TQ7AdrMan::SendGroupMailClick);
  saveMenu_ = add("SaveMenu", &TQ7AdrMan::SaveClick);
  reloadMenu_ = add("ReloadMenu", &TQ7AdrMan::ReLoadClick);
  findMenu_ = add("FindMenu", &TQ7AdrMan::FindBtnClick);
  addAddr_ = add("AddAddr", &TQ7AdrMan::AddAddressClick);
  delAdd_ = add("DelAdd", &TQ7AdrMan::DelAddressClick);
  saveOrder_ = add("SaveOrder", &TQ7AdrMan::SaveOrderClick);
  addGroup_ = add("AddGroup", &TQ7AdrMan::AddGroupClick);
  groupEditMenu_ = add("GroupEditMenu", &TQ7AdrMan::GroupEditClick);
  goPrint_ = add("GoPrint", &TQ7AdrMan::GoPrintClick);
  textExport_ = add("TextExport", &TQ7AdrMan::TextExportClick);
  importBtn_ = add("ImportBtn", &TQ7AdrMan::ImportClick);
  csvExport_ = add("CSV_Export", &TQ7AdrMan::CsvExportClick);
  vcardExport_ = add("VcardExport", &TQ7AdrMan::VcardExportClick);
  saveOrder_->setEnabled(false);
  connect(popup_, &QMenu::aboutToShow, this, [this] { Run([this] { logic_->MainPopupPopup(); }); });
}

}  // namespace mainwin
