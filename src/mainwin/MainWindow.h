// The main window: shows the members of mainwin::TQ7AdrMan (buttons, group
// tree, counts, address grid, popup menu) and turns user events into its
// handlers, refreshing from the members after each one. It owns nothing of
// the book.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

#include "mainwin/MainFormLogic.h"

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTableView;
class QToolButton;
class QTreeView;

namespace app {
class QtDialogs;
}
namespace editor {
class CardEditorWindow;
}

namespace mainwin {

class AddressGridModel;
class GroupTreeModel;
class OutsideChangeWatcher;

class MainWindow : public QMainWindow, private MainHost {
  Q_OBJECT
 public:
  // dialogs: where the logic's questions go; nullptr for Qt's dialogs.
  explicit MainWindow(StartOptions options = {}, dlg::Dialogs* dialogs = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  TQ7AdrMan& logic() { return *logic_; }
  editor::CardEditorWindow* cardEditor() const { return editor_; }
  QTreeView* groupTree() const { return tree_; }
  QTableView* grid() const { return tbl_; }
  QMenu* popupMenu() const { return popup_; }
  GroupTreeModel* groupTreeModel() const { return treeModel_; }
  // The live notice of other programs' changes (exists once started).
  OutsideChangeWatcher* outsideChangeWatcher() const { return outsideWatcher_; }
  AddressGridModel* gridModel() const { return gridModel_; }

  // Members -> widgets, then the focus the last handler asked for.
  void RefreshFromLogic();
  // Gives the address grid the keyboard focus (and this window the
  // activation).
  void FocusGrid();
  // F6 (MainWindowKeys.cpp): the focus goes to the card editor, shown and
  // raised as Enter on the grid does, back where it was in it; and from
  // the editor back to this window's tree or grid.
  void FocusEditor();
  void FocusMain();
  // This window's visible, enabled button whose &-letter is Alt+key.
  QAbstractButton* AcceleratorButton(int key) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WaitShown() override;
  void CloseRequested() override;
  void ShowSearchDialog(search::TSearchDlg& dialog) override;
  void ShowGroupDialog(groups::TGrpView& dialog) override;
  void ShowOptionDialog(options::TOptionSet& dialog) override;
  void ShowImportDialog(imp::TImportForm& dialog) override;
  void ShowPrintSetup(print::TPrintSetup& setup) override;

  void BuildWidgets();
  void BuildPopup();
  void InstallKeyRouter();
  void Start();
  // Runs one handler of the logic with the card editor's pending edits
  // taken over first, then refreshes.
  void Run(const std::function<void()>& handler);
  void ApplyColumnWidths();
  void FitFixedColumn();
  void StoreGeometry();
  void ApplyTreeExpansion();
  void OnGridCurrentChanged(int gridRow, store::TAddrRec* card, std::uint64_t revision);

  std::unique_ptr<app::QtDialogs> ownDialogs_;
  std::unique_ptr<TQ7AdrMan> logic_;
  bool started_ = false;
  bool updating_ = false;
  bool headerPressed_ = false;  // a mouse button is down on the grid's titles
  std::uint64_t treeRevision_ = 0;
  std::uint64_t gridRevision_ = 0;
  int shownRow_ = -1;                       // the grid's current row as last shown
  const store::TAddrRec* shownCard_ = nullptr;  // and its card

  QPushButton* endBtn_ = nullptr;
  QPushButton* saveBtn_ = nullptr;
  QPushButton* reloadBtn_ = nullptr;
  QPushButton* addAddressBtn_ = nullptr;
  QPushButton* delAddressBtn_ = nullptr;
  QPushButton* findBtn_ = nullptr;
  QPushButton* groupEditBtn_ = nullptr;
  QPushButton* otherBtn_ = nullptr;
  QPushButton* selectAllBtn_ = nullptr;
  QPushButton* deSelectBtn_ = nullptr;
  QLabel* label15_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* subTot_ = nullptr;
  QLabel* total_ = nullptr;
  QWidget* leftPanel_ = nullptr;
  QWidget* upDownPnl_ = nullptr;
  QToolButton* upLabel_ = nullptr;
  QToolButton* dnLabel_ = nullptr;
  QTreeView* tree_ = nullptr;
  QTableView* tbl_ = nullptr;
  QLabel* waitMsg_ = nullptr;
  QStackedWidget* gridStack_ = nullptr;
  GroupTreeModel* treeModel_ = nullptr;
  AddressGridModel* gridModel_ = nullptr;

  QMenu* popup_ = nullptr;
  QAction* sendMail_ = nullptr;
  QAction* sendGroupMail_ = nullptr;
  QAction* saveMenu_ = nullptr;
  QAction* reloadMenu_ = nullptr;
  QAction* findMenu_ = nullptr;
  QAction* addAddr_ = nullptr;
  QAction* delAdd_ = nullptr;
  QAction* saveOrder_ = nullptr;
  QAction* addGroup_ = nullptr;
  QAction* groupEditMenu_ = nullptr;
  QAction* goPrint_ = nullptr;
  QAction* textExport_ = nullptr;
  QAction* importBtn_ = nullptr;
  QAction* csvExport_ = nullptr;
  QAction* vcardExport_ = nullptr;

  editor::CardEditorWindow* editor_ = nullptr;
  OutsideChangeWatcher* outsideWatcher_ = nullptr;
  QObject* keyRouter_ = nullptr;  // F6 and the accelerators across both windows
  friend class OutsideChangeWatcher;  // merges through Run
};

}  // namespace mainwin
