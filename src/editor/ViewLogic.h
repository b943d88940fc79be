// The card editor's logic (standard page): TView without Qt.
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// TQ7AdrMan creates the one TView (FormCreate step 8) and keeps it as
// `View`; CardEditorWindow mirrors it and owns nothing of the book.
//
// Controls -> members (all text CP932):
//   window caption / enabled / visible   Caption, Enabled, Visible
//   geometry                             Left, Top, Width, Height,
//                                        GroupPnlWidth (stored in Q7Addr.ini)
//   Addr Sign Key URL Nic Tel Fax PHS    the std::string members of the same
//                                        name (edits)
//   Adr (word-wrapped label)             Adr (shown only, never written)
//   Rem (memo, lines joined by CR LF)    Rem
//   EntryGroup                           EntryGroup rows (Caption = first
//                                        column, Text = second column,
//                                        ImageIndex: 0 check off, 1 check on,
//                                        2 folder); the selected row is
//                                        EntryGroupIndex (-1 none)
//   PagePanel active page                ActivePage
//   EdPanel visible                      EdPanelVisible
//   RadioSecs items / selected           RadioSecsItems, RadioSecsIndex
//   captions                             Captions.<control name>
//   layout results                       FieldWidth, AddSecLeft, ViewOKLeft
//                                        (inputs: Width, PagePanelLeft,
//                                        Panel3Width, Panel2Width,
//                                        AddSecWidth, ViewOKWidth)
//
// Events -> handlers. Before calling a handler that takes the page over
// (StdTabExit, PagePanelChanging, FormLostFocus) write the edits' texts into
// the members; after any handler read every member back (the fields, the
// EntryGroup images, the layout) and refresh the main window too (these
// handlers redraw its grid):
//   focus leaves the standard page          StdTabExit()
//   page about to change                    PagePanelChanging()
//   page changed                            PagePanelChange(page) (sets
//                                           ActivePage, runs ViewRedraw)
//   window deactivated                      FormLostFocus()
//   window activated                        FormActivate()
//   key in one of the eight edits           DataEntKey(ch): true = swallow
//   click on an EntryGroup row / Enter      set EntryGroupIndex,
//                                           EntryGroupDblClick()
//   key in EntryGroup                       EntryGroupKeyPress(ch): always
//                                           swallow
//   OK button                               ViewOKClick()
//   notebook resized                        set Width etc., PagePanelResize()
// Then honour FocusRequest and set it back to ViewFocus::None:
//   StdTab    give the focus to the page StdTab itself (no take-over: the
//             focus stays inside the page)
//   MainGrid  give the focus to the main window's address grid; the editor
//             window is thereby deactivated, and the widget calls
//             FormLostFocus() from that deactivation as always
//
// The main window drives the editor through CurCard + ViewRedraw (from
// TblSelectCell) and FillEntryGroup; the widget needs not call those.
//
// THE EXTENDED PAGE (sections; handlers in SectionsLogic.cpp)
// Controls -> members:
//   RadioSecs (18 items, 2 columns)      RadioSecsItems, RadioSecsIndex
//   SecName (label, the section key)     SecName
//   SecView columns / rows               SecViewColumns (titles); SecViewRows,
//                                        each row's Cells[0] the caption and
//                                        Cells[1..] the sub-items (a row may
//                                        hold more cells than there are
//                                        columns: show only the columns);
//                                        SecViewRevision increases when the
//                                        rows are rebuilt; selected row
//                                        SecViewIndex (-1 none)
//   EdPanel visible                      EdPanelVisible
//   lb00, lb01, lb0..lb6 (labels)        Lb00, Lb01, Lb[0..6]
//   Ed01, Ed0..Ed6 (edits)               Ed01, Ed[0..6]; EdShown[i] says
//                                        whether Ed i (and its label) shows
//   AddSecOK / DelSec visible            AddSecOKVisible, DelSecVisible
// Events -> handlers (write the panel's edits into Ed01/Ed first, as the
// standard page's fields are written before StdTabExit):
//   click on a RadioSecs item               set RadioSecsIndex, RadioSecsClick()
//   click on a SecView row (Enter on it)    set SecViewIndex, SecViewClick()
//   SecView current row moved by keys       set SecViewIndex only
//   Add(&A)                                 AddSecClick()
//   OK(&Y)                                  AddSecOKClick()
//   delete button                           DelSecClick()
//   focus leaves EdPanel for a control of
//   the window                              EdPanelExit()
//   Esc in the panel                        EdPanelCancel() (closes it, takes
//                                           nothing over)
//   key in one of the panel's edits         EdPanelKeyPress(ch): true = swallow
// FocusRequest EdPanel: give the focus to the panel itself (Enter).
// After every handler refresh the editor and the main window's current grid
// row (columns 2 and 3 may have changed).
//
// READ-ONLY CARDS
// ReadOnly is computed by ViewRedraw (and after a membership change): the
// card stands in no group below the top level, so nothing written into it
// would ever be saved. Show every field read-only, disable Add(&A) and the
// delete button, and show ReadOnlyReason (one line) while ReadOnly holds.
// The logic refuses every take-over itself (StdTabExit, CommitSection,
// DelSecClick); membership changes stay possible, so that the user can put
// the card into a group and edit it then.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/Book.h"

