// The main window's logic: TQ7AdrMan without Qt.
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// Ownership. MainWindow owns one TQ7AdrMan (constructed with the Qt
// Dialogs implementation and the command-line arguments), and shows its
// members; it owns nothing of the book. TQ7AdrMan owns the book (`Book`) and
// the card editor's logic (`View`, an editor::TView, see editor/ViewLogic.h)
// which CardEditorWindow mirrors.
//
// Start. On the first show call FormCreate() once. Afterwards read: the
// geometry (Left/Top/Width/Height, View->Left..., View->GroupPnlWidth,
// Tbl.ColWidths), the captions (`Captions`, View->Captions), the tree
// (Book->Nodes), the grid (Tbl), SubTot/Total, UpDownPnlVisible and
// SaveOrderEnabled. Then set TblClientWidth (the grid viewport width in
// pixels) and call FormResize().
//
// Controls -> members (everything CP932; convert at the Qt boundary):
//   window caption            Caption
//   GroupTree                 Book->Nodes (store::GroupTree): caption, level,
//                             ImageIndex (0 unchecked, 1 checked, 2 top-level
//                             folder; treat any other value as unchecked),
//                             Expanded; the selected node is `Selected`
//   Tbl (address grid)        Tbl: Tbl.RowCount() rows including the title
//                             row 0, Tbl.Cell(row, col) for col 0..4, the
//                             current row Tbl.Row, Tbl.ColWidths[0..4]
//   SubTot, Total             SubTot, Total (already right-aligned, 6 chars)
//   UpDownPnl visible         UpDownPnlVisible
//   SaveOrder enabled         SaveOrderEnabled (CSV_Export: CsvExportEnabled)
//   SendMail/SendGroupMail    SendMailCaption, SendGroupMailCaption (set by
//                             MainPopupPopup)
//   Tbl visible / WaitMsg     TblVisible (false only inside ReLoadClick)
//   other captions            Captions.<control name>
//   window enabled            Enabled
//
// Events -> handlers:
//   grid row chosen (click, keys)      TblSelectCell(row)
//   grid title clicked at column c     TblTitleClick(c)   (or TblMouseDown)
//   column border dragged (mouse up)   write Tbl.ColWidths, TblMouseUp(y)
//   window / grid resized              set TblClientWidth, FormResize()
//   tree click, Enter in the tree      set Selected, GroupTreeDblClick()
//                                      (keys: GroupTreeKeyPress(ch) returns
//                                      true = swallow the key)
//   right click on a tree node         GroupTreeMouseDown(node) (selects it)
//   tree node expanded/collapsed       write node->Expanded
//   Select All / DeSelect              SelectAllClick() / DeSelectClick()
//   UpLabel / DnLabel (and Alt+U/L)    UpLabelClick() / DnLabelClick()
//   popup about to show                MainPopupPopup()
//   popup entries / buttons            SendMailClick, SendGroupMailClick,
//                                      SaveClick, ReLoadClick,
//                                      AddAddressClick, DelAddressClick,
//                                      SaveOrderClick, AddGroupClick,
//                                      EndBtnClick
//   Find(&F) button, popup "Find"      FindBtnClick() (shows the search
//                                      dialog through Host)
//   Group Edit(&G), popup "Group Edit" GroupEditClick() (the group dialog
//                                      through Host->ShowGroupDialog)
//   Ext(&O)                            OtherClick() (the options dialog
//                                      through Host->ShowOptionDialog)
//   popup "Import", options' Import(&R) ImportClick() (the import dialog
//                                      through Host->ShowImportDialog)
//   close event                        if (!FormCloseQuery()) ignore the
//                                      event; else FormClose() and accept
//   window moved/resized               write Left/Top/Width/Height (they are
//                                      written to Q7Addr.ini by FormClose)
//   popup "Print" / "Export Text File" GoPrintClick() / TextExportClick()
//                                      (the print setup window through
//                                      Host->ShowPrintSetup)
//   popup "Export CSV File" /          CsvExportClick() / VcardExportClick()
//   "Export vCard File"                (the marked cards into a file chosen
//                                      through Dialogs::SaveFile)
// Import is a
// later issue: no handler here yet; keep its button disabled.
//
// After EVERY handler call refresh from the members: if Tbl.Revision()
// changed, reset the grid model (the rows were rebuilt); otherwise emit
// dataChanged for the current row (cells may have been set); if
// TreeRevision changed, reset the tree model (nodes were added or
// re-sorted), otherwise repaint the tree (image indexes may have changed);
// update the labels, the panel, the popup entries; move the grid's current
// index to Tbl.Row; then honour FocusRequest and set it back to
// FocusTarget::None:
//   Grid         give the address grid the focus
//   TreeRepaint  move the focus to the left panel and back to the tree
//   EditorAddr   activate the card editor window, focus its Addr field
// The card editor has its own View->FocusRequest (see ViewLogic.h).
//
// Synchronous requests during a handler go through the optional `Host`
// (MainHost below): ReLoadClick calls Host->WaitShown() after hiding the
// grid and before LoadTree, so the widget can show "Wait a moment" and
// repaint it at once (QWidget::repaint / processEvents of paint events);
// EndBtnClick calls Host->CloseRequested() (the widget calls close(), which
// runs FormCloseQuery / FormClose through the close event).
//
// Grid model hint: model row r-1 = Tbl row r (r = 1 .. Tbl.RowCount()-1;
// the "No Hit Address" row is a real row), the horizontal header texts are
// Tbl.Cell(0, c), column widths Tbl.ColWidths[c]. When moving the view's
// current index to Tbl.Row after a handler, block the selection signal so
// that it does not call TblSelectCell again (harmless, but it would redraw
// the editor a second time).
//
// THE GRID (`Tbl`)
// The grid holds per row only the card's source position and the card
// pointer; cells are computed on demand: column 0 is the 1-based source
// position, columns 1 to 4 are PrefEmail, GetValue(FN, ""), GetValue(Note,
// "") and NickName of the row's card as it is now. A cell written with
// SetCell (the card editor's take-over) overrides the computed
// text until the next TblRedraw, which rebuilds every row. Row 0 is the
// title row. With nothing shown there are two rows, row 1 reading
// "No Hit Address" in column 1 and empty elsewhere (column 0 empty).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/PlatformConfig.h"
#include "store/Book.h"

