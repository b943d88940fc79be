// Printing onto the recording printer: pagination, copies, ranges, the
// control codes, the draw limit, aborting, and the preview pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "print/Printing.h"
#include "print/RecordingPrinter.h"
#include "support/TestSupport.h"

namespace {

using testprint::RecordingHost;
using testprint::RecordingPrinter;
using testprint::RecordingSurface;

// Five title lines (the first with the page field) and numbered body lines.
print::TPrintData MakeJob(int bodyLines) {
  print::TPrintData job;
  job.Header = {" Mail Address   Name   Note Page-%-4d", " Nic Name", " Tel", " URL", std::string(92, '-')};
  for (int i = 0; i < bodyLines; ++i) job.Lines.push_back("Body " + std::to_string(i));
  job.TopMargin = 100;
  job.LeftMargin = 100;
  job.Scale = 100;
  return job;
}

// 600 dpi: a line pitch of 100 units at 100 %. The first line's top lies at
// 236 (100 tenths of a millimetre), so a height of 6300 (PageBottom 6200)
// holds exactly 60 lines.
struct PrintRun {
  RecordingPrinter printer{600, 4800, 6300};
  RecordingHost host;
  testsupport::ScriptedDialogs dialogs;
  bool ok = false;
  void Print(print::TPrintData& job) { ok = print::PrintLines(job, printer, host, dialogs, print::kPrinterFace); }
};

std::string Title(int page) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%-4d", page);
  return " Mail Address   Name   Note Page-" + std::string(buf);
}

TEST(PrintLines, PaginatesUnderTitlesAndNumbersPages) {
  print::TPrintData job = MakeJob(130);
  PrintRun r;
  r.Print(job);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.printer.sheets.size(), 3u);
  EXPECT_EQ(r.printer.FirstLines(), (std::vector<std::string>{Title(1), Title(2), Title(3)}));
  const std::vector<std::size_t> bodyCounts{55, 55, 20};
  int next = 0;
  for (std::size_t s = 0; s < 3; ++s) {
    const auto lines = r.printer.sheets[s].Lines();
    ASSERT_EQ(lines.size(), 5 + bodyCounts[s]) << "sheet " << s;
    EXPECT_EQ(lines[4], std::string(92, '-'));
    for (std::size_t i = 5; i < lines.size(); ++i) EXPECT_EQ(lines[i], "Body " + std::to_string(next++));
    // Lines start at the margins and step by one pitch.
    EXPECT_EQ(r.printer.sheets[s].texts.front().x, 236);
    EXPECT_EQ(r.printer.sheets[s].texts.front().y, 236);
    EXPECT_EQ(r.printer.sheets[s].texts[1].y, 336);
  }
  EXPECT_EQ(next, 130);
  EXPECT_EQ(r.host.messages, (std::vector<std::string>{"1 page", "2 page", "3 page"}));
  EXPECT_EQ(r.host.rounds, 3);
  EXPECT_EQ(r.printer.title, "Ostra Address Book Manager");
  EXPECT_EQ(r.printer.face, print::kPrinterFace);
  EXPECT_TRUE(r.printer.ended);
  EXPECT_FALSE(r.printer.aborted);
  // 116 twips at 600 dpi: cells of 48.3 units, a font of 96.
  EXPECT_NEAR(job.CellWidth, 48.333, 0.001);
  EXPECT_EQ(r.printer.sheets[0].texts.front().fontHeight, 96);
  EXPECT_EQ(job.PageBottom, 6200);
  EXPECT_EQ(job.PageWidth, 4800);
}

TEST(PrintLines, CopiesWithAndWithoutCollation) {
  struct Case {
    bool collate;
    std::vector<int> pages;
  };
  for (const Case& c : {Case{true, {1, 2, 3, 1, 2, 3}}, Case{false, {1, 1, 2, 2, 3, 3}}}) {
    print::TPrintData job = MakeJob(130);
    job.PrintDialog.Copies = 2;
    job.PrintDialog.Collate = c.collate;
    PrintRun r;
    r.Print(job);
    ASSERT_TRUE(r.ok);
    std::vector<std::string> want;
    for (int p : c.pages) want.push_back(Title(p));
    EXPECT_EQ(r.printer.FirstLines(), want) << "collate " << c.collate;
    // A repeated page carries the same body lines as its first print.
    EXPECT_EQ(r.printer.sheets[3].Lines(), r.printer.sheets[c.collate ? 0 : 2].Lines());
    EXPECT_EQ(job.PrintDialog.Copies, 1);
  }
}

