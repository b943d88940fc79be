#include "mainwin/MainFormLogic.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "editor/ViewLogic.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "store/Launch.h"
#include "store/Save.h"

namespace mainwin {

using store::TAddrRec;
using store::TGrpList;
using store::TreeNode;

// ---- column texts, sort keys, titles ---------------------------------------

std::string CardColumnText(const TAddrRec& card, int col) {
  switch (col) {
    case 1: return card.PrefEmail;
    case 2: return store::GetValue(card.FN, "");
    case 3: return store::GetValue(card.Note, "");
    case 4: return card.NickName;
    default: return {};
  }
}

std::string GridSortKey(const std::string& value) { return sjis::Upper(value); }

std::string ColumnTitle(int col, int sortKey) {
  static const char* const kNames[kGridColumns] = {"", "Mail Address", "Name", "Note", "NicName"};
  if (col <= 0 || col >= kGridColumns) return kTitleCol0;
  if (sortKey == 2 * col) return std::string("\x81\xab") + kNames[col];      // ↓ ascending
  if (sortKey == 2 * col + 1) return std::string("\x81\xaa") + kNames[col];  // ↑ descending
  return std::string("\x81\x40") + kNames[col];                              // full-width space
}

// ---- AddressGrid -------------------------------------------------------------

std::string AddressGrid::Cell(int row, int col) const {
  if (col < 0 || col >= kGridColumns || row < 0) return {};
  if (row == 0) return Titles[col];
  if (!overrides_.empty()) {
    auto it = overrides_.find({row, col});
    if (it != overrides_.end()) return it->second;
  }
  if (rows_.empty()) return row == 1 && col == 1 ? std::string(kNoHitAddress) : std::string();
  if (row > static_cast<int>(rows_.size())) return {};
  const RowRef& r = rows_[row - 1];
  if (col == 0) return std::to_string(r.pos + 1);
  return r.card ? CardColumnText(*r.card, col) : std::string();
}

void AddressGrid::SetCell(int row, int col, std::string text) {
  if (row < 1 || row >= RowCount() || col < 0 || col >= kGridColumns) return;
  overrides_[{row, col}] = std::move(text);
}

int AddressGrid::Position(int row) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return -1;
  return static_cast<int>(rows_[row - 1].pos);
}

store::TAddrRec* AddressGrid::CardAt(int row) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return nullptr;
  return rows_[row - 1].card;
}

int AddressGrid::Col0Number(int row) const {
  if (!overrides_.empty() && overrides_.count({row, 0})) {
    const std::string& s = overrides_.at({row, 0});
    return s.empty() ? 0 : std::atoi(s.c_str());
  }
  const int p = Position(row);
  return p < 0 ? 0 : p + 1;
}

void AddressGrid::Rebuild(std::vector<RowRef> rows) {
  rows_ = std::move(rows);
  overrides_.clear();
  ++revision_;
}

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