namespace editor {
class TView;
}
namespace search {
class TSearchDlg;
}
namespace groups {
class TGrpView;
}
namespace options {
class TOptionSet;
}
namespace imp {
class TImportForm;
}
namespace print {
class TPrintSetup;
}

namespace mainwin {

// Grid geometry of the window design.
inline constexpr int kGridColumns = 5;
inline constexpr int kDefaultRowHeight = 16;
inline constexpr int kDefaultColWidth = 75;
inline constexpr int kFixedColWidth = 30;

// Titles (CP932). 0x81 0x40 is the full-width space, 0x81 0xAB "↓" and
// 0x81 0xAA "↑".
inline constexpr const char* kTitleCol0 = "  \\";
inline constexpr const char* kNoHitAddress = "No Hit Address";

// Column texts of a card (the grid columns), also its sort values
// before upper-casing. col 0 has no card text (it is the position).
std::string CardColumnText(const store::TAddrRec& card, int col);
// The sort key of a text: ASCII a-z upper-cased, double-byte characters
// left whole; compare as unsigned bytes (std::string's operator<).
std::string GridSortKey(const std::string& value);
// The title of column col (1..4) under sortKey: "\x81\x40Name", "\x81\xabName",
// "\x81\xaaName"; col 0 gives "  \".
std::string ColumnTitle(int col, int sortKey);

// The address grid `Tbl` as the logic holds it.
class AddressGrid {
 public:
  struct RowRef {
    std::uint32_t pos = 0;            // position in the source list
    store::TAddrRec* card = nullptr;  // the card at that position at redraw
  };