namespace mainwin {
class TQ7AdrMan;
}

namespace editor {

enum class Page { StdTab, ExtTab };
enum class ViewFocus { None, StdTab, MainGrid, EdPanel };

// The 18 section labels of the extended page, in table order.
extern const char* const kSectionLabels[18];

struct EntryGroupRow {
  std::string Caption;  // GroupTreeText of the node's group
  std::string Text;     // the node's caption
  int ImageIndex = 0;   // 0 check off, 1 check on, 2 folder
};

struct ViewCaptions {
  std::string Label13, StdTab, ExtTab, ViewOK;
  std::string Label3, Label4, Label5, Label6, Label7, Label9, Label10, Label11, Label12, Label8;
  std::string RadioSecs, Panel2, Label1, AddSec;
};

class TView {
 public:
  explicit TView(mainwin::TQ7AdrMan& main);

  // ---- handlers of the standard page ----
  void FormCreate();
  void ViewRedraw();
  void StdTabExit();
  void PagePanelChanging();        // takes the open panel and the standard page over
  void PagePanelChange(Page page);  // the page changed: ViewRedraw
  bool DataEntKey(char key);        // true: swallow (Enter)
  void ViewOKClick();
  void EntryGroupDblClick();
  bool EntryGroupKeyPress(char key);  // true: swallow (always)
  void MarkCardGroups();
  void FormLostFocus();
  void FormActivate();
  void FillEntryGroup(store::TAllList& book);
  void PagePanelResize();

  // ---- handlers of the extended page (SectionsLogic.cpp) ----
  void RadioSecsClick();
  void ShowEdPanel();
  void SecViewClick();
  void AddSecClick();
  void AddSecOKClick();
  void EdPanelExit();
  void EdPanelCancel();
  bool EdPanelKeyPress(char key);  // true: swallow (Enter)
  void DelSecClick();
  // Takes the panel over; false when the line was refused (a message was
  // shown) so that the panel may stay open.
  bool CommitSection(bool add);
  // Store / delete: false when the selected row matches no line of the card.
  bool StoreCardSection(store::TvCard& list, bool add);
  bool StoreOtherSection(const std::string& key, bool add);
  int FindOtherIndex(const std::string& key) const;  // -1: not found
  bool DeleteCardSection(store::TvCard& list);
  bool DeleteOtherSection(const std::string& key);
  // The section key of RadioSecsIndex ("EMAIL" ... "OTHERS").
  std::string SectionKey() const;
  // Recomputes ReadOnly / ReadOnlyReason for CurCard.
  void UpdateReadOnly();

  // Forgets the card (it is about to be freed): CurCard none, fields empty.
  void DropCard(const store::TAddrRec* card);

  // ---- state ----
  store::TAddrRec* CurCard = nullptr;  // not owned: the book's card
  bool CardChanged = false;

  std::string Caption;
  ViewCaptions Captions;
  bool Enabled = true;
  bool Visible = false;

  // Standard page fields.
  std::string Addr, Sign, Key, URL, Nic, Adr, Tel, Fax, PHS, Rem;

  std::vector<EntryGroupRow> EntryGroup;
  int EntryGroupIndex = -1;
  std::uint64_t EntryGroupRevision = 0;  // increases when the rows are rebuilt

  Page ActivePage = Page::StdTab;
  bool EdPanelVisible = false;
  std::vector<std::string> RadioSecsItems;
  int RadioSecsIndex = 0;

  // Extended page.
  std::string SecName;
  std::vector<std::string> SecViewColumns;
  std::vector<std::vector<std::string>> SecViewRows;
  int SecViewIndex = -1;
  std::uint64_t SecViewRevision = 0;
  std::string Lb00, Lb01, Ed01;
  std::string Lb[7], Ed[7];
  bool EdShown[7] = {};
  bool AddSecOKVisible = false;
  bool DelSecVisible = false;

  // The card cannot be edited here (see READ-ONLY CARDS above).
  bool ReadOnly = false;
  std::string ReadOnlyReason;

  ViewFocus FocusRequest = ViewFocus::None;

  // Geometry (designed values until the settings replace them).
  int Left = 656, Top = 8, Width = 440, Height = 480;
  int GroupPnlWidth = 120;
  // Layout inputs (the widget's designed sizes) and outputs.
  int PagePanelLeft = 123, Panel3Width = 70, Panel2Width = 230, AddSecWidth = 60, ViewOKWidth = 60;
  int FieldWidth = 0, AddSecLeft = 0, ViewOKLeft = 0;

 private:
  void FillStdPage();
  void ClearSections();
  void ListCardSection(const store::TvCard& list);
  void ListExtSection(const std::string& key);
  void ListOtherSection();
  store::TvCard* CardList(const std::string& key);
  void RefreshGridRow();
  bool busy_ = false;  // a question of the panel is open

  mainwin::TQ7AdrMan& main_;
};

}  // namespace editor
