// The data that print layout settings, the text layouts, printing, preview
// and export share: the item codes, one layout per format, and the job.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace print {

// Item codes 0..11 are column items; 12..19 exist only as labels.
inline constexpr int kItemCount = 12;
inline constexpr std::array<const char*, 20> ItemKeys = {
    "Sp",     "Mail",     "Name",  "Note", "Nic",   "Zip",     "Home",    "Tel",   "Fax",   "PHS",
    "PGP",    "URL",      "Famiry", "Birthday", "Title", "Role", "Geog.", "Mailler", "Photo", "Other"};
// The item list's longer names of the column items.
inline constexpr std::array<const char*, kItemCount> ItemNames = {
    "Space", "Mail Address", "Name", "Note", "Nic Name", "Zip", "Home Address",
    "Tel",   "Fax",          "PHS",  "PGP User-ID", "URL"};

// Formats, by the index of the format choice.
enum Format : int { kSimple = 0, kNormal = 1, kDetail = 2 };

// One layout: 4 x 4 item codes and widths (cells; a double-byte character
// takes two), rows and columns numbered 1..4 as in the settings keys.
struct TPrintLayout {
  std::int32_t Items[4][4] = {};
  std::int32_t Widths[4][4] = {};
  std::int32_t Scale = 100;

  std::int32_t& Item(int row, int col) { return Items[row - 1][col - 1]; }
  std::int32_t Item(int row, int col) const { return Items[row - 1][col - 1]; }
  std::int32_t& Width(int row, int col) { return Widths[row - 1][col - 1]; }
  std::int32_t Width(int row, int col) const { return Widths[row - 1][col - 1]; }
  // 9200 div Scale: 92 cells at 100 %.
  std::int32_t LineWidth() const { return 9200 / (Scale > 0 ? Scale : 100); }
};

// What the printer dialog asks and answers.
struct TPrintDialogState {
  int Copies = 1;
  bool Collate = false;
  int FromPage = 0;  // 0: no range given
  int ToPage = 0;
};

// One print, preview or export job.
struct TPrintData {
  TPrintDialogState PrintDialog;
  std::vector<std::string> Lines;   // body; in export mode the titles come first
  std::vector<std::string> Header;  // page titles (print and preview); Header[0] holds a "%-4d" page field
  std::int32_t TopMargin = 0;       // tenths of a millimetre
  std::int32_t LeftMargin = 0;
  std::int32_t Scale = 100;         // percent; 0 is taken as 100
  double DpiX = 0;
  double DpiY = 0;
  std::int32_t LineSpacing = 20;    // 1/120 inch at 100 %
  std::int32_t PageBottom = 0;      // device units
  std::int32_t PageWidth = 0;
  double CellWidth = 0;
  bool Aborted = false;
};

}  // namespace print
