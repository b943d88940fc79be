// The address grid: column texts and sort keys, the row store, redraw and sorting,
// and the tree and grid mouse handlers.
#include "mainwin/MainFormLogic.h"

#include <algorithm>
#include <numeric>

#include "editor/ViewLogic.h"
#include "platform/Sjis.h"

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

}  // namespace mainwin
