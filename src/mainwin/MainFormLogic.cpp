#include "mainwin/MainFormLogic.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string_view>

#include "editor/ViewLogic.h"
#include "groups/GroupsLogic.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "search/SearchLogic.h"
#include "store/Launch.h"
#include "store/Save.h"

namespace mainwin {

using store::TAddrRec;
using store::TGrpList;
using store::TreeNode;

// ---- TQ7AdrMan: construction, start-up, settings -----------------------------

TQ7AdrMan::TQ7AdrMan(dlg::Dialogs& dialogs, StartOptions options)
    : dialogs_(dialogs), options_(std::move(options)) {
  for (int c = 0; c < kGridColumns; ++c) Tbl.Titles[c] = ColumnTitle(c, 0);
}

TQ7AdrMan::~TQ7AdrMan() = default;

namespace {

// A folder path ending with '/'; an empty path (the OS could not tell)
// stays empty, so that files are looked up relative to the current folder
// instead of in "/".
std::string WithSlash(std::string s) {
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

}  // namespace

namespace {

// Asks for the mail client's data folder until one holding "AddrBook" is
// chosen (with '/' at the end), or nothing when the user goes on without.
// Choosing the "AddrBook" folder itself counts as choosing its parent.
std::optional<std::string> AskForDataDir(dlg::Dialogs& d, std::string root, const std::string& initial) {
  for (;;) {
    const dlg::Buttons yesNo{dlg::Button::Yes, dlg::Button::No};
    if (d.MessageBox(std::string(kNoBookFolderMsg) + "\r" + root, dlg::BoxType::Confirmation, yesNo) !=
        dlg::Button::Yes) {
      return std::nullopt;
    }
    const std::optional<std::string> picked = d.ChooseFolder(initial);
    if (!picked || picked->empty()) return std::nullopt;
    std::string dir = WithSlash(*picked);
    constexpr std::string_view kBook = "AddrBook/";
    if (!plat::fs::DirExists(dir + std::string(kBook)) && dir.size() > kBook.size() &&
        std::string_view(dir).substr(dir.size() - kBook.size()) == kBook &&
        dir[dir.size() - kBook.size() - 1] == '/') {
      dir.resize(dir.size() - kBook.size());
    }
    root = dir + std::string(kBook);
    if (plat::fs::DirExists(root)) return dir;
  }
}

}  // namespace

void TQ7AdrMan::FormCreate() {
  // 1. Disabled until step 15.
  Enabled = false;
  Caption = kAppTitle;
  // 2. The book.
  Book = std::make_unique<store::TAllList>();
  Book->Dialogs = &dialogs_;
  // 3. The registry stand-in.
  const plat::PlatformConfig cfg = options_.Config ? *options_.Config : plat::LoadPlatformConfig();
  currentDir_ = options_.CurrentDir ? *options_.CurrentDir : plat::fs::CurrentDir();
  const std::string dataDir = cfg.DataDir.empty() ? WithSlash(currentDir_) : cfg.DataDir;
  Book->Root = dataDir + "AddrBook/";  // joined without a separator, as designed
  Book->InstallPath = cfg.InstallPath;
  Book->MailtoCmd = cfg.MailtoCmd;
  // 4.
  ReadCommandLine();
  // A first start from the desktop has no book where it looks: lead the
  // user to it and remember the choice. "/C" names the folder on purpose.
  const bool byCommandLine = std::any_of(options_.Args.begin(), options_.Args.end(),
                                         [](const std::string& a) { return sjis::UpperPlain(a) == "/C"; });
  if (!byCommandLine && !plat::fs::DirExists(Book->Root)) {
    if (auto chosen = AskForDataDir(dialogs_, Book->Root, currentDir_)) {
      Book->Root = *chosen + "AddrBook/";
      const std::string iniPath = options_.ConfigFile
                                      ? *options_.ConfigFile
                                      : plat::ConfigFilePath(plat::SystemConfigSources().env);
      if (!plat::SaveDataDir(iniPath, *chosen)) dlg::FileErrorBox(dialogs_, iniPath, "File create error");
    }
  }
  // 5. Image lists: the widget's business (indexes are the tree states).
  // 6. Captions.
  Captions.EndBtn = "Quit(&Q)";
  Captions.Save = "Save(&S)";
  Captions.ReLoad = "ReLoad(&R)";
  Captions.AddAddress = "Add Address(&A)";
  Captions.DelAddress = "Del(&D)";
  Captions.FindBtn = "Find(&F)";
  Captions.GroupEdit = "Group Edit(&G)";
  Captions.Other = "Ext(&O)";
  Captions.Label15 = "Active Group";
  Captions.SelectAll = "Select All(&M)";
  Captions.DeSelect = "DeSelect(&X)";
  Captions.WaitMsg = "Wait a moment";
  Captions.Label1 = "Found";
  Captions.Label2 = "Total";
  Captions.SaveMenu = "Save";
  Captions.ReloadMenu = "ReLoad";
  Captions.FindMenu = "Find";
  Captions.AddAddr = "Add Address";
  Captions.DelAdd = "Del Address";
  Captions.SaveOrder = "Save Address Order";
  Captions.AddGroup = "Add Group";
  Captions.GroupEditMenu = "Group Edit";
  Captions.GoPrint = "Print";
  Captions.TextExport = "Export Text File";
  Captions.ImportBtn = "Import";
  Captions.CSV_Export = "Export CSV File";
  // 7. Grid titles and the fixed column.
  Tbl.ColWidths[0] = kFixedColWidth;
  for (int c = 0; c < kGridColumns; ++c) Tbl.Titles[c] = ColumnTitle(c, 0);
  // 8. The card editor.
  View = std::make_unique<editor::TView>(*this);
  View->FormCreate();
  // 9.
  ReadSettings();
  // 10.
  LastSearchText.clear();
  // 11.
  store::LoadTree(*Book);
  ++TreeRevision;
  // 12.
  ReadGroupState();
  // 13.
  View->FillEntryGroup(*Book);
  // 14.
  store::RecalcMarks(*Book);
  TblRedraw(0);
  // 15.
  Enabled = true;
  View->Enabled = true;
  View->Visible = true;
}

void TQ7AdrMan::ReadCommandLine() {
  std::string prog = options_.ProgramDir ? *options_.ProgramDir : plat::fs::ProgramDir();
  SettingsFolder = WithSlash(std::move(prog));
  for (const std::string& arg : options_.Args) {
    if (sjis::UpperPlain(arg) == "/C") {
      Book->Root = WithSlash(currentDir_);
      SettingsFolder = Book->Root;
    }
  }
}

namespace {

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

void TQ7AdrMan::ReadSettings() {
  plat::IniFile ini(SettingsPath());
  const std::string s = "Q7Addr";
  auto pos = [&](const char* key, int& target) {
    const int v = ini.ReadInteger(s, key, -1);
    if (InRange(v, 0, 1019)) target = v;
  };
  auto size = [&](const char* key, int& target) {
    const int v = ini.ReadInteger(s, key, -1);
    if (InRange(v, 100, 1999)) target = v;
  };
  auto width = [&](const char* key, int col, int def) {
    const int v = ini.ReadInteger(s, key, -1);
    Tbl.ColWidths[col] = InRange(v, 5, 500) ? v : def;
  };
  pos("Left", Left);
  pos("Top", Top);
  size("Height", Height);
  size("Width", Width);
  pos("ViewLeft", View->Left);
  pos("ViewTop", View->Top);
  size("ViewHeight", View->Height);
  size("ViewWidth", View->Width);
  {
    const int v = ini.ReadInteger(s, "ViewGroup", -1);
    if (InRange(v, 50, 1019)) View->GroupPnlWidth = v;
  }
  width("AddrWidth", 1, 130);
  width("SignWidth", 2, 80);
  width("RemWidth", 3, 80);
  width("NicWidth", 4, 40);
  {
    const int v = ini.ReadInteger("Option", "AdrCompFlg", -1);
    Book->AdrCompFlg = InRange(v, 0, 1) ? v : 0;
  }
  {
    const int v = ini.ReadInteger("Option", "AdrSendMode", 2);
    Book->AdrSendMode = InRange(v, 0, 2) ? v : 2;
  }
  SortKey = ini.ReadInteger("Option", "SortKey", 0);
}

void ApplyGroupChecks(store::TAllList& book, const std::string& settingsPath) {
  plat::IniFile ini(settingsPath);
  for (TreeNode* n : book.Nodes.InOrder()) {
    if (!n->Group || n->Level == 0) continue;
    const int img = ini.ReadInteger("Group", store::GroupDisplayPath(*n->Group), 1);
    n->ImageIndex = img;
    n->SelectedIndex = img;
  }
}

void TQ7AdrMan::ReadGroupState() {
  ApplyGroupChecks(*Book, SettingsPath());
  plat::IniFile ini(SettingsPath());
  for (TreeNode* n : Book->Nodes.InOrder())
    if (n->Group && n->HasChildren())
      n->Expanded = ini.ReadBool("GroupExpand", store::GroupDisplayPath(*n->Group), false);
}

bool TQ7AdrMan::WriteSettings() {
  plat::IniFile ini(SettingsPath());
  const std::string s = "Q7Addr";
  ini.WriteInteger(s, "Left", Left);
  ini.WriteInteger(s, "Top", Top);
  ini.WriteInteger(s, "Height", Height);
  ini.WriteInteger(s, "Width", Width);
  if (View) {
    ini.WriteInteger(s, "ViewLeft", View->Left);
    ini.WriteInteger(s, "ViewTop", View->Top);
    ini.WriteInteger(s, "ViewHeight", View->Height);
    ini.WriteInteger(s, "ViewWidth", View->Width);
    ini.WriteInteger(s, "ViewGroup", View->GroupPnlWidth);
  }
  ini.WriteInteger(s, "AddrWidth", Tbl.ColWidths[1]);
  ini.WriteInteger(s, "SignWidth", Tbl.ColWidths[2]);
  ini.WriteInteger(s, "RemWidth", Tbl.ColWidths[3]);
  ini.WriteInteger(s, "NicWidth", Tbl.ColWidths[4]);
  ini.EraseSection("Group");
  ini.EraseSection("GroupExpand");
  if (Book) {
    for (TreeNode* n : Book->Nodes.InOrder()) {
      if (!n->Group) continue;
      const std::string key = store::GroupDisplayPath(*n->Group);
      if (n->Level > 0) ini.WriteInteger("Group", key, n->ImageIndex);
      if (n->HasChildren()) ini.WriteBool("GroupExpand", key, n->Expanded);
    }
    ini.WriteInteger("Option", "AdrCompFlg", Book->AdrCompFlg);
    ini.WriteInteger("Option", "AdrSendMode", Book->AdrSendMode);
  }
  ini.WriteInteger("Option", "SortKey", SortKey);
  return ini.UpdateFile();
}

bool TQ7AdrMan::AnyGroupModified(bool belowTopOnly) const {
  if (!Book) return false;
  for (TreeNode* n : Book->Nodes.InOrder())
    if (n->Group && n->Group->Modified && (!belowTopOnly || n->Level > 0)) return true;
  return false;
}

bool TQ7AdrMan::FormCloseQuery() {
  // Fault mended: the save command never writes top-level folders, so after
  // OK the question comes back only while a group below the top level is
  // still modified (the design looped for ever on a modified top-level one).
  bool afterSave = false;
  while (AnyGroupModified(afterSave)) {
    const dlg::Button b = dialogs_.MessageBox("Data Modified\rAre you save?", dlg::BoxType::Warning,
                                              {dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Ignore});
    if (b == dlg::Button::Ok) {
      SaveClick();
      afterSave = true;
      continue;
    }
    return b == dlg::Button::Ignore;
  }
  return true;
}

void TQ7AdrMan::FormClose() {
  WriteSettings();
  if (View) {
    View->Visible = false;
    View->Enabled = false;
  }
  Closed = true;
}

// ---- commands -------------------------------------------------------

void TQ7AdrMan::SelectNode(int absIndex) {
  if (!Book) return;
  if (TreeNode* n = Book->Nodes.Node(absIndex)) Selected = n;
}

void TQ7AdrMan::MainPopupPopup() {
  SendMailCaption = "Send to \"" + (View ? View->Addr : std::string()) + "\"";
  if (Selected && Selected->Level > 0)
    SendGroupMailCaption = "Send to \"" + Selected->Caption + "\"";
  else
    SendGroupMailCaption = "- - - - -";
}

namespace {

// SaveGroup, noting whether the group or the book gained cards: answering
// "Yes" to the outside-change question merges the mail client's cards into
// memory first.
bool SaveNoting(store::TAllList& book, TreeNode* node, bool& grew) {
  const std::size_t cards = book.Count();
  const std::size_t members = node->Group ? node->Group->Count() : 0;
  const bool ok = store::SaveGroup(book, node);
  if (book.Count() != cards || (node->Group && node->Group->Count() != members)) grew = true;
  return ok;
}

}  // namespace

void TQ7AdrMan::SaveClick() {
  if (!Book) return;
  // A copy: SaveGroup may reload a group, never the tree, but stay safe.
  const std::vector<TreeNode*> nodes = Book->Nodes.InOrder();
  bool grew = false;
  for (TreeNode* n : nodes)
    if (n->Level > 0 && n->Group && n->Group->Modified) SaveNoting(*Book, n, grew);
  // Fault mended: a merge changes the book's order and content, so the
  // grid's rows are rebuilt, on the same card; cards merged into a checked
  // group are shown.
  if (grew) store::RecalcMarks(*Book);
  TblRedraw(-1);
}

void TQ7AdrMan::ReLoadClick() {
  if (!Book) return;
  TblVisible = false;
  if (Host) Host->WaitShown();
  store::LoadTree(*Book);
  ++TreeRevision;
  if (View) View->FillEntryGroup(*Book);
  store::RecalcMarks(*Book);
  TblVisible = true;
  TblRedraw(-1);
}

void TQ7AdrMan::AddAddressClick() {
  if (!Book) return;
  // 1.-3.
  store::CardPtr card = store::NewCard();
  const int p = Tbl.Col0Number(Tbl.Row);
  if (p > 0) {
    if (const TAddrRec* model = SourceAt(static_cast<std::size_t>(p - 1))) {
      store::CopyMissing(card->FN, model->FN);
      store::CopyMissing(card->N, model->N);
      store::CopyMissing(card->Note, model->Note);
      store::CopyMissing(card->URL, model->URL);
      store::CopyMissing(card->Key, model->Key);
      store::CopyMissing(card->Adr, model->Adr);
      store::CopyMissing(card->Tel, model->Tel);
      store::CopyMissing(card->BDay, model->BDay);
      store::CopyMissing(card->Other, model->Other);
    }
  }
  // 4.-5.
  card->Mark = 1;
  TAddrRec* raw = Book->InsertFront(std::move(card));
  // 6.
  if (!Selected || Selected->ImageIndex != store::kImgChecked) {
    for (TreeNode* n : Book->Nodes.InOrder())
      if (n->ImageIndex == store::kImgChecked) {
        Selected = n;
        break;
      }
  }
  // 7.-8.
  int pos = 0;
  if (Selected && Selected->Group) {
    Selected->Group->Append(raw);
    pos = static_cast<int>(Selected->Group->Count()) - 1;
  }
  if (!Book->SingleGroup) pos = 0;
  // 9.-10.
  TblRedraw(pos);
  FocusRequest = FocusTarget::EditorAddr;
}

void TQ7AdrMan::DelAddressClick() {
  if (!Book) return;
  // 1.
  if (Tbl.Cell(1, 0).empty()) {
    dialogs_.MessageBox("No Hit Address", dlg::BoxType::Confirmation, {dlg::Button::Ok});
    return;
  }
  // 2.
  const std::string addr = View ? View->Addr : std::string();
  const std::string sign = View ? View->Sign : std::string();
  if (dialogs_.MessageBox(addr + "\r" + sign + "\r" + "Address Delete Okay?", dlg::BoxType::Confirmation,
                          {dlg::Button::Yes, dlg::Button::No}) != dlg::Button::Yes)
    return;
  // 3.
  const int i = Tbl.Col0Number(Tbl.Row) - 1;
  if (i < 0 || static_cast<std::size_t>(i) >= SourceCount()) return;
  if (TGrpList* g = Book->SingleGroup) {
    // 4. Single-group view: out of this group only.
    g->RemoveAt(static_cast<std::size_t>(i));
    g->Modified = true;
  } else {
    // 4. Book view: out of every group, then freed.
    TAddrRec* card = Book->At(static_cast<std::size_t>(i));
    for (const auto& grp : Book->Groups()) {
      if (grp->Contains(card)) {
        grp->RemoveFirst(card);
        grp->Modified = true;
      }
    }
    // Fault mended: the editor must not keep the freed card.
    if (View) View->DropCard(card);
    store::CardPtr owned = Book->Remove(card);
    store::FreeCard(owned);
  }
  // 5. The card that moved up into position i becomes current; when the
  // last position was deleted, the new last card (the design's edge case
  // "delete of the last row makes the new last row current").
  const int count = static_cast<int>(SourceCount());
  TblRedraw(i < count ? i : count - 1);
}

void TQ7AdrMan::AddGroupClick() {
  if (!Book) return;
  // 1.
  if (!Selected) SelectNode(0);
  // 2.
  std::optional<std::string> input = dialogs_.InputBox("Add Address Group", "Enter Group Name", "");
  if (!input) return;
  std::string name = *input;
  if (groups::IsDotName(name)) {
    dialogs_.MessageBox(groups::DotNameMessage(name), dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // 3.-6.
  const int parent = Selected ? Selected->AbsIndex : -1;
  const int j = store::FindChildGroup(*Book, name, parent);
  if (j >= 0) {
    SelectNode(j);
    return;
  }
  if (name.empty()) return;
  // 7.
  const int k = store::AddGroup(*Book, name, parent);
  if (k < 0) {
    dialogs_.MessageBox(groups::TooDeepMessage(), dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  ++TreeRevision;
  // Decision: the editor's group list is rebuilt at once, so that its row i
  // keeps standing for node i (the design left it stale until the next
  // rebuild, when a click could toggle the wrong group).
  if (View) View->FillEntryGroup(*Book);
  SelectNode(k);
  GroupTreeDblClick();
}

void TQ7AdrMan::EndBtnClick() {
  if (Host) Host->CloseRequested();
}

void TQ7AdrMan::FindBtnClick() {
  if (!Book) return;
  search::TSearchDlg dialog(*this);
  if (Host) Host->ShowSearchDialog(dialog);
}

// ---- mail -------------------------------------------------------------

std::string TQ7AdrMan::MailArgument(int adrSendMode, const std::string& addr, const std::string& name) {
  switch (adrSendMode) {
    case 0: return "mailto:" + addr;
    case 1: return "\"mailto:" + addr + " (" + name + ")\"";
    case 2: return "\"mailto:" + name + " <" + addr + ">\"";
    default: return {};
  }
}

std::string TQ7AdrMan::GroupMailArgument(const std::string& displayPath) {
  const std::string first = displayPath.substr(0, 1);
  const std::string rest = displayPath.size() > 1 ? displayPath.substr(1) : std::string();
  return "\"mailto:" + first + "\"\"" + rest + "\"\"\"";
}

namespace {

void Launch(dlg::Dialogs& d, const store::TAllList& book, const std::string& arg) {
  try {
    store::LaunchClient(book, arg);
  } catch (const store::LaunchError& e) {
    d.MessageBox(e.what(), dlg::BoxType::Error, {dlg::Button::Ok});
  }
}

}  // namespace

std::string TQ7AdrMan::SendMailLink() const {
  if (!Book) return {};
  const std::string addr = View ? View->Addr : std::string();
  const std::string sign = View ? View->Sign : std::string();
  if (store::DesktopHandler(*Book))
    return store::MailtoUri({store::UriRecipient(Book->AdrSendMode, addr, sign)});
  return MailArgument(Book->AdrSendMode, addr, sign);
}

std::string TQ7AdrMan::SendGroupMailLink() const {
  if (!Book || !Selected || !Selected->Group) return {};
  const TGrpList& g = *Selected->Group;
  // No desktop mail program knows the mail client's group names.
  if (store::DesktopHandler(*Book)) {
    std::vector<std::string> addrs;
    for (const store::TAddrRec* c : g.Cards())
      if (!c->PrefEmail.empty()) addrs.push_back(c->PrefEmail);
    return store::MailtoUri(addrs);
  }
  return GroupMailArgument(store::GroupDisplayPath(g));
}

void TQ7AdrMan::SendMailClick() {
  if (!Book) return;
  Launch(dialogs_, *Book, SendMailLink());
}

void TQ7AdrMan::SendGroupMailClick() {
  if (!Book || !Selected || Selected->Level <= 0 || !Selected->Group) return;
  TGrpList& g = *Selected->Group;
  if (g.Modified) {
    const dlg::Button b = dialogs_.MessageBox("Data Modified\rAre you save?", dlg::BoxType::Warning,
                                              {dlg::Button::Yes, dlg::Button::Cancel, dlg::Button::Ignore});
    if (b == dlg::Button::Yes) {
      bool grew = false;
      const bool ok = SaveNoting(*Book, Selected, grew);
      if (grew) store::RecalcMarks(*Book);
      TblRedraw(-1);
      if (!ok) return;
    } else if (b != dlg::Button::Ignore) {
      return;
    }
  }
  Launch(dialogs_, *Book, SendGroupMailLink());
}

}  // namespace mainwin