TEST(PrintLines, PageRangeLaysOutEarlierPagesWithoutDrawingThem) {
  print::TPrintData job = MakeJob(130);
  job.PrintDialog.FromPage = 2;
  job.PrintDialog.ToPage = 2;
  PrintRun r;
  r.Print(job);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.printer.sheets.size(), 1u);
  const auto lines = r.printer.sheets[0].Lines();
  EXPECT_EQ(lines.front(), Title(2));
  EXPECT_EQ(lines[5], "Body 55");
  EXPECT_EQ(lines.back(), "Body 109");

  // Collated copies of a range: the pages before it take no sheet in the
  // second copy either.
  print::TPrintData copies = MakeJob(130);
  copies.PrintDialog = {2, true, 2, 3};
  PrintRun rc;
  rc.Print(copies);
  EXPECT_EQ(rc.printer.FirstLines(), (std::vector<std::string>{Title(2), Title(3), Title(2), Title(3)}));

  // A range past the end sends nothing out.
  print::TPrintData past = MakeJob(10);
  past.PrintDialog.FromPage = 4;
  PrintRun r2;
  r2.Print(past);
  EXPECT_FALSE(r2.ok);
  EXPECT_TRUE(r2.printer.aborted);
  EXPECT_FALSE(r2.printer.ended);
  EXPECT_TRUE(r2.printer.sheets[0].texts.empty());
}

TEST(PrintLines, FormFeedEndsThePageAfterItsLine) {
  print::TPrintData job = MakeJob(20);
  job.Lines[3] = "before\x0C" "after";
  PrintRun r;
  r.Print(job);
  ASSERT_EQ(r.printer.sheets.size(), 2u);
  const auto first = r.printer.sheets[0].Lines();
  ASSERT_EQ(first.size(), 5u + 4u);
  EXPECT_EQ(first.back(), "beforeafter");
  EXPECT_EQ(r.printer.sheets[1].Lines()[5], "Body 4");
  EXPECT_EQ(r.printer.sheets[1].Lines().front(), Title(2));
}

TEST(PrintLines, EscTSetsTheLinePitch) {
  // "T30": 30/120 inch, 150 units at 600 dpi.
  print::TPrintData job = MakeJob(4);
  job.Lines[1] = "\x1BT30pitch";
  PrintRun r;
  r.Print(job);
  const auto& t = r.printer.sheets[0].texts;
  ASSERT_EQ(r.printer.sheets[0].Lines()[6], "pitch");
  // Titles and the first body line at 100 apart, then 150 from the code on.
  EXPECT_EQ(t[5].y - t[4].y, 100);
  EXPECT_EQ(t[7].y - t[6].y, 150);
  EXPECT_EQ(t[8].y - t[7].y, 150);
  EXPECT_EQ(job.LineSpacing, 30);

  // "T" and a letter: pitch 0, the rest overprints on one line to the end.
  print::TPrintData flat = MakeJob(200);
  flat.Lines[0] = "\x1BTx";
  PrintRun r2;
  r2.Print(flat);
  ASSERT_EQ(r2.printer.sheets.size(), 1u);
  const auto& u = r2.printer.sheets[0].texts;
  EXPECT_EQ(u[5].text, "x");
  EXPECT_EQ(u[6].y, u[5].y);
  EXPECT_EQ(u.back().y, u[5].y);
  EXPECT_EQ(u.back().text, "Body 199");
}

TEST(PrintLines, CellWidthCodesLastToTheEndOfTheJob) {
  // E: 96 twips (40 units, font 80); Q: 68 (28.3, font 56); H: back to 116.
  print::TPrintData job = MakeJob(3);
  job.Lines[0] = "ab\x1B" "Ecd\x1BQef";
  job.Lines[1] = "gh";
  job.Lines[2] = "\x1BHij\x1Bzkl";
  PrintRun r;
  r.Print(job);
  const auto& t = r.printer.sheets[0].texts;
  ASSERT_EQ(t.size(), 5u + 3u + 1u + 2u);
  EXPECT_EQ(t[5].text, "ab");
  EXPECT_EQ(t[5].fontHeight, 96);
  EXPECT_EQ(t[6].text, "cd");
  EXPECT_EQ(t[6].fontHeight, 80);
  EXPECT_EQ(t[6].x, 236 + 2 * 48);  // the recorder moves by half the font height
  EXPECT_EQ(t[7].text, "ef");
  EXPECT_EQ(t[7].fontHeight, 56);
  EXPECT_EQ(t[8].text, "gh");
  EXPECT_EQ(t[8].fontHeight, 56);
  EXPECT_EQ(t[9].text, "ij");
  EXPECT_EQ(t[9].fontHeight, 96);
  EXPECT_EQ(t[10].text, "kl");  // an unknown code is consumed and changes nothing
  EXPECT_EQ(t[10].fontHeight, 96);
}