  // Rows including the title row (at least 2).
  int RowCount() const { return rows_.empty() ? 2 : static_cast<int>(rows_.size()) + 1; }
  // Number of card rows (0 when "No Hit Address" is shown).
  int CardRows() const { return static_cast<int>(rows_.size()); }
  // Text of a cell; row 0 is the title row; out of range gives "".
  std::string Cell(int row, int col) const;
  // Overrides one cell until the next rebuild (the editor's take-over).
  void SetCell(int row, int col, std::string text);
  // The source position of a card row, or -1 (title row, "No Hit" row).
  int Position(int row) const;
  // The card of a card row at the last rebuild, or nullptr.
  store::TAddrRec* CardAt(int row) const;
  // Column 0 of a row as a number, 0 when empty (the design's "as a number").
  int Col0Number(int row) const;
  // Increases with every rebuild (TblRedraw): reset the Qt model then.
  std::uint64_t Revision() const { return revision_; }

  int Row = 1;  // the current row (1 .. RowCount()-1)
  std::array<int, kGridColumns> ColWidths{kFixedColWidth, kDefaultColWidth, kDefaultColWidth,
                                          kDefaultColWidth, kDefaultColWidth};
  std::array<std::string, kGridColumns> Titles;  // row 0

  // --- used by TQ7AdrMan::TblRedraw ---
  void Rebuild(std::vector<RowRef> rows);
  const std::vector<RowRef>& Rows() const { return rows_; }

 private:
  std::vector<RowRef> rows_;
  std::map<std::pair<int, int>, std::string> overrides_;  // (row, col) -> text
  std::uint64_t revision_ = 0;
};

// What the widget should do with the focus after a handler returns.
enum class FocusTarget { None, Grid, TreeRepaint, EditorAddr };

// Synchronous requests to the widget during a handler; all optional.
class MainHost {
 public:
  virtual ~MainHost() = default;
  // The grid was just hidden (TblVisible false): show "Wait a moment" now.
  virtual void WaitShown() {}
  // EndBtnClick: close the main window (the close event asks FormCloseQuery).
  virtual void CloseRequested() {}
  // FindBtnClick: show the search dialog modally until it has finished (its
  // handlers redraw the grid themselves); the dialog is freed afterwards.
  virtual void ShowSearchDialog(search::TSearchDlg& /*dialog*/) {}
  // GroupEditClick / OtherClick: show the group or options dialog modally
  // over the grid until it closes. The group dialog's changes of the tree
  // have already been taken into the main window's members when its
  // TreeRevision moves (refresh the main window then).
  virtual void ShowGroupDialog(groups::TGrpView& /*dialog*/) {}
  virtual void ShowOptionDialog(options::TOptionSet& /*dialog*/) {}
  // ImportClick: show the import dialog modally over the grid until it
  // closes ("Ret(&X)"); its runs have redrawn the grid themselves.
  virtual void ShowImportDialog(imp::TImportForm& /*dialog*/) {}
  // GoPrintClick / TextExportClick: show the print setup window modally over
  // the grid until it closes (the window calls its FormInit once its panels
  // are laid out).
  virtual void ShowPrintSetup(print::TPrintSetup& /*setup*/) {}
};

// The captions set at start-up , by control name.
struct MainCaptions {
  std::string EndBtn, Save, ReLoad, AddAddress, DelAddress, FindBtn, GroupEdit, Other;
  std::string Label15, SelectAll, DeSelect, WaitMsg, Label1, Label2;
  std::string SaveMenu, ReloadMenu, FindMenu, AddAddr, DelAdd, SaveOrder, AddGroup, GroupEditMenu;
  std::string GoPrint, TextExport, ImportBtn, CSV_Export;
  std::string VcardExport = "Export vCard File";
  // Designed captions that stay: "(&U)↑" and "↓(&L)" in CP932.
  std::string UpLabel = "(&U)\x81\xaa";
  std::string DnLabel = "\x81\xab(&L)";
};

// Where the start-up sequence takes the registry, the program folder, the
// current directory and the command line from. Every override is optional;
// tests set them to run on a temporary folder.
struct StartOptions {
  std::vector<std::string> Args;               // without the program name
  std::optional<plat::PlatformConfig> Config;  // default plat::LoadPlatformConfig()
  std::optional<std::string> ProgramDir;       // default plat::fs::ProgramDir()
  std::optional<std::string> CurrentDir;       // default plat::fs::CurrentDir()
  // The user's q7addr.ini, where a book folder chosen at the first start is
  // remembered; default plat::ConfigFilePath of the process environment.
  std::optional<std::string> ConfigFile;
};

inline constexpr const char* kAppTitle = "Ostra(Q7) Address Book Manager";
inline constexpr const char* kSettingsFile = "Q7Addr.ini";
// Asked at start-up when the book folder is missing (no "/C"); the folder
// follows after "\r".
inline constexpr const char* kNoBookFolderMsg =
    "The address book folder was not found. Choose the mail client's data folder "
    "(the folder that holds \"AddrBook\")? Choose No to start with an empty book.";

// The group checks stored in the settings file's section "Group" (missing
// key: checked) onto the tree below the top level; shared by the start-up
// and the command line's exports.
void ApplyGroupChecks(store::TAllList& book, const std::string& settingsPath);

class TQ7AdrMan {
 public:
  TQ7AdrMan(dlg::Dialogs& dialogs, StartOptions options = {});
  ~TQ7AdrMan();
  TQ7AdrMan(const TQ7AdrMan&) = delete;
  TQ7AdrMan& operator=(const TQ7AdrMan&) = delete;

