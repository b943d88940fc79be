// The fixed-width text of a printout or export: the column titles, the lines
// of one card in a layout, the labelled block of the Detail format, and the
// whole body for either print target. The same lines serve the printer, the
// preview, the text file and the clipboard.
//
// Widths count bytes: a double-byte character takes two cells and is never
// cut in half. Every line of a card's columns is exactly the layout's line
// width, trailing blanks included.
#pragma once

#include <string>
#include <vector>

#include "print/PrintData.h"
#include "store/Book.h"
#include "store/Card.h"

namespace print {

using LineList = std::vector<std::string>;

// Takes the first n bytes off text and returns them; one byte fewer when
// byte n would be the first half of a double-byte character. n <= 0 takes
// nothing.
std::string CutAtWidth(std::string& text, int n);

// "%-*s" and "%*s": text padded with blanks on the right / left to width
// (a longer text is not cut).
std::string PadRight(const std::string& text, int width);
std::string PadLeft(const std::string& text, int width);

// The value a column item (0..11) shows for a card; empty for codes outside
// the column items.
std::string CellValue(const store::TAddrRec& card, int item);

// The first ADR entry whose Params are exactly "WORK": its postal code
// (zipOnly) or its other six values joined; empty without such an entry.
std::string GetWorkAddress(const store::TvAdrCard& addresses, bool zipOnly);

// The lines of one card in the layout (both pieces of every row), followed
// by the Detail block when format is kDetail.
void AddCardLines(LineList& list, const store::TAddrRec& card, const TPrintLayout& layout, int format,
                  int lineWidth);

// The column titles and the "-" rule. withPage puts " Page-%-4d" at the end
// of row 1 (when its last column has 11 cells or more).
void AddHeaderLines(LineList& list, bool withPage, const TPrintLayout& layout, int lineWidth);

// The two-column labelled block of the Detail format.
void AddDetailBlock(LineList& list, const store::TAddrRec& card, int lineWidth);
// One labelled entry list into a column of width cw; sep joins the values.
void AddLabelLines(LineList& column, const std::string& sep, const std::string& label,
                   const store::TvCard& entries, int cw);
// The other properties named key (or, for "Others", every property that is
// not one of the named extra properties, labelled by its name).
void AddOtherLines(LineList& column, const store::TvOther& others, const std::string& label,
                   const std::string& key, int cw);

// What the "Already Extracted" target reads of the main window's address
// grid: its rows in grid order and the text of their column 0.
class GridRows {
 public:
  virtual ~GridRows() = default;
  virtual int RowCount() const = 0;  // rows including the title row 0
  virtual std::string Col0(int row) const = 0;
};

// Everything BuildLines reads of the setup window at the moment it runs.
struct LineSource {
  const TPrintLayout* Layout = nullptr;
  int Format = kNormal;
  int LineWidth = 92;
  bool AlreadyExtracted = false;           // RadioPrintView
  const store::TAllList* Book = nullptr;
  const GridRows* Grid = nullptr;          // for AlreadyExtracted
  std::vector<const store::TGrpList*> Groups;  // checked rows of the group list, in order
};

// Titles (into Lines in export mode, else into Header with the page field),
// then the cards of the target.
void BuildLines(TPrintData& job, bool exportMode, const LineSource& source);

// Column 0 of a grid row as a card number; 0 when it is not a plain decimal
// number (empty, "No Hit Address" row).
int GridNumber(const std::string& col0);

}  // namespace print