TEST(PrintLines, Scale150EnlargesCellsAndPitch) {
  print::TPrintData job = MakeJob(2);
  job.Scale = 150;
  job.Lines[0] = std::string(61, 'w');
  PrintRun r;
  r.Print(job);
  const auto& t = r.printer.sheets[0].texts;
  EXPECT_NEAR(job.CellWidth, 72.5, 1e-9);
  EXPECT_EQ(t[0].fontHeight, 144);
  EXPECT_EQ(t[1].y - t[0].y, 150);
  // 61 cells at 150 % span about what 92 cells span at 100 %.
  EXPECT_NEAR(61 * job.CellWidth, 92 * 48.333, 30);
  EXPECT_EQ(job.PageBottom, 6300 - 150);

  print::TPrintData zero = MakeJob(1);
  zero.Scale = 0;
  PrintRun r2;
  r2.Print(zero);
  EXPECT_EQ(zero.Scale, 100);
  EXPECT_EQ(r2.printer.sheets[0].texts[0].fontHeight, 96);
}

TEST(PrintLines, DrawsAtMost254BytesAndStopsAtThePageEdge) {
  struct Case {
    std::string line;
    int pageWidth;
    std::string drawn;
  };
  const std::string kanji = "\x8A\xBF";  // 漢
  const std::vector<Case> cases = {
      {std::string(300, 'a'), 100000, std::string(254, 'a')},
      {std::string(253, 'a') + kanji + "b", 100000, std::string(253, 'a')},  // not halved at 254
      // (4800 - 236) / 48.33 = 94 cells free on a line.
      {std::string(120, 'c'), 4800, std::string(94, 'c')},
      {std::string(93, 'd') + kanji, 4800, std::string(93, 'd')},  // not halved at the edge
      // An ESC past the limit is not acted on.
      {std::string(260, 'e') + "\x1BQ", 100000, std::string(254, 'e')},
  };
  for (const Case& c : cases) {
    print::TPrintData job = MakeJob(1);
    job.Lines[0] = c.line;
    PrintRun r;
    r.printer = RecordingPrinter(600, c.pageWidth, 6300);
    r.Print(job);
    ASSERT_EQ(r.printer.sheets[0].texts.size(), 6u);
    EXPECT_EQ(r.printer.sheets[0].texts[5].text, c.drawn) << c.line.size();
    EXPECT_EQ(r.printer.fontHeights.back(), 96);
  }
}

TEST(PrintLines, AbortIsHonouredAfterTheCurrentPage) {
  print::TPrintData job = MakeJob(130);
  job.PrintDialog.Copies = 2;
  job.PrintDialog.Collate = true;
  PrintRun r;
  r.host.onEvents = [&] { job.Aborted = true; };
  r.Print(job);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.printer.sheets.size(), 1u);
  EXPECT_EQ(r.printer.sheets[0].Lines().size(), 60u);
  EXPECT_TRUE(r.printer.aborted);
  EXPECT_FALSE(r.printer.ended);
  EXPECT_EQ(r.host.rounds, 1);

  // A new job starts unaborted.
  job.Aborted = true;
  PrintRun again;
  again.Print(job);
  EXPECT_TRUE(again.ok);
  EXPECT_FALSE(job.Aborted);
}

TEST(PrintLines, EmptyBodyShowsTheMessageAndPrintsNothing) {
  print::TPrintData job = MakeJob(0);
  PrintRun r;
  r.Print(job);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.printer.begun);
  ASSERT_EQ(r.dialogs.boxes.size(), 1u);
  EXPECT_EQ(r.dialogs.boxes[0].text, "No Print Data !");
  EXPECT_EQ(r.dialogs.boxes[0].type, dlg::BoxType::Error);
  EXPECT_EQ(r.dialogs.boxes[0].buttons, dlg::Buttons{dlg::Button::Ok});
}

TEST(PrintLines, ErrorsEndTheDocument) {
  // A sheet that cannot be started.
  print::TPrintData job = MakeJob(130);
  PrintRun r;
  r.printer.failNewPage = true;
  r.Print(job);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.printer.aborted);
  ASSERT_EQ(r.dialogs.boxes.size(), 1u);
  EXPECT_EQ(r.dialogs.boxes[0].type, dlg::BoxType::Error);

  // An exception on the way aborts the document before it propagates.
  PrintRun r2;
  r2.printer.onNewPage = [] { throw std::runtime_error("spool full"); };
  EXPECT_THROW(r2.Print(job), std::runtime_error);
  EXPECT_TRUE(r2.printer.aborted);
  EXPECT_FALSE(r2.printer.ended);

  PrintRun r3;
  r3.printer.failBegin = true;
  r3.Print(job);
  EXPECT_FALSE(r3.ok);
  EXPECT_EQ(r3.dialogs.boxes.size(), 1u);
}

