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
#include "ui/Translate.h"
#include "editor/CardEditorWindow.h"
#include "mainwin/OutsideChangeWindow.h"
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
  QString t = ui::Tr(ui::ctx::kMain, cp932);
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
}  // namespace

MainWindow::MainWindow(StartOptions options, dlg::Dialogs* dialogs, QWidget* parent) : QMainWindow(parent) {
  if (!dialogs) {
    ownDialogs_ = std::make_unique<app::QtDialogs>(this);
    dialogs = ownDialogs_.get();
  }
  logic_ = std::make_unique<TQ7AdrMan>(*dialogs, std::move(options));
  logic_->Host = this;
  setObjectName(QStringLiteral("Q7AdrMan"));
  setWindowTitle(ui::Tr(ui::ctx::kMain, std::string_view(kAppTitle)));
  BuildWidgets();
  BuildPopup();
  resize(logic_->Width, logic_->Height);
  move(logic_->Left, logic_->Top);
}

MainWindow::~MainWindow() {
  delete keyRouter_;  // it reaches the editor
  keyRouter_ = nullptr;
  delete outsideWatcher_;  // it reads the logic
  outsideWatcher_ = nullptr;
  // The card editor and the views read the logic; let them go first.
  delete editor_;
  editor_ = nullptr;
  tbl_->setModel(nullptr);
  tree_->setModel(nullptr);
  delete gridModel_;
  delete treeModel_;
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
  endBtn_->setText(ui::Tr(ui::ctx::kMain, c.EndBtn));
  saveBtn_->setText(ui::Tr(ui::ctx::kMain, c.Save));
  reloadBtn_->setText(ui::Tr(ui::ctx::kMain, c.ReLoad));
  addAddressBtn_->setText(ui::Tr(ui::ctx::kMain, c.AddAddress));
  delAddressBtn_->setText(ui::Tr(ui::ctx::kMain, c.DelAddress));
  findBtn_->setText(ui::Tr(ui::ctx::kMain, c.FindBtn));
  groupEditBtn_->setText(ui::Tr(ui::ctx::kMain, c.GroupEdit));
  otherBtn_->setText(ui::Tr(ui::ctx::kMain, c.Other));
  label15_->setText(ui::Tr(ui::ctx::kMain, c.Label15));
  selectAllBtn_->setText(ui::Tr(ui::ctx::kMain, c.SelectAll));
  deSelectBtn_->setText(ui::Tr(ui::ctx::kMain, c.DeSelect));
  waitMsg_->setText(ui::Tr(ui::ctx::kMain, c.WaitMsg));
  label1_->setText(ui::Tr(ui::ctx::kMain, c.Label1));
  label2_->setText(ui::Tr(ui::ctx::kMain, c.Label2));
  upLabel_->setText(codec::ToQt(c.UpLabel));
  dnLabel_->setText(codec::ToQt(c.DnLabel));
  saveMenu_->setText(ui::Tr(ui::ctx::kMain, c.SaveMenu));
  reloadMenu_->setText(ui::Tr(ui::ctx::kMain, c.ReloadMenu));
  findMenu_->setText(ui::Tr(ui::ctx::kMain, c.FindMenu));
  addAddr_->setText(ui::Tr(ui::ctx::kMain, c.AddAddr));
  delAdd_->setText(ui::Tr(ui::ctx::kMain, c.DelAdd));
  saveOrder_->setText(ui::Tr(ui::ctx::kMain, c.SaveOrder));
  addGroup_->setText(ui::Tr(ui::ctx::kMain, c.AddGroup));
  groupEditMenu_->setText(ui::Tr(ui::ctx::kMain, c.GroupEditMenu));
  goPrint_->setText(ui::Tr(ui::ctx::kMain, c.GoPrint));
  textExport_->setText(ui::Tr(ui::ctx::kMain, c.TextExport));
  importBtn_->setText(ui::Tr(ui::ctx::kMain, c.ImportBtn));
  csvExport_->setText(ui::Tr(ui::ctx::kMain, c.CSV_Export));
  vcardExport_->setText(ui::Tr(ui::ctx::kMain, c.VcardExport));

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
  InstallKeyRouter();
  treeModel_->SetTree(&L.Book->Nodes);
  treeRevision_ = L.TreeRevision;
  ApplyTreeExpansion();
  RefreshFromLogic();
  tbl_->setFocus();
  outsideWatcher_ = new OutsideChangeWatcher(*this, L);
}

void MainWindow::Run(const std::function<void()>& handler) {
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

  setWindowTitle(ui::Tr(ui::ctx::kMain, L.Caption));
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