  // ---- start-up, settings, shutdown ----
  void FormCreate();  // steps 1-15
  void ReadCommandLine();
  void ReadSettings();
  void ReadGroupState();
  bool WriteSettings();     // false when Q7Addr.ini could not be written
  bool FormCloseQuery();    // true: the window may close
  void FormClose();         // WriteSettings, close the card editor

  // ---- tree and grid ----
  void TblRedraw(int keepIndex);
  void ResortCard(store::TAddrRec* card);
  void TblSelectCell(int row);  // also makes it the current row
  void TblTitleClick(int col);  // a click in the title row on column col
  // The design's pixel handlers: x, y in grid pixels; topRow is the first
  // visible card row, leftCol the first scrolled column (1 when unscrolled).
  void TblMouseDown(int x, int y, int topRow = 1, int leftCol = 1);
  void TblMouseUp(int y);
  void FormResize();
  void GroupTreeDblClick();
  bool GroupTreeKeyPress(char key);  // true: swallow (always)
  void GroupTreeMouseDown(store::TreeNode* node);  // right button on a node
  void SelectAllClick();
  void DeSelectClick();
  void UpLabelClick();
  void DnLabelClick();
  void SaveOrderClick();

  // ---- commands ----
  void MainPopupPopup();
  void SaveClick();
  void ReLoadClick();
  void AddAddressClick();
  void DelAddressClick();
  void AddGroupClick();
  void EndBtnClick();
  void FindBtnClick();  // the search dialog (search/SearchLogic.h) through Host
  void GroupEditClick();  // the group dialog (groups/GroupsLogic.h) through Host
  void OtherClick();      // the options dialog (options/OptionsLogic.h) through Host
  void ImportClick();     // the import dialog (import/ImportFormLogic.h) through Host
  void GoPrintClick();     // the print setup window (print/PrintSetupLogic.h) through Host
  void TextExportClick();  // the same window in its export variant
  // The marked cards as a CSV file (CP932 or UTF-8, asked first) or a
  // vCard 3.0 file (MainExchangeLogic.cpp).
  void CsvExportClick();
  void VcardExportClick();

  // ---- the group dialog's changes of the tree ----
  // Before a group's node leaves the tree: nothing may keep pointing at it.
  void GroupRemoving(store::TGrpList* group);
  // After a group was added, deleted or renamed: the tree, the editor's
  // group list and the grid follow at once.
  void GroupTreeChanged();

