#include "print/RecordLayoutLogic.h"

#include <algorithm>
#include <array>

#include "platform/Sjis.h"

namespace print {

std::string CutAtWidth(std::string& text, int n) {
  if (n <= 0) return {};
  // Scanned from the start: a trail byte may lie in the lead-byte range
  // (0x93 0xFA), so looking at byte n alone could split a character.
  const std::size_t take = sjis::CutWidth(text, static_cast<std::size_t>(n)).size();
  std::string piece = text.substr(0, take);
  text.erase(0, take);
  return piece;
}

std::string PadRight(const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width) return text;
  std::string s = text;
  s.append(static_cast<std::size_t>(width) - text.size(), ' ');
  return s;
}

std::string PadLeft(const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width) return text;
  std::string s(static_cast<std::size_t>(width) - text.size(), ' ');
  s += text;
  return s;
}

std::string GetWorkAddress(const store::TvAdrCard& addresses, bool zipOnly) {
  for (const store::TCardRec& e : addresses) {
    if (e.Params != "WORK") continue;
    if (zipOnly) return e.Values.empty() ? std::string() : std::string(e.Values[0]);
    std::string rest;
    for (std::size_t i = 1; i < e.Values.size(); ++i) rest += e.Values[i];
    return rest;
  }
  return {};
}

std::string CellValue(const store::TAddrRec& card, int item) {
  switch (item) {
    case 1: return card.PrefEmail;
    case 2: return store::GetValue(card.FN, "");
    case 3: return store::GetValue(card.Note, "");
    case 4: return card.NickName;
    case 5: return GetWorkAddress(card.Adr, true);
    case 6: return GetWorkAddress(card.Adr, false);
    case 7: return store::GetValue(card.Tel, "WORK");
    case 8: return store::GetValue(card.Tel, "FAX");
    case 9: return store::GetValue(card.Tel, "PHS");
    case 10: return store::GetValue(card.Key, "");
    case 11: return store::GetValue(card.URL, "");
    default: return {};
  }
}

namespace {

// A cell's text and how much of it earlier lines have taken.
struct Cell {
  std::string text;
  std::size_t at = 0;
  std::string_view Rest() const { return std::string_view(text).substr(at); }
};
using Cells = std::array<Cell, 4>;

// The design's emptiness test: the first W bytes of the four cells, joined.
bool AnyShown(const Cells& cells, const TPrintLayout& layout, int row) {
  for (int c = 1; c <= 4; ++c)
    if (layout.Width(row, c) > 0 && cells[c - 1].at < cells[c - 1].text.size()) return true;
  return false;
}

// One line of four fields, each cut from its cell at the column's width
// (CutAtWidth, built in place: this runs for every card of a book).
std::string CutLine(Cells& cells, const TPrintLayout& layout, int row, bool rightAligned) {
  std::string line;
  std::size_t total = 0;
  for (int c = 1; c <= 4; ++c) total += static_cast<std::size_t>(std::max(layout.Width(row, c), 0));
  line.reserve(total);
  for (int c = 1; c <= 4; ++c) {
    const int w = layout.Width(row, c);
    if (w <= 0) continue;
    Cell& cell = cells[c - 1];
    const std::string_view piece = sjis::CutWidth(cell.Rest(), static_cast<std::size_t>(w));
    cell.at += piece.size();
    const std::size_t pad = static_cast<std::size_t>(w) - piece.size();
    if (rightAligned) line.append(pad, ' ');
    line.append(piece);
    if (!rightAligned) line.append(pad, ' ');
  }
  return line;
}

}  // namespace

void AddCardLines(LineList& list, const store::TAddrRec& card, const TPrintLayout& layout, int format,
                  int lineWidth) {
  for (int r = 1; r <= 4; ++r) {
    Cells cells;
    bool anyItem = false;
    for (int c = 1; c <= 4; ++c) {
      const int item = layout.Item(r, c);
      if (item != 0) {
        anyItem = true;
        cells[c - 1].text = CellValue(card, item);
      }
    }
    if (!anyItem || !AnyShown(cells, layout, r)) continue;
    list.push_back(CutLine(cells, layout, r, false));
    // A cell shows at most two pieces; the second is right-aligned.
    if (AnyShown(cells, layout, r)) list.push_back(CutLine(cells, layout, r, true));
  }
  if (format == kDetail) AddDetailBlock(list, card, lineWidth);
}

void AddHeaderLines(LineList& list, bool withPage, const TPrintLayout& layout, int lineWidth) {
  for (int r = 1; r <= 4; ++r) {
    Cells cells;
    for (int c = 1; c <= 4; ++c) {
      const int item = layout.Item(r, c);
      if (item > 0 && item < kItemCount) cells[c - 1].text = ItemNames[static_cast<std::size_t>(item)];
    }
    if (r == 1 && withPage && layout.Width(1, 4) >= 11) {
      const int w = layout.Width(1, 4) - 10;
      cells[3].text = PadRight(CutAtWidth(cells[3].text, w), w) + " Page-%-4d";
    }
    bool any = false;
    for (const Cell& cell : cells) any = any || !cell.text.empty();
    if (!any) continue;
    list.push_back(CutLine(cells, layout, r, false));
  }
  list.push_back(std::string(static_cast<std::size_t>(std::max(lineWidth, 0)), '-'));
}

