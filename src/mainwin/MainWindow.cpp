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

namespace mainwin {
namespace {

// Captions of popup entries are plain text; '&' must not become a mnemonic.
QString MenuText(const std::string& cp932) {
  QString t = codec::ToQt(cp932);
  t.replace(QChar('&'), QStringLiteral("&&"));
  return t;
}

// The character a key press types, as the logic's key handlers take it:
// CR for Enter, the byte of a printable ASCII character, 0 for anything
// else that types text, and nothing for keys that type no text.
std::optional<char> TypedChar(const QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return '\r';
  if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
  const QString text = e->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return std::nullopt;
  const char16_t c = text.at(0).unicode();
  return c < 0x80 ? static_cast<char>(c) : '\0';
}

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

MainWindow::MainWindow(StartOptions options, dlg::Dialogs* dialogs, QWidget* parent) : QMainWindow(parent) {
  if (!dialogs) {
    ownDialogs_ = std::make_unique<app::QtDialogs>(this);
    dialogs = ownDialogs_.get();
  }
  logic_ = std::make_unique<TQ7AdrMan>(*dialogs, std::move(options));
  logic_->Host = this;
  setObjectName(QStringLiteral("Q7AdrMan"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  BuildWidgets();
  BuildPopup();
  resize(logic_->Width, logic_->Height);
  move(logic_->Left, logic_->Top);
}

MainWindow::~MainWindow() {
  // The card editor and the views read the logic; let them go first.
  delete editor_;
  editor_ = nullptr;
  tbl_->setModel(nullptr);
  tree_->setModel(nullptr);
  delete gridModel_;
  delete treeModel_;
}

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
  left->addWidget(tree_, 1);

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
  splitter->addWidget(gridStack_);
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

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!started_) Start();
}

void MainWindow::Start() {
  TQ7AdrMan& L = *logic_;
  L.FormCreate();
  started_ = true;

  const MainCaptions& c = L.Captions;
  endBtn_->setText(codec::ToQt(c.EndBtn));
  saveBtn_->setText(codec::ToQt(c.Save));
  reloadBtn_->setText(codec::ToQt(c.ReLoad));
  addAddressBtn_->setText(codec::ToQt(c.AddAddress));
  delAddressBtn_->setText(codec::ToQt(c.DelAddress));
  findBtn_->setText(codec::ToQt(c.FindBtn));
  groupEditBtn_->setText(codec::ToQt(c.GroupEdit));
  otherBtn_->setText(codec::ToQt(c.Other));
  label15_->setText(codec::ToQt(c.Label15));
  selectAllBtn_->setText(codec::ToQt(c.SelectAll));
  deSelectBtn_->setText(codec::ToQt(c.DeSelect));
  waitMsg_->setText(codec::ToQt(c.WaitMsg));
  label1_->setText(codec::ToQt(c.Label1));
  label2_->setText(codec::ToQt(c.Label2));
  upLabel_->setText(codec::ToQt(c.UpLabel));
  dnLabel_->setText(codec::ToQt(c.DnLabel));
  saveMenu_->setText(codec::ToQt(c.SaveMenu));
  reloadMenu_->setText(codec::ToQt(c.ReloadMenu));
  findMenu_->setText(codec::ToQt(c.FindMenu));
  addAddr_->setText(codec::ToQt(c.AddAddr));
  delAdd_->setText(codec::ToQt(c.DelAdd));
  saveOrder_->setText(codec::ToQt(c.SaveOrder));
  addGroup_->setText(codec::ToQt(c.AddGroup));
  groupEditMenu_->setText(codec::ToQt(c.GroupEditMenu));
  goPrint_->setText(codec::ToQt(c.GoPrint));
  textExport_->setText(codec::ToQt(c.TextExport));
  importBtn_->setText(codec::ToQt(c.ImportBtn));
  csvExport_->setText(codec::ToQt(c.CSV_Export));
  vcardExport_->setText(codec::ToQt(c.VcardExport));

  // The stored geometry, kept on the screen.
  QRect want(L.Left, L.Top, L.Width, L.Height);
  if (const QScreen* s = screen()) {
    const QRect avail = s->availableGeometry();
    want.setWidth(std::min(want.width(), avail.width()));
    want.setHeight(std::min(want.height(), avail.height()));
    if (!avail.intersects(want.adjusted(0, 0, -want.width() / 2, -want.height() / 2)))
      want.moveTopLeft(avail.topLeft());
  }
  resize(want.size());
  move(want.topLeft());

  editor_ = new editor::CardEditorWindow(L, this);
  connect(editor_, &editor::CardEditorWindow::logicChanged, this, &MainWindow::RefreshFromLogic);
  connect(editor_, &editor::CardEditorWindow::gridFocusRequested, this, &MainWindow::FocusGrid);
  treeModel_->SetTree(&L.Book->Nodes);
  treeRevision_ = L.TreeRevision;
  ApplyTreeExpansion();
  RefreshFromLogic();
  tbl_->setFocus();
}

template <typename F>
void MainWindow::Run(F&& handler) {
  if (!started_) return;
  if (editor_) editor_->TakeOverPending();
  handler();
  RefreshFromLogic();
}

void MainWindow::OnGridCurrentChanged(int gridRow, store::TAddrRec* card, std::uint64_t revision) {
  if (!started_) return;
  // Taking the editor's page over may re-sort the grid; the row chosen is
  // then found again by its card.
  if (editor_) editor_->TakeOverPending();
  TQ7AdrMan& L = *logic_;
  int row = gridRow;
  if (L.Tbl.Revision() != revision) {
    row = -1;
    for (int r = 1; card && r < L.Tbl.RowCount(); ++r)
      if (L.Tbl.CardAt(r) == card) {
        row = r;
        break;
      }
  }
  if (row > 0 && row != L.Tbl.Row) L.TblSelectCell(row);
  RefreshFromLogic();
}

void MainWindow::ApplyTreeExpansion() {
  const bool was = updating_;
  updating_ = true;
  for (const store::TreeNode* n : logic_->Book->Nodes.InOrder())
    if (n->HasChildren()) tree_->setExpanded(treeModel_->IndexOf(n), n->Expanded);
  updating_ = was;
}

void MainWindow::FitFixedColumn() {
  // Column 0 is narrow by design; it still has to show the largest position.
  int digits = 1;
  for (std::size_t n = logic_->SourceCount(); n >= 10; n /= 10) ++digits;
  const QFontMetrics fm = tbl_->fontMetrics();
  const int need = fm.horizontalAdvance(QString(digits, QChar('0'))) + 10;
  const int header = tbl_->horizontalHeader()->fontMetrics().horizontalAdvance(
                         codec::ToQt(logic_->Tbl.Titles[0])) + 10;
  const int w = std::max({kFixedColWidth, need, header});
  if (logic_->Tbl.ColWidths[0] != w) {
    logic_->Tbl.ColWidths[0] = w;
    logic_->FormResize();
  }
}

void MainWindow::ApplyColumnWidths() {
  QHeaderView* header = tbl_->horizontalHeader();
  for (int c = 0; c < kGridColumns; ++c) {
    const int w = std::max(logic_->Tbl.ColWidths[static_cast<std::size_t>(c)], 5);
    if (header->sectionSize(c) != w) header->resizeSection(c, w);
  }
}

void MainWindow::RefreshFromLogic() {
  if (!started_) return;
  TQ7AdrMan& L = *logic_;
  const bool was = updating_;
  updating_ = true;

  setWindowTitle(codec::ToQt(L.Caption));
  if (isEnabled() != L.Enabled) setEnabled(L.Enabled);

  // Tree.
  if (L.TreeRevision != treeRevision_) {
    treeModel_->Reset();
    treeRevision_ = L.TreeRevision;
    ApplyTreeExpansion();
  } else {
    treeModel_->ImagesChanged();
  }
  const QModelIndex sel = treeModel_->IndexOf(L.Selected);
  if (sel.isValid() && tree_->currentIndex() != sel)
    tree_->selectionModel()->setCurrentIndex(sel, QItemSelectionModel::ClearAndSelect);

  // Grid.
  const bool rebuilt = L.Tbl.Revision() != gridRevision_;
  // A rebuild that keeps the same card on the same row (the editor's
  // take-over, say) must not scroll: the user may be pointing at a row.
  const bool sameSpot = L.Tbl.Row == shownRow_ && L.Tbl.CardAt(L.Tbl.Row) == shownCard_;
  const int scroll = tbl_->verticalScrollBar()->value();
  if (rebuilt) {
    gridModel_->Reset();
    gridRevision_ = L.Tbl.Revision();
    FitFixedColumn();
  } else {
    gridModel_->RowChanged(L.Tbl.Row);
  }
  gridModel_->TitlesChanged();
  ApplyColumnWidths();
  const int r = L.Tbl.Row - 1;
  if (r >= 0 && r < gridModel_->rowCount()) {
    const QModelIndex cur = tbl_->currentIndex();
    const int col = cur.isValid() ? cur.column() : 1;
    if (!cur.isValid() || cur.row() != r || rebuilt) {
      const QModelIndex idx = gridModel_->index(r, col);
      tbl_->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
      if (rebuilt && sameSpot)
        tbl_->verticalScrollBar()->setValue(scroll);
      else
        tbl_->scrollTo(idx);
    }
  }
  shownRow_ = L.Tbl.Row;
  shownCard_ = L.Tbl.CardAt(L.Tbl.Row);
  gridStack_->setCurrentWidget(L.TblVisible ? static_cast<QWidget*>(tbl_) : waitMsg_);

  // Counts, the arrows, the popup entries.
  subTot_->setText(codec::ToQt(L.SubTot));
  total_->setText(codec::ToQt(L.Total));
  upDownPnl_->setVisible(L.UpDownPnlVisible);
  saveOrder_->setEnabled(L.SaveOrderEnabled);
  csvExport_->setEnabled(L.CsvExportEnabled);
  sendMail_->setText(MenuText(L.SendMailCaption));
  sendGroupMail_->setText(MenuText(L.SendGroupMailCaption));

  if (editor_) editor_->RefreshFromLogic();
  updating_ = was;

  const FocusTarget focus = L.FocusRequest;
  L.FocusRequest = FocusTarget::None;
  switch (focus) {
    case FocusTarget::None:
      break;
    case FocusTarget::Grid:
      FocusGrid();
      break;
    case FocusTarget::TreeRepaint:
      tree_->viewport()->update();
      tree_->setFocus();
      break;
    case FocusTarget::EditorAddr:
      if (editor_) editor_->FocusAddr();
      break;
  }
}

void MainWindow::FocusGrid() {
  activateWindow();
  raise();
  tbl_->setFocus();
}

void MainWindow::StoreGeometry() {
  if (!started_ || isMaximized() || isMinimized() || isFullScreen()) return;
  logic_->Left = x();
  logic_->Top = y();
  logic_->Width = width();
  logic_->Height = height();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  StoreGeometry();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  StoreGeometry();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!started_ || logic_->Closed) {
    event->accept();
    return;
  }
  if (editor_) editor_->TakeOverPending();
  if (!logic_->FormCloseQuery()) {
    event->ignore();
    RefreshFromLogic();
    return;
  }
  StoreGeometry();
  if (editor_) editor_->StoreGeometry();
  logic_->FormClose();
  RefreshFromLogic();
  event->accept();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (!started_) return;
  // A right click on the grid has just chosen a row; let the editor follow
  // it before the popup names the card.
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  QPoint at = event->globalPos();
  if (event->reason() == QContextMenuEvent::Keyboard && tbl_->hasFocus() && tbl_->currentIndex().isValid()) {
    const QRect r = tbl_->visualRect(tbl_->currentIndex());
    at = tbl_->viewport()->mapToGlobal(r.bottomLeft());
  }
  popup_->exec(at);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!started_) return QMainWindow::eventFilter(watched, event);
  const QEvent::Type type = event->type();

