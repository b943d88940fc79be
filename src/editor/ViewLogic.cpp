#include "editor/ViewLogic.h"

#include "mainwin/MainFormLogic.h"

namespace editor {

using store::GetValue;
using store::SetValue;
using store::TreeNode;

const char* const kSectionLabels[18] = {
    "Mail Address", "Name",         "Family",      "Note",       "URL",        "Public-Key",
    "Address",      "TimeZone",     "Tel",         "Company/Team", "Description", "Role",
    "Birthday",     "Geographic",   "Logo Image",  "Mailer",     "Photo",      "Others"};

TView::TView(mainwin::TQ7AdrMan& main) : main_(main) {}

void TView::FormCreate() {
  // 1.
  Enabled = false;
  CurCard = nullptr;
  // 2.
  Caption = "Ostra Address Book Manager ViewWindow";
  Captions.Label13 = "Entry Group";
  Captions.StdTab = "(&S)Std";
  Captions.ExtTab = "(&V)Ext";
  Captions.ViewOK = "(&K) OK";
  Captions.Label3 = "Mail Addr";
  Captions.Label4 = "Name";
  Captions.Label5 = "Public-Key";
  Captions.Label6 = "URL";
  Captions.Label7 = "NicName";
  Captions.Label9 = "Address";
  Captions.Label10 = "Tel";
  Captions.Label11 = "Fax";
  Captions.Label12 = "PHS";
  Captions.Label8 = "Note";
  Captions.RadioSecs = "Section";
  Captions.Panel2 = "SecName";
  Captions.Label1 = "SecName";
  Captions.AddSec = "Add(&A)";
  // 3.
  RadioSecsItems.assign(std::begin(kSectionLabels), std::end(kSectionLabels));
  RadioSecsIndex = 0;
  ActivePage = Page::StdTab;
}

void TView::ViewRedraw() {
  // 1.
  if (!CurCard) return;
  UpdateReadOnly();
  // 2.
  EdPanelVisible = false;
  // 3.
  if (ActivePage == Page::StdTab) {
    FillStdPage();
  } else {
    RadioSecsClick();
  }
  // 4.
  PagePanelResize();
  // 5. Membership marks.
  if (!main_.Book) return;
  const store::GroupTree& tree = main_.Book->Nodes;
  for (std::size_t i = 0; i < EntryGroup.size(); ++i) {
    const TreeNode* n = tree.Node(static_cast<int>(i));
    if (!n) continue;
    int img = n->Level > 0 ? 0 : 2;
    if (n->Group && n->Group->Contains(CurCard)) img = 1;
    EntryGroup[i].ImageIndex = img;
  }
}

void TView::FillStdPage() {
  const store::TAddrRec& c = *CurCard;
  Addr = c.PrefEmail;
  Sign = GetValue(c.FN, "");
  Key = GetValue(c.Key, "");
  URL = GetValue(c.URL, "");
  Nic = c.NickName;
  Adr = GetValue(c.Adr, "WORK");
  Tel = GetValue(c.Tel, "WORK");
  Fax = GetValue(c.Tel, "FAX");
  PHS = GetValue(c.Tel, "PHS");
  Rem = GetValue(c.Note, "");
}

void TView::StdTabExit() {
  // 1.
  if (!CurCard || ActivePage != Page::StdTab) return;
  // Nothing written into a read-only card would be saved: show it as it is.
  if (ReadOnly) {
    FillStdPage();
    return;
  }
  store::TAddrRec& c = *CurCard;
  mainwin::AddressGrid& tbl = main_.Tbl;
  // 2. The seven property fields, written all together when any differs.
  if (Sign != GetValue(c.FN, "") || Key != GetValue(c.Key, "") || URL != GetValue(c.URL, "") ||
      Rem != GetValue(c.Note, "") || Tel != GetValue(c.Tel, "WORK") || Fax != GetValue(c.Tel, "FAX") ||
      PHS != GetValue(c.Tel, "PHS")) {
    SetValue(c.FN, "", Sign);
    SetValue(c.Key, "", Key);
    SetValue(c.URL, "", URL);
    SetValue(c.Note, "", Rem);
    SetValue(c.Tel, "WORK", Tel);
    SetValue(c.Tel, "FAX", Fax);
    SetValue(c.Tel, "PHS", PHS);
    tbl.SetCell(tbl.Row, 1, Addr);
    tbl.SetCell(tbl.Row, 2, Sign);
    tbl.SetCell(tbl.Row, 3, Rem);
    CardChanged = true;
  }
  // 3.
  if (Nic != c.NickName) {
    c.NickName = Nic;
    tbl.SetCell(tbl.Row, 4, Nic);
    CardChanged = true;
  }
  // 4.
  if (Addr != c.PrefEmail) {
    if (!Addr.empty()) {
      c.PrefEmail = Addr;
      CardChanged = true;
      main_.ResortCard(CurCard);
    } else {
      Addr = c.PrefEmail;
    }
  }
}

void TView::PagePanelChanging() {
  // The page change redraws and would close an open panel unseen.
  EdPanelExit();
  StdTabExit();
}

void TView::PagePanelChange(Page page) {
  ActivePage = page;
  ViewRedraw();
}

bool TView::DataEntKey(char key) {
  if (key != '\r') return false;
  FocusRequest = ViewFocus::StdTab;
  return true;
}

void TView::ViewOKClick() { FocusRequest = ViewFocus::MainGrid; }

void TView::EntryGroupDblClick() {
  // 1.
  if (EntryGroupIndex < 0 || static_cast<std::size_t>(EntryGroupIndex) >= EntryGroup.size()) return;
  EntryGroupRow& row = EntryGroup[static_cast<std::size_t>(EntryGroupIndex)];
  if (row.ImageIndex >= 2 || !CurCard || !main_.Book) return;
  // 2.
  TreeNode* n = main_.Book->Nodes.Node(EntryGroupIndex);
  if (!n || !n->Group) return;
  store::TGrpList& g = *n->Group;
  g.Modified = true;
  // 3.
  if (row.ImageIndex == 0) {
    row.ImageIndex = 1;
    g.Append(CurCard);
  } else {
    row.ImageIndex = 0;
    g.RemoveFirst(CurCard);
  }
  UpdateReadOnly();
}

bool TView::EntryGroupKeyPress(char key) {
  if (key == '\r') EntryGroupDblClick();
  return true;
}

void TView::MarkCardGroups() {
  if (!CurCard || !CardChanged || !main_.Book) return;
  const store::GroupTree& tree = main_.Book->Nodes;
  for (std::size_t i = 0; i < EntryGroup.size(); ++i) {
    const TreeNode* n = tree.Node(static_cast<int>(i));
    if (!n || n->Level <= 0 || !n->Group) continue;
    if (!n->Group->Modified && n->Group->Contains(CurCard)) n->Group->Modified = true;
  }
}

void TView::FormLostFocus() {
  EdPanelExit();
  StdTabExit();
  MarkCardGroups();
  main_.TblRedraw(-1);
}

void TView::FormActivate() {
  Enabled = true;
  CardChanged = false;
}

void TView::FillEntryGroup(store::TAllList& book) {
  EntryGroup.clear();
  EntryGroupIndex = -1;
  const int d = 2 * book.Nodes.MaxLevel();
  for (const TreeNode* n : book.Nodes.InOrder()) {
    EntryGroupRow row;
    if (n->Group) row.Caption = store::GroupTreeText(*n->Group, d, false);
    row.Text = n->Caption;
    row.ImageIndex = n->Level == 0 ? 2 : 0;
    EntryGroup.push_back(std::move(row));
  }
  ++EntryGroupRevision;
}

void TView::PagePanelResize() {
  if (!Enabled) return;
  FieldWidth = Width - PagePanelLeft - Panel3Width - 14;
  AddSecLeft = Panel2Width - AddSecWidth - 1;
  ViewOKLeft = Width - ViewOKWidth - 10;
}

void TView::DropCard(const store::TAddrRec* card) {
  if (!card || CurCard != card) return;
  CurCard = nullptr;
  CardChanged = false;
  ClearSections();
  UpdateReadOnly();
  Addr.clear();
  Sign.clear();
  Key.clear();
  URL.clear();
  Nic.clear();
  Adr.clear();
  Tel.clear();
  Fax.clear();
  PHS.clear();
  Rem.clear();
  if (!main_.Book) return;
  for (std::size_t i = 0; i < EntryGroup.size(); ++i)
    if (const TreeNode* n = main_.Book->Nodes.Node(static_cast<int>(i)))
      EntryGroup[i].ImageIndex = n->Level > 0 ? 0 : 2;
}

}  // namespace editor