void TQ7AdrMan::ReadGroupState() {
  plat::IniFile ini(SettingsPath());
  for (TreeNode* n : Book->Nodes.InOrder()) {
    if (!n->Group) continue;
    const std::string key = store::GroupDisplayPath(*n->Group);
    if (n->Level > 0) {
      const int img = ini.ReadInteger("Group", key, 1);
      n->ImageIndex = img;
      n->SelectedIndex = img;
    }
    if (n->HasChildren()) n->Expanded = ini.ReadBool("GroupExpand", key, false);
  }
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

// ---- grid -----------------------------------------------------------

std::size_t TQ7AdrMan::SourceCount() const {
  if (!Book) return 0;
  return Book->SingleGroup ? Book->SingleGroup->Count() : Book->Count();
}

TAddrRec* TQ7AdrMan::SourceAt(std::size_t i) const {
  if (!Book) return nullptr;
  if (Book->SingleGroup) return i < Book->SingleGroup->Count() ? Book->SingleGroup->At(i) : nullptr;
  return Book->At(i);
}

void TQ7AdrMan::TblRedraw(int keepIndex) {
  if (!Book) return;
  // 2. Titles.
  for (int c = 0; c < kGridColumns; ++c) Tbl.Titles[c] = ColumnTitle(c, SortKey);
  // 3. Source list.
  const bool single = Book->SingleGroup != nullptr;
  UpDownPnlVisible = single;
  SaveOrderEnabled = single;
  const std::vector<TAddrRec*>& src = single ? Book->SingleGroup->Cards() : Book->Cards();
  const std::size_t n = src.size();
  // 4. Target card.
  const TAddrRec* target = (keepIndex >= 0 && static_cast<std::size_t>(keepIndex) < n)
                               ? src[static_cast<std::size_t>(keepIndex)]
                               : (View ? View->CurCard : nullptr);
  // 5. Walk the source. The design inserts into the display list; the same
  // order comes from a stable sort on precomputed keys:
  //  - 0 appends walking forwards, 1 walking backwards;
  //  - ascending keys keep ties in source order (stable sort);
  //  - descending keys are the exact reverse of the ascending result;
  //  - any other key inserts at the front: reversed source order.
  std::size_t targetPos = 0;
  std::vector<std::uint32_t> shown;
  shown.reserve(n);
  if (SortKey == 1) {
    for (std::size_t k = n; k-- > 0;) {
      if (src[k] == target) targetPos = k;
      if (src[k]->Mark == 1) shown.push_back(static_cast<std::uint32_t>(k));
    }
  } else {
    for (std::size_t k = 0; k < n; ++k) {
      if (src[k] == target) targetPos = k;
      if (src[k]->Mark == 1) shown.push_back(static_cast<std::uint32_t>(k));
    }
  }
  if (SortKey >= 2 && SortKey <= 9) {
    const int col = SortKey / 2;
    std::vector<std::string> keys(shown.size());
    for (std::size_t k = 0; k < shown.size(); ++k) keys[k] = GridSortKey(CardColumnText(*src[shown[k]], col));
    std::vector<std::uint32_t> idx(shown.size());
    std::iota(idx.begin(), idx.end(), 0u);
    std::stable_sort(idx.begin(), idx.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    if (SortKey % 2 == 1) std::reverse(idx.begin(), idx.end());
    std::vector<std::uint32_t> sorted(shown.size());
    for (std::size_t k = 0; k < idx.size(); ++k) sorted[k] = shown[idx[k]];
    shown.swap(sorted);
  } else if (SortKey != 0 && SortKey != 1) {
    std::reverse(shown.begin(), shown.end());
  }
  // 6. Counts.
  char buf[32];
  std::snprintf(buf, sizeof buf, "%6zu", shown.size());
  SubTot = buf;
  std::snprintf(buf, sizeof buf, "%6zu", Book->Count());
  Total = buf;
  // 7./8. Rows and the current row.
  std::vector<AddressGrid::RowRef> rows;
  rows.reserve(shown.size());
  int current = -1;
  for (std::size_t k = 0; k < shown.size(); ++k) {
    if (shown[k] == targetPos) current = static_cast<int>(k) + 1;
    rows.push_back({shown[k], src[shown[k]]});
  }
  Tbl.Rebuild(std::move(rows));
  if (shown.empty()) {
    Tbl.Row = 1;
  } else if (current > 0) {
    Tbl.Row = current;
  } else {
    // The current row stays where it was, kept inside the new row count.
    Tbl.Row = std::clamp(Tbl.Row, 1, Tbl.RowCount() - 1);
  }
  // 9.
  TblSelectCell(Tbl.Row);
  FormResize();
}

void TQ7AdrMan::ResortCard(TAddrRec* card) {
  if (!Book || !card) return;
  Book->Resort(card);
  int keep = -1;
  if (Book->SingleGroup) {
    if (auto i = Book->SingleGroup->IndexOf(card)) keep = static_cast<int>(*i);
  } else if (auto i = Book->IndexOf(card)) {
    keep = static_cast<int>(*i);
  }
  TblRedraw(keep);
}

void TQ7AdrMan::TblSelectCell(int row) {
  if (row >= 1 && row < Tbl.RowCount()) Tbl.Row = row;
  if (row <= 0 || !View) return;
  const int position = Tbl.Col0Number(row) - 1;
  if (position >= 0 && static_cast<std::size_t>(position) < SourceCount()) {
    View->CurCard = SourceAt(static_cast<std::size_t>(position));
    View->ViewRedraw();
  }
}

void TQ7AdrMan::TblTitleClick(int col) {
  switch (col) {
    case 0: SortKey = SortKey == 0 ? 1 : 0; break;
    case 1: SortKey = SortKey == 2 ? 3 : 2; break;
    case 2: SortKey = SortKey == 4 ? 5 : 4; break;
    case 3: SortKey = SortKey == 6 ? 7 : 6; break;
    case 4: SortKey = SortKey == 8 ? 9 : 8; break;
    default: return;
  }
  TblRedraw(-1);
}

void TQ7AdrMan::TblMouseDown(int x, int y, int topRow, int leftCol) {
  if (y >= kDefaultRowHeight) {
    const int row = y / (kDefaultRowHeight + 1) + topRow - 1;
    if (row >= 1 && row < Tbl.RowCount()) TblSelectCell(row);
    return;
  }
  int col = 0;
  if (x >= Tbl.ColWidths[0]) {
    int sum = Tbl.ColWidths[0];
    col = -1;
    for (int c = std::max(leftCol, 1); c < kGridColumns; ++c) {
      sum += Tbl.ColWidths[c];
      if (sum > x) {
        col = c;
        break;
      }
    }
    if (col < 0) return;  // right of the last column
  }
  TblTitleClick(col);
}

void TQ7AdrMan::TblMouseUp(int y) {
  if (y < kDefaultRowHeight) FormResize();
}

void TQ7AdrMan::FormResize() {
  if (!Enabled || TblClientWidth <= 0) return;
  double sum = 0;
  int w[kGridColumns] = {};
  for (int c = 1; c < kGridColumns; ++c) {
    w[c] = std::max(Tbl.ColWidths[c], 5);
    sum += w[c];
  }
  const double factor = static_cast<double>(TblClientWidth - Tbl.ColWidths[0] - 4) / sum;
  for (int c = 1; c < kGridColumns; ++c)
    Tbl.ColWidths[c] = std::max(0, static_cast<int>(w[c] * factor));
}

void TQ7AdrMan::GroupTreeDblClick() {
  if (!Book || !Selected || Selected->Level <= 0) return;
  // 1 - index for 0 and 1; any other stored value counts as unchecked.
  const int img = Selected->ImageIndex == store::kImgChecked ? store::kImgUnchecked : store::kImgChecked;
  Selected->ImageIndex = img;
  Selected->SelectedIndex = img;
  FocusRequest = FocusTarget::TreeRepaint;
  store::RecalcMarks(*Book);
  TblRedraw(-1);
}

bool TQ7AdrMan::GroupTreeKeyPress(char key) {
  if (key == '\r') GroupTreeDblClick();
  return true;
}

void TQ7AdrMan::GroupTreeMouseDown(TreeNode* node) {
  if (node) Selected = node;
}

void TQ7AdrMan::SelectAllClick() {
  if (!Book) return;
  store::CheckAll(*Book, true);
  TblRedraw(-1);
}

void TQ7AdrMan::DeSelectClick() {
  if (!Book) return;
  store::CheckAll(*Book, false);
  TblRedraw(-1);
}

void TQ7AdrMan::UpLabelClick() { MoveCurrentCard(-1); }

void TQ7AdrMan::DnLabelClick() { MoveCurrentCard(+1); }

// Moves the current row's card one place up (-1) or down (+1) in the one
// checked group; at either end nothing moves and nothing is marked.
void TQ7AdrMan::MoveCurrentCard(int delta) {
  FocusRequest = FocusTarget::Grid;
  if (!Book || !Book->SingleGroup) return;
  TGrpList& g = *Book->SingleGroup;
  const long i = Tbl.Col0Number(Tbl.Row) - 1;
  const long to = i + delta;
  if (i < 0 || to < 0 || static_cast<std::size_t>(i) >= g.Count() || static_cast<std::size_t>(to) >= g.Count()) return;
  g.Move(static_cast<std::size_t>(i), static_cast<std::size_t>(to));
  TblRedraw(-1);
  g.Modified = true;
}

void TQ7AdrMan::SaveOrderClick() {
  FocusRequest = FocusTarget::Grid;
  if (!Book || !Book->SingleGroup) return;
  TGrpList& g = *Book->SingleGroup;
  const std::size_t count = g.Count();
  // New position per old position; kNone = not shown. 32-bit instead of the
  // design's 16-bit numbers, so that groups above 65,535 cards keep working.
  constexpr std::uint32_t kNone = 0xFFFFFFFFu;
  std::vector<std::uint32_t> newPos(count, kNone);
  std::vector<bool> taken(count, false);
  for (int r = 1; r < Tbl.RowCount(); ++r) {
    const int p = Tbl.Col0Number(r);
    const std::size_t to = static_cast<std::size_t>(r - 1);
    if (p <= 0 || static_cast<std::size_t>(p) > count || to >= count) continue;
    if (newPos[p - 1] != kNone || taken[to]) continue;  // stale rows: keep it a permutation
    newPos[p - 1] = static_cast<std::uint32_t>(to);
    taken[to] = true;
  }
  // Apply in place by following the cycles (swaps keep every card once).
  std::vector<TAddrRec*> cards = g.Cards();
  for (std::size_t i = 0; i < count; ++i) {
    while (newPos[i] != kNone && newPos[i] != i) {
      const std::size_t j = newPos[i];
      std::swap(cards[i], cards[j]);
      std::swap(newPos[i], newPos[j]);
    }
  }
  g.SetOrder(std::move(cards));
  TblRedraw(-1);
  g.Modified = true;
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

void TQ7AdrMan::SaveClick() {
  if (!Book) return;
  // A copy: SaveGroup may reload a group, never the tree, but stay safe.
  const std::vector<TreeNode*> nodes = Book->Nodes.InOrder();
  for (TreeNode* n : nodes)
    if (n->Level > 0 && n->Group && n->Group->Modified) store::SaveGroup(*Book, n);
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
  if (k < 0) return;
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

void TQ7AdrMan::SendMailClick() {
  if (!Book) return;
  const std::string addr = View ? View->Addr : std::string();
  const std::string sign = View ? View->Sign : std::string();
  Launch(dialogs_, *Book, MailArgument(Book->AdrSendMode, addr, sign));
}

void TQ7AdrMan::SendGroupMailClick() {
  if (!Book || !Selected || Selected->Level <= 0 || !Selected->Group) return;
  TGrpList& g = *Selected->Group;
  if (g.Modified) {
    const dlg::Button b = dialogs_.MessageBox("Data Modified\rAre you save?", dlg::BoxType::Warning,
                                              {dlg::Button::Yes, dlg::Button::Cancel, dlg::Button::Ignore});
    if (b == dlg::Button::Yes) {
      if (!store::SaveGroup(*Book, Selected)) return;
    } else if (b != dlg::Button::Ignore) {
      return;
    }
  }
  Launch(dialogs_, *Book, GroupMailArgument(store::GroupDisplayPath(g)));
}

}  // namespace mainwin