TEST(PrintLines, TitlesTallerThanThePageStillMoveOn) {
  print::TPrintData job = MakeJob(3);
  job.Header.resize(80, " title");
  PrintRun r;
  r.Print(job);
  ASSERT_TRUE(r.ok);
  // Every page takes one body line after its titles.
  ASSERT_EQ(r.printer.sheets.size(), 3u);
  EXPECT_EQ(r.printer.sheets[2].Lines().back(), "Body 2");
}

TEST(TakeNumber, TakesUpToTwoLeadingDigits) {
  struct Case {
    std::string in;
    int value;
    std::string rest;
  };
  for (const Case& c : std::vector<Case>{{"30abc", 30, "abc"},
                                         {"123", 12, "3"},
                                         {"7x", 7, "x"},
                                         {"x7", 0, "x7"},
                                         {"", 0, ""},
                                         {"05", 5, ""}}) {
    std::string s = c.in;
    EXPECT_EQ(print::TakeNumber(s), c.value) << c.in;
    EXPECT_EQ(s, c.rest) << c.in;
  }
}

// A surface of 800 x 1150: 100 dpi both ways.
TEST(DrawPreview, EmptyBodyShowsOnlyTheFirstTitleLine) {
  print::TPrintData job = MakeJob(0);
  job.TopMargin = 130;
  RecordingSurface s(800, 1150);
  print::DrawPreview(job, s);
  EXPECT_EQ(s.clears, 1);
  EXPECT_EQ(s.Lines(), std::vector<std::string>{" Mail Address   Name   Note Page-9999"});
  EXPECT_EQ(print::PreviewPageCount(job, s), 1);
  EXPECT_EQ(s.face, print::kPreviewFace);
}

TEST(DrawPreview, FirstPageCellsAndLaterPages) {
  print::TPrintData job = MakeJob(150);
  job.TopMargin = 130;
  job.Lines[0] = "a\x8A\xBF" "b\x1BQ";  // a 漢 b ESC Q: drawn as characters
  RecordingSurface s(800, 1150);
  print::DrawPreview(job, s);
  // Cells of 116 twips at 100 dpi, font 16, first line at 130/254 inch.
  EXPECT_NEAR(job.CellWidth, 8.0556, 1e-4);
  EXPECT_EQ(s.fontHeight, 16);
  EXPECT_EQ(s.texts[0].y, 51);
  EXPECT_EQ(s.texts[0].x, 39);
  const auto lines = s.Lines();
  ASSERT_GT(lines.size(), 6u);
  EXPECT_EQ(lines[5], "a\x8A\xBF" "b\x1BQ");
  // The double-byte character is one text of two cells.
  std::vector<testprint::TextCall> row;
  int seen = 0, lastY = -1;
  for (const auto& t : s.texts) {
    if (t.y != lastY) ++seen, lastY = t.y;
    if (seen == 6) row.push_back(t);
  }
  ASSERT_EQ(row.size(), 5u);
  EXPECT_EQ(row[1].text, "\x8A\xBF");
  EXPECT_EQ(row[1].x - row[0].x, 8);
  EXPECT_EQ(row[2].x - row[1].x, 16);
  // The last line starts at or above PageBottom.
  EXPECT_LE(s.texts.back().y, 1140);
  const std::size_t perPage = lines.size() - 5;

  const int pages = print::PreviewPageCount(job, s);
  EXPECT_EQ(pages, static_cast<int>((150 + perPage - 1) / perPage));
  print::DrawPreview(job, s, 2);
  const auto second = s.Lines();
  EXPECT_EQ(second[0], " Mail Address   Name   Note Page-9999");
  EXPECT_EQ(second[5], "Body " + std::to_string(perPage));
  print::DrawPreview(job, s, pages + 5);  // past the end: the last page
  EXPECT_EQ(s.Lines().back(), "Body 149");
}

TEST(DrawPreview, StopsAtTheImageEdge) {
  print::TPrintData job = MakeJob(1);
  job.Lines[0] = std::string(200, 'z');
  RecordingSurface s(800, 1150);
  print::DrawPreview(job, s);
  const auto lines = s.Lines();
  // From x = 39.4 in cells of 8.06 up to the width of 800.
  EXPECT_EQ(lines[5].size(), 95u);
}

}  // namespace