namespace {

constexpr int kLabelWidth = 14;

// Steps 1 to 6 of a labelled entry: label (with its parameters) padded to
// 14 cells, then the values; long text continues indented by 14 blanks and
// its last piece stands right-aligned in the column.
void AddLabelled(LineList& column, const std::string& sep, const std::string& label, const store::TCardRec& e,
                 int cw) {
  std::string s = e.Params.empty() ? label : label + ";" + e.Params;
  if (static_cast<int>(s.size()) > cw) s = std::string(sjis::CutWidth(s, static_cast<std::size_t>(std::max(cw, 0))));
  if (static_cast<int>(s.size()) >= kLabelWidth) {
    column.push_back(s);
    s.clear();
  }
  s = PadRight(s, kLabelWidth);
  for (std::size_t i = 0; i < e.Values.size(); ++i) {
    if (i > 0) s += sep;
    s += e.Values[i];
  }
  if (static_cast<int>(s.size()) <= cw) {
    column.push_back(s);
    return;
  }
  while (static_cast<int>(s.size()) > cw) {
    std::string piece = CutAtWidth(s, cw);
    column.push_back(PadRight(piece, cw));
    // A column too narrow to gain on the 14-blank indent would never end.
    if (static_cast<int>(piece.size()) <= kLabelWidth) break;
    s = std::string(kLabelWidth, ' ') + s;
  }
  column.push_back(PadLeft(s, cw));
}

}  // namespace

void AddLabelLines(LineList& column, const std::string& sep, const std::string& label,
                   const store::TvCard& entries, int cw) {
  for (const store::TCardRec& e : entries) AddLabelled(column, sep, label, e, cw);
}

void AddOtherLines(LineList& column, const store::TvOther& others, const std::string& label,
                   const std::string& key, int cw) {
  const bool named = store::IsExtProp(key);
  for (const store::TOtherRec& e : others) {
    if (named) {
      if (e.Name == key) AddLabelled(column, ";", label, e, cw);
    } else if (!store::IsExtProp(e.Name)) {
      AddLabelled(column, ";", e.Name, e, cw);
    }
  }
}

void AddDetailBlock(LineList& list, const store::TAddrRec& card, int lineWidth) {
  const int cw = (lineWidth - 6) / 2;
  LineList left, right;
  AddLabelLines(left, "", "Email", card.Email, cw);
  AddLabelLines(left, ";", "Famiry", card.N, cw);
  AddLabelLines(left, "", "Tel", card.Tel, cw);
  AddLabelLines(left, "", "URL", card.URL, cw);
  AddLabelLines(right, "", "Note", card.Note, cw);
  AddLabelLines(right, "", "Home", card.Adr, cw);
  AddLabelLines(right, "", "Public Key", card.Key, cw);
  AddLabelLines(right, "", "Birthday", card.BDay, cw);
  static constexpr std::array<std::array<const char*, 2>, 9> kOthers = {{{"Time Zone", "TZ"},
                                                                        {"Company/Team", "ORG"},
                                                                        {"Title", "TITLE"},
                                                                        {"Role", "ROLE"},
                                                                        {"Geog.", "GEO"},
                                                                        {"Logo Image", "LOGO"},
                                                                        {"Mailler", "MAILER"},
                                                                        {"Photo", "PHOTO"},
                                                                        {"Other", "Others"}}};
  for (const auto& o : kOthers) AddOtherLines(right, card.Other, o[0], o[1], cw);
  left.emplace_back();
  right.emplace_back();
  const std::size_t n = std::max(left.size(), right.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::string& l = i < left.size() ? left[i] : std::string();
    const std::string& r = i < right.size() ? right[i] : std::string();
    list.push_back("    " + PadRight(l, cw) + "  " + r);
  }
}

int GridNumber(const std::string& col0) {
  if (col0.empty() || col0.size() > 9) return 0;
  int n = 0;
  for (char ch : col0) {
    if (ch < '0' || ch > '9') return 0;
    n = n * 10 + (ch - '0');
  }
  return n;
}

void BuildLines(TPrintData& job, bool exportMode, const LineSource& source) {
  if (!source.Layout) return;
  const TPrintLayout& layout = *source.Layout;
  if (exportMode)
    AddHeaderLines(job.Lines, false, layout, source.LineWidth);
  else
    AddHeaderLines(job.Header, true, layout, source.LineWidth);
  if (!source.Book) return;
  const store::TAllList& book = *source.Book;
  if (source.AlreadyExtracted) {
    if (!source.Grid) return;
    const store::TGrpList* single = book.SingleGroup;
    const std::size_t count = single ? single->Count() : book.Count();
    const int rows = source.Grid->RowCount();
    for (int row = 1; row < rows; ++row) {
      const int n = GridNumber(source.Grid->Col0(row));
      if (n < 1 || static_cast<std::size_t>(n) > count) continue;
      const store::TAddrRec* card =
          single ? single->At(static_cast<std::size_t>(n - 1)) : book.At(static_cast<std::size_t>(n - 1));
      AddCardLines(job.Lines, *card, layout, source.Format, source.LineWidth);
    }
    return;
  }
  const std::string rule(static_cast<std::size_t>(std::max(source.LineWidth, 0)), '=');
  for (const store::TGrpList* group : source.Groups) {
    if (!group) continue;
    job.Lines.push_back("Group[" + store::GroupDisplayPath(*group) + " : " + group->NickName + "]");
    for (const store::TAddrRec* card : group->Cards())
      AddCardLines(job.Lines, *card, layout, source.Format, source.LineWidth);
    job.Lines.push_back(rule);
  }
}

}  // namespace print