  if (watched == tbl_->viewport() && type == QEvent::Resize) {
    // Only a change of width spreads the columns anew, and not while a
    // column border is being dragged (a scroll bar coming and going must
    // not undo the drag).
    const int w = tbl_->viewport()->width();
    if (w != logic_->TblClientWidth && !headerPressed_) {
      logic_->TblClientWidth = w;
      logic_->FormResize();
      ApplyColumnWidths();
    }
  } else if (watched == tbl_->horizontalHeader()->viewport() && type == QEvent::MouseButtonPress) {
    headerPressed_ = true;
  } else if (watched == tbl_->horizontalHeader()->viewport() && type == QEvent::MouseButtonRelease) {
    headerPressed_ = false;
    // A column border may have been dragged: the logic spreads the widths.
    QTimer::singleShot(0, this, [this] {
      logic_->TblClientWidth = tbl_->viewport()->width();
      QHeaderView* header = tbl_->horizontalHeader();
      for (int c = 0; c < kGridColumns; ++c) logic_->Tbl.ColWidths[static_cast<std::size_t>(c)] = header->sectionSize(c);
      logic_->TblMouseUp(0);
      ApplyColumnWidths();
    });
  } else if (watched == tbl_ && type == QEvent::KeyPress) {
    // The grid is read-only: typed characters do nothing (no type-ahead).
    // Enter goes to the card editor, so that a card can be edited without
    // the mouse (its OK, Alt+K, comes back).
    const auto* ke = static_cast<QKeyEvent*>(event);
    if (auto ch = TypedChar(ke)) {
      if (*ch == '\r' && editor_ && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        editor_->FocusAddr();
      return true;
    }
  } else if (watched == tree_ && type == QEvent::KeyPress) {
    const auto* ke = static_cast<QKeyEvent*>(event);
    // Keypad +, - and * still open and close branches.
    if (ke->modifiers() & Qt::KeypadModifier &&
        (ke->key() == Qt::Key_Plus || ke->key() == Qt::Key_Minus || ke->key() == Qt::Key_Asterisk))
      return QMainWindow::eventFilter(watched, event);
    if (auto ch = TypedChar(ke)) {
      const char key = *ch;
      Run([this, key] {
        if (store::TreeNode* node = treeModel_->NodeAt(tree_->currentIndex())) logic_->Selected = node;
        logic_->GroupTreeKeyPress(key);
      });
      return true;
    }
  } else if (watched == tree_->viewport() && type == QEvent::MouseButtonPress) {
    const auto* me = static_cast<QMouseEvent*>(event);
    if (me->button() == Qt::RightButton) {
      if (store::TreeNode* node = treeModel_->NodeAt(tree_->indexAt(me->position().toPoint())))
        Run([this, node] { logic_->GroupTreeMouseDown(node); });
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::WaitShown() {
  gridStack_->setCurrentWidget(waitMsg_);
  waitMsg_->repaint();
}

void MainWindow::ShowSearchDialog(search::TSearchDlg& dialog) {
  search::SearchWindow w(dialog, this);
  w.exec();
}

void MainWindow::ShowGroupDialog(groups::TGrpView& dialog) {
  groups::GroupsWindow w(dialog, this);
  ui::PlaceOverGrid(&w, this, gridStack_);
  // Every change of the tree is in the main window's members at once; the
  // tree view must not keep pointing at a deleted node while the dialog is
  // open.
  connect(&w, &groups::GroupsWindow::treeChanged, this, &MainWindow::RefreshFromLogic);
  w.exec();
}

void MainWindow::ShowOptionDialog(options::TOptionSet& dialog) {
  options::OptionsWindow w(dialog, this);
  ui::PlaceOverGrid(&w, this, gridStack_);
  w.exec();
}

void MainWindow::ShowPrintSetup(print::TPrintSetup& setup) {
  print::PrintSetupWindow w(setup, this);
  ui::PlaceOverGrid(&w, this, gridStack_);
  w.exec();
}

void MainWindow::ShowImportDialog(imp::TImportForm& dialog) {
  imp::ImportWindow w(dialog, this);
  ui::PlaceOverGrid(&w, this, gridStack_);
  // Each run adds groups and cards: the tree and the grid follow at once.
  connect(&w, &imp::ImportWindow::imported, this, &MainWindow::RefreshFromLogic);
  w.exec();
}

void MainWindow::CloseRequested() {
  // Not from inside the handler: the close question runs its own handlers.
  QTimer::singleShot(0, this, [this] { close(); });
}

}  // namespace mainwin