  // ---- changes other programs make to the group folders (MainOutsideLogic.cpp) ----
  struct OutsideChange {
    store::TreeNode* Node;
    std::int64_t Newest;  // the newest changed address file's time stamp (ns), or 0
    std::size_t Removed;  // address files of the last load or save that are gone
  };
  // The groups below the top level (only the one whose Path is `folder`,
  // when it is not empty) with an address file newer than their FileAge, or
  // without one the last load or save found: written, added, replaced or
  // removed by another program since. The program's own saves set FileAge
  // and FileNames and so never count.
  std::vector<OutsideChange> OutsideChanged(const std::string& folder = {}) const;
  // What the save's "Yes" to its outside-change question does, at once:
  // LoadGroup merges the files into memory, then the grid is rebuilt on the
  // same card (marks recomputed when cards came in). The cards of a removed
  // file stay in memory, so the next save writes them back.
  void MergeOutsideChange(store::TreeNode* node);
  // Disk paths to watch for such changes: every existing group folder below
  // the top level and its address files.
  std::vector<std::string> OutsideWatchPaths() const;

  // ---- sending mail ----
  void SendMailClick();
  void SendGroupMailClick();
  // The arguments the two commands build (exposed for tests and the CLI).
  static std::string MailArgument(int adrSendMode, const std::string& addr, const std::string& name);
  static std::string GroupMailArgument(const std::string& displayPath);
  // What the two commands hand to the mailto command: the design's argument
  // for the mail client's own program, a standard mailto: URI for the
  // desktop's handler (store::DesktopHandler); a group goes there as its
  // members' preferred addresses. Empty without a book (or a group).
  std::string SendMailLink() const;
  std::string SendGroupMailLink() const;

  // ---- helpers for other windows ----
  // The source list: SingleGroup's cards, or the book's in address order.
  std::size_t SourceCount() const;
  store::TAddrRec* SourceAt(std::size_t i) const;
  bool SingleGroupView() const { return Book && Book->SingleGroup != nullptr; }
  void SelectNode(int absIndex);  // selects nothing when out of range
  store::TAllList& book() { return *Book; }
  dlg::Dialogs& dialogs() { return dialogs_; }

  // ---- state (the controls) ----
  std::unique_ptr<store::TAllList> Book;  // created by FormCreate step 2
  std::unique_ptr<editor::TView> View;    // created by FormCreate step 8
  MainHost* Host = nullptr;

  std::string Caption;  // window caption
  MainCaptions Captions;
  bool Enabled = true;  // false during FormCreate; FormResize needs it
  bool Closed = false;  // FormClose ran

  AddressGrid Tbl;
  int TblClientWidth = 0;  // the grid's client width, set by the widget
  bool TblVisible = true;  // false while ReLoadClick loads ("Wait a moment")
  std::string SubTot = "     0";
  std::string Total = "     0";
  bool UpDownPnlVisible = false;
  bool SaveOrderEnabled = false;
  std::string SendMailCaption;
  std::string SendGroupMailCaption;
  bool CsvExportEnabled = true;

  store::TreeNode* Selected = nullptr;  // the tree's selected node
  std::uint64_t TreeRevision = 0;       // increases when nodes are added/sorted

  FocusTarget FocusRequest = FocusTarget::None;

  // Window geometry: the designed values until settings replace them.
  int Left = 8, Top = 8, Width = 640, Height = 480;

  int SortKey = 0;
  std::string SettingsFolder;  // ends with '/'
  std::string LastSearchText;

 private:
  void MoveCurrentCard(int delta);
  std::string SettingsPath() const { return SettingsFolder + kSettingsFile; }
  bool AnyGroupModified(bool belowTopOnly) const;

  dlg::Dialogs& dialogs_;
  StartOptions options_;
  std::string currentDir_;
};

}  // namespace mainwin
