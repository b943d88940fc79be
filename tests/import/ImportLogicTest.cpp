// The import dialog's logic and the readers' edge cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/ViewLogic.h"
#include "import/CsvImportLogic.h"
#include "import/ImportTestSupport.h"
#include "mainwin/LogicFixture.h"
#include "platform/Collate.h"

namespace {

using imp::Encoding;
using imp::TImportForm;

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> f;
  imp::SplitCsvLine(line, f);
  return f;
}

TEST(ImportCsvSplit, ReadQuotedJoinsDoubledQuotesAndLeavesTheRest) {
  std::string text = "\"ab\"\"c\",x";
  std::string out;
  imp::ReadQuoted(text, out);
  EXPECT_EQ(out, "ab\"c");
  EXPECT_EQ(text, ",x");
  text = "plain";
  imp::ReadQuoted(text, out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(text, "plain");
}

TEST(ImportCsvSplit, LinesSplitAsTheRulesSay) {
  struct Row {
    std::string line;
    std::vector<std::string> fields;
  };
  const std::vector<Row> rows = {
      {"", {}},
      {" \t ", {}},
      {"a,b,", {"a", "b", ""}},
      {"\"word\"xy,z", {"wordxy", "z"}},
      {"\" a \", b ", {"a", "b"}},
      {"\"un,terminated", {"un,terminated"}},
      {",,", {"", "", ""}},
      {"\"x\"\"y\",\"\"", {"x\"y", ""}},
      // "表" ends with the byte '\\'; "ソ" ends with '\\' too: nothing splits there.
      {"\x95\x5c,\x83\x5c", {"\x95\x5c", "\x83\x5c"}},
  };
  for (const Row& r : rows) EXPECT_EQ(Split(r.line), r.fields) << r.line;
}

TEST(ImportCsvSetters, ComponentsAndEntriesLandWhereTheTargetsSay) {
  store::TAddrRec c;
  imp::ApplyTarget(c, 13, "City");
  ASSERT_EQ(c.Adr.size(), 1u);
  EXPECT_EQ(c.Adr[0].Params, "WORK");
  EXPECT_EQ(c.Adr[0].Values.ToVector(), (std::vector<std::string>{"", "", "", "City", "", "", ""}));
  imp::ApplyTarget(c, 10, "100-0001");  // the same WORK entry
  imp::ApplyTarget(c, 21, "200-0002");  // a HOME entry of its own
  ASSERT_EQ(c.Adr.size(), 2u);
  EXPECT_EQ(c.Adr[0].Values[0], "100-0001");
  EXPECT_EQ(c.Adr[1].Params, "HOME");

  imp::ApplyTarget(c, 17, "Manager");  // position alone: an empty organisation first
  ASSERT_EQ(c.Other.size(), 1u);
  EXPECT_EQ(c.Other[0].Values.ToVector(), (std::vector<std::string>{"", "Manager"}));
  imp::ApplyTarget(c, 16, "Acme");
  ASSERT_EQ(c.Other.size(), 1u);
  EXPECT_EQ(c.Other[0].Values.ToVector(), (std::vector<std::string>{"Acme", "Manager"}));

  imp::ApplyTarget(c, 18, "1");
  imp::ApplyTarget(c, 18, "2");
  imp::ApplyTarget(c, 19, "3");
  ASSERT_EQ(c.Tel.size(), 3u);
  EXPECT_EQ(c.Tel[0].Values[0], "1");
  EXPECT_EQ(c.Tel[1].Values[0], "2");
  EXPECT_EQ(c.Tel[1].Params, "WORK");
  EXPECT_EQ(c.Tel[2].Params, "FAX");

  imp::ApplyTarget(c, 5, "Given");  // first name: family name left empty
  EXPECT_EQ(c.N[0].Values.ToVector(), (std::vector<std::string>{"", "Given"}));
  imp::ApplyTarget(c, 4, "Family");
  EXPECT_EQ(c.N[0].Values.ToVector(), (std::vector<std::string>{"Family", "Given"}));
  imp::ApplyTarget(c, 7, "Dr.");
  EXPECT_EQ(store::GetOtherValue(c.Other, "TITLE", ""), "Dr.");
}

TEST(ImportText, EncodingIsDetectedAndConverted) {
  EXPECT_EQ(imp::DetectEncoding("plain ascii"), Encoding::Cp932);
  EXPECT_EQ(imp::DetectEncoding("\xEF\xBB\xBFplain"), Encoding::Utf8);
  EXPECT_EQ(imp::DetectEncoding("\xE3\x81\x82"), Encoding::Utf8);    // "あ" in UTF-8
  EXPECT_EQ(imp::DetectEncoding("\x82\xA0"), Encoding::Cp932);        // "あ" in CP932
  EXPECT_EQ(imp::DetectEncoding("ok \xE3\x81"), Encoding::Utf8);      // a sample cut in a character
  std::string out;
  EXPECT_EQ(imp::Utf8ToCp932("a\xE3\x81\x82z", out), 0u);
  EXPECT_EQ(out, "a\x82\xA0z");
  EXPECT_EQ(imp::Utf8ToCp932("\xE3\x80\x9C", out), 0u);  // wave dash U+301C -> 0x8160
  EXPECT_EQ(out, "\x81\x60");
  EXPECT_EQ(imp::Utf8ToCp932("x\xF0\x9F\x98\x80y\xFFz\x7f", out), 2u);  // emoji, invalid byte; DEL dropped
  EXPECT_EQ(out, std::string("x") + imp::kLostChar + "y" + imp::kLostChar + "z");
}

TEST(ImportText, EveryLineEndReadsAndEndOfFileByteStops) {
  imp::ImportFile f;
  f.OpenBytes("a\r\nb\nc\rd\r\n\r\ne\x1a" "ignored\r\n", Encoding::Cp932);
  std::vector<std::string> lines;
  std::string l;
  while (f.ReadLine(l)) lines.push_back(l);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  // A byte-order mark is dropped even when Shift-JIS is forced.
  f.OpenBytes("\xEF\xBB\xBF" "abc", Encoding::Cp932);
  ASSERT_TRUE(f.ReadLine(l));
  EXPECT_EQ(l, "abc");
  EXPECT_FALSE(f.ReadLine(l));
}

TEST(ImportText, ChunkBoundariesAndHugeLinesReadWhole) {
  testsupport::TempDir tmp;
  // A CR LF split across the 64 KiB read boundary, then a 10 MB line.
  std::string bytes(65535, 'x');
  bytes += "\r\nnext\n";
  bytes += std::string(10 * 1024 * 1024, 'y');
  bytes += "\nend";
  testsupport::WriteBytes(tmp / "big.csv", bytes);
  imp::ImportFile f;
  ASSERT_TRUE(f.Open(tmp / "big.csv", Encoding::Auto));
  std::string l;
  ASSERT_TRUE(f.ReadLine(l));
  EXPECT_EQ(l.size(), 65535u);
  ASSERT_TRUE(f.ReadLine(l));
  EXPECT_EQ(l, "next");
  ASSERT_TRUE(f.ReadLine(l));
  EXPECT_EQ(l.size(), 10u * 1024 * 1024);
  ASSERT_TRUE(f.ReadLine(l));
  EXPECT_EQ(l, "end");
  EXPECT_FALSE(f.ReadLine(l));
  EXPECT_FALSE(f.Failed());
}

TEST(ImportV1, MarkerTextRunsToTheNextMarker) {
  struct Row {
    std::string remarks, marker, text, left;
  };
  const std::vector<Row> rows = {
      {"tel:03-1234 fax:03-5678 met in Kyoto", "TEL:", "03-1234 ", "fax:03-5678 met in Kyoto"},
      {"fax:03-5678 met in Kyoto", "FAX:", "03-5678 met in Kyoto", ""},
      {"note first TEL:1 ZIP:2", "TEL:", "1 ", "note first ZIP:2"},
      {"no markers", "TEL:", "", "no markers"},
      {"TEL:a:b", "TEL:", "a:b", ""},  // a colon within three characters is no marker
      // "ヂ" is 0x83 0x61: its trail byte 'a' upper-cases to nothing here.
      {"\x83\x61" "tel:5", "TEL:", "5", "\x83\x61"},
  };
  for (const Row& r : rows) {
    std::string rem = r.remarks;
    EXPECT_EQ(imp::TakeMarker(rem, r.marker), r.text) << r.remarks;
    EXPECT_EQ(rem, r.left) << r.remarks;
  }
}

// An import run on a book in a temporary folder, without a main window.
class ImportRun : public ::testing::Test {
 protected:
  testsupport::TempDir tmp;
  testsupport::ScriptedDialogs d;
  store::TAllList book;
  TImportForm form;

  std::string Root() { return tmp / "book/"; }
  void SetUp() override {
    importtest::WriteSmallBook(Root());
    importtest::LoadBook(book, Root(), d);
    form.Init(book, d);
  }
  std::string File(const std::string& name, const std::string& bytes) {
    testsupport::WriteBytes(tmp / name, bytes);
    return tmp / name;
  }
  void Csv(const std::string& bytes, int tmpl = 0) {
    form.Template = tmpl;
    form.SetTemplateMode();
    form.FileChosen(File("in.csv", bytes));
  }
  store::TAddrRec* Card(const std::string& addr) {
    for (store::TAddrRec* c : book.Cards())
      if (c->PrefEmail == addr) return c;
    return nullptr;
  }
  store::TreeNode* Node(const std::string& path) {
    for (store::TreeNode* n : book.Nodes.InOrder())
      if (importtest::PathOf(n) == path) return n;
    return nullptr;
  }
  // The book's first cards stay whatever happens.
  void ExpectBookKept() {
    ASSERT_NE(Card("alice@example.jp"), nullptr);
    EXPECT_EQ(store::GetValue(Card("alice@example.jp")->FN, ""), "Alice");
    EXPECT_NE(Card("bob@example.jp"), nullptr);
    EXPECT_EQ(Node("Top\\Friends")->Group->Count(), 2u);
  }
};

TEST_F(ImportRun, ShowRecordBeyondTheEndShowsTheLastAndTrimsRows) {
  Csv("a,b,c,d\r\ne,f,g\r\nh,i\r\n");
  ASSERT_EQ(form.Rows.size(), 4u);
  EXPECT_TRUE(form.OptionPnlEnabled);
  form.MapColumn(3, 2);
  form.RecNoChange(5);
  EXPECT_EQ(form.RecNo, 3);
  // Two fields: the rows at positions 2 and 3 go, mapped or not.
  ASSERT_EQ(form.Rows.size(), 2u);
  EXPECT_EQ(form.Rows[0].Caption, "h");
  EXPECT_EQ(form.Rows[1].Caption, "i");
  form.RecNoChange(1);
  ASSERT_EQ(form.Rows.size(), 4u);
  EXPECT_EQ(form.Rows[3].TargetIndex, 0);  // a new row, unmapped
}

TEST_F(ImportRun, APreviewThatCannotOpenReportsAndKeepsTheRows) {
  Csv("a,b\r\n");
  const auto rows = form.Rows;
  form.FileChosen(tmp / "missing.csv");
  ASSERT_EQ(d.boxes.size(), 1u);
  EXPECT_EQ(d.boxes[0].text, "missing.csv\r\nFile open error");
  EXPECT_FALSE(form.OptionPnlEnabled);
  EXPECT_EQ(form.Template, -1);
  EXPECT_EQ(form.Rows, rows);
}

TEST_F(ImportRun, OnlyAsManyRowsApplyAsTheLineHasFields) {
  Csv("x@example.jp,Name,Extra,Note text\r\ny@example.jp,Short\r\n");
  form.MapColumn(0, 2);
  form.MapColumn(1, 3);
  form.MapColumn(3, 8);
  // Move the mail row to the bottom: the short line then never reaches it.
  form.SelectedRow = 0;
  for (int i = 0; i < 3; ++i) form.DownBtnClick();
  EXPECT_EQ(form.SelectedRow, 3);
  EXPECT_EQ(form.Rows[3].Source, 0);
  form.ExectClick();
  ASSERT_NE(Card("x@example.jp"), nullptr);
  EXPECT_EQ(store::GetValue(Card("x@example.jp")->Note, ""), "Note text");
  EXPECT_EQ(Card("y@example.jp"), nullptr);  // no address: dropped
}

TEST_F(ImportRun, UncheckingDoesNotStopAColumnButIgnoreDoes) {
  Csv("u@example.jp,Uno,note\r\n");
  form.MapColumn(0, 2);
  form.ImportItemClick(1);
  EXPECT_TRUE(form.PrItemVisible);
  EXPECT_EQ(form.PrItemIndex, 0);
  form.PrItemExit(3);
  EXPECT_FALSE(form.PrItemVisible);
  EXPECT_TRUE(form.Rows[1].Checked);
  EXPECT_EQ(form.Rows[1].Target, "Name");
  form.MapColumn(2, 8);
  form.CheckRow(1, false);  // unchecked by hand: still imported
  form.ImportItemClick(2);
  form.PrItemExit(0);  // "(Ignore)": not imported
  EXPECT_FALSE(form.Rows[2].Checked);
  form.ExectClick();
  store::TAddrRec* c = Card("u@example.jp");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(store::GetValue(c->FN, ""), "Uno");
  EXPECT_TRUE(c->Note.empty());
}

TEST_F(ImportRun, ImportGoesIntoNewImportedCheckedAndAgainIntoTheSame) {
  Csv("n@example.jp\r\n");
  form.MapColumn(0, 2);
  form.ExectClick();
  form.ExectClick();
  store::TreeNode* g = Node("Top\\(New Imported)");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->ImageIndex, store::kImgChecked);
  EXPECT_TRUE(g->Group->Modified);
  EXPECT_EQ(g->Group->Count(), 1u);
  EXPECT_EQ(form.GroupsAdded, 0);  // the second run found the group
  EXPECT_EQ(Node("Top\\Friends")->ImageIndex, store::kImgUnchecked);
  EXPECT_EQ(Card("n@example.jp")->Mark, 1);
  EXPECT_EQ(Card("bob@example.jp")->Mark, 0);
  EXPECT_EQ(book.Nodes.Count(), 3);
}

TEST_F(ImportRun, GroupPathsNestAndDotNamesAreNotCreated) {
  Csv("a@example.jp,Friends\\School\r\nb@example.jp,.hidden\r\nc@example.jp,\\\\\r\n");
  form.MapColumn(0, 2);
  form.MapColumn(1, 1);
  form.ExectClick();
  ASSERT_NE(Node("Top\\(New Imported)\\Friends\\School"), nullptr);
  EXPECT_TRUE(Node("Top\\(New Imported)\\Friends\\School")->Group->Contains(Card("a@example.jp")));
  EXPECT_EQ(Node("Top\\(New Imported)\\.hidden"), nullptr);
  EXPECT_TRUE(Node("Top\\(New Imported)")->Group->Contains(Card("b@example.jp")));
  EXPECT_TRUE(Node("Top\\(New Imported)")->Group->Contains(Card("c@example.jp")));
}

// A path deeper than a book's folders are loaded puts the card into the
// deepest group that is; a group column naming a new group on every line
// gives each its own, in order.
TEST_F(ImportRun, DeepAndManyGroupPaths) {
  std::string deep;
  for (int i = 0; i < 150; ++i) deep += "d\\";
  std::string text = "deep@example.jp," + deep + "\r\n";
  for (int i = 0; i < 600; ++i) text += "m" + std::to_string(i) + "@example.jp,g" + std::to_string(i * 7 % 600) + "\r\n";
  Csv(text);
  form.MapColumn(0, 2);
  form.MapColumn(1, 1);
  form.ExectClick();
  int deepest = 0;
  for (const store::TreeNode* n : book.Nodes.InOrder()) deepest = std::max(deepest, n->Level);
  EXPECT_EQ(deepest, store::kMaxLevels - 1);
  const store::TAddrRec* c = Card("deep@example.jp");
  ASSERT_NE(c, nullptr);
  for (const store::TreeNode* n : book.Nodes.InOrder())
    EXPECT_EQ(n->Group && n->Group->Contains(c), n->Level == store::kMaxLevels - 1) << n->Level;
  const store::TreeNode* imported = Node("Top\\(New Imported)");
  ASSERT_NE(imported, nullptr);
  ASSERT_EQ(imported->Children.size(), 601u);  // "d" and g0..g599
  for (std::size_t i = 1; i < imported->Children.size(); ++i)
    EXPECT_LE(plat::CollateKey(imported->Children[i - 1]->Caption), plat::CollateKey(imported->Children[i]->Caption));
  EXPECT_TRUE(Node("Top\\(New Imported)\\g599")->Group->Contains(Card("m257@example.jp")));  // 257 * 7 % 600
  EXPECT_EQ(form.GroupsAdded, 1 + 98 + 600);
}

TEST_F(ImportRun, Utf8WithAndWithoutBomLosesOnlyWhatCp932CannotHold) {
  for (const std::string& bom : {std::string("\xEF\xBB\xBF"), std::string()}) {
    SCOPED_TRACE(bom.empty() ? "without BOM" : "with BOM");
    d.boxes.clear();
    // "山田" and a snowman U+2603 that CP932 has no code for.
    Csv(bom + "yamada@example.jp,\xE5\xB1\xB1\xE7\x94\xB0\xE2\x98\x83,\xE3\x83\xA1\xE3\x83\xA2\n");
    EXPECT_EQ(form.EncodingChosen, Encoding::Utf8);
    form.MapColumn(0, 2);
    form.MapColumn(1, 3);
    form.MapColumn(2, 8);
    form.ExectClick();
    store::TAddrRec* c = Card("yamada@example.jp");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(store::GetValue(c->FN, ""), "\x8E\x52\x93\x63?");
    EXPECT_EQ(store::GetValue(c->Note, ""), "\x83\x81\x83\x82");  // "メモ" kept
    ASSERT_EQ(form.LossReport.size(), 1u);
    EXPECT_EQ(form.LossReport[0], (imp::LossEntry{"yamada@example.jp", "FN"}));
    ASSERT_FALSE(d.boxes.empty());
    EXPECT_NE(d.boxes.back().text.find("yamada@example.jp : FN"), std::string::npos);
  }
}

TEST_F(ImportRun, TheEncodingChoiceOverridesDetectionAndThePreviewFollows) {
  Csv("\xE3\x83\xA1\xE3\x83\xA2,x\r\n");
  EXPECT_EQ(form.Rows[0].Caption, "\x83\x81\x83\x82");
  form.EncodingChange(Encoding::Cp932);
  EXPECT_EQ(form.EncodingChosen, Encoding::Cp932);
  EXPECT_EQ(form.Rows[0].Caption, "\xE3\x83\xA1\xE3\x83\xA2");  // the raw bytes
  form.EncodingChange(Encoding::Auto);
  EXPECT_EQ(form.Rows[0].Caption, "\x83\x81\x83\x82");
}

TEST_F(ImportRun, BadInputNeverCrashesAndKeepsTheBook) {
  std::string garbage;
  unsigned v = 12345;
  for (int i = 0; i < 200000; ++i) {
    v = v * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>(v >> 16));
  }
  const std::string huge = "\"" + std::string(10 * 1024 * 1024, 'q') + ",a@b\r\n";
  for (int t : {0, 4, 6}) {
    for (const std::string& bytes : {garbage, huge, std::string("\"\"\"\r\n\"\r\n,,,\r\n")}) {
      SCOPED_TRACE(t);
      form.Template = t;
      form.SetTemplateMode();
      form.FileChosen(File("bad", bytes));
      for (int c = 0; c < static_cast<int>(form.Rows.size()) && c < 3; ++c) form.MapColumn(c, c + 1);
      form.ExectClick();
      ExpectBookKept();
    }
  }
  // Folders full of garbage as well.
  std::filesystem::create_directories(tmp / "garbage");
  testsupport::WriteBytes(tmp / "garbage/x.adr", garbage);
  for (int t : {3, 5}) {
    form.Template = t;
    form.SetFolder(tmp / "garbage");
    form.ExectClick();
    ExpectBookKept();
  }
}

TEST_F(ImportRun, DeepNestingIsCappedInsteadOfExhaustingTheStack) {
  std::string al;
  for (int i = 0; i < 5000; ++i) al += "GROUP g\r\n";
  al += "x: deep@example.jp\r\n";
  form.Template = 4;
  form.FileChosen(File("Address", al));
  form.ExectClick();
  ASSERT_NE(Card("deep@example.jp"), nullptr);
  EXPECT_LE(book.Nodes.MaxLevel(), 34);
}

TEST_F(ImportRun, AnEmptyTreeIsReportedAndNothingIsImported) {
  store::TAllList empty;
  testsupport::TempDir emptyRoot;
  importtest::LoadBook(empty, emptyRoot.path(), d);
  TImportForm f;
  f.Init(empty, d);
  f.Template = 0;
  f.FileChosen(File("e.csv", "e@example.jp\r\n"));
  f.MapColumn(0, 2);
  f.ExectClick();
  EXPECT_EQ(empty.Count(), 0u);
  ASSERT_FALSE(d.boxes.empty());
  EXPECT_EQ(d.boxes.back().text, "The group tree is empty: there is no folder to import into.");
}

TEST_F(ImportRun, ACancelledImportKeepsWhatCameIn) {
  std::string csv;
  for (int i = 0; i < 5000; ++i) csv += "c" + std::to_string(i) + "@example.jp\r\n";
  Csv(csv);
  form.MapColumn(0, 2);
  int calls = 0;
  form.Progress = [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_LE(done, total);
    return ++calls < 2;
  };
  form.ExectClick();
  EXPECT_TRUE(form.Cancelled);
  EXPECT_EQ(form.CardsAdded, 2048);
  EXPECT_EQ(Node("Top\\(New Imported)")->Group->Count(), 2048u);
  ExpectBookKept();
}

TEST_F(ImportRun, EmptyFoldersAddNoGroups) {
  std::filesystem::create_directories(tmp / "none");
  for (int t : {3, 5}) {
    form.Template = t;
    form.SetFolder(tmp / "none");
    form.ExectClick();
    EXPECT_EQ(book.Nodes.Count(), 2);
    EXPECT_TRUE(d.boxes.empty());
  }
}

TEST_F(ImportRun, V1FolderListAndLocation) {
  testsupport::WriteBytes(tmp / "home/AddrBook/Club.adr", "c@example.jp\tC\r\n");
  setenv("Q7ADDR_V1HOME", (tmp / "home").c_str(), 1);  // without the final separator
  form.TemplateSelClick(3);
  unsetenv("Q7ADDR_V1HOME");
  EXPECT_TRUE(form.FolderVisible);
  EXPECT_FALSE(form.SelectFileEnabled);
  EXPECT_FALSE(form.ImportItemVisible);
  EXPECT_EQ(form.Folder, tmp / "home/AddrBook/");
  EXPECT_EQ(form.Memo, tmp / "home/AddrBook/\r\n-------\r\nClub.adr\r\n");
  form.ExectClick();
  EXPECT_TRUE(Node("Top\\(New Imported)\\Club")->Group->Contains(Card("c@example.jp")));
}

TEST_F(ImportRun, FileTemplatesOpenTheFileDialogWithTheirFilter) {
  d.inputs.push_back(File("Address", "x: x@example.jp\r\n"));
  form.TemplateSelClick(4);
  EXPECT_EQ(form.InFileName, "Address");
  EXPECT_EQ(form.Memo, "x: x@example.jp\r\n");
  EXPECT_TRUE(form.MemoVisible);
  d.inputs.push_back(std::nullopt);  // cancelled: nothing changes
  form.TemplateSelClick(6);
  EXPECT_EQ(form.FileName, tmp / "Address");
}

// Through the main window: the frame unchecks its groups, the grid shows
// the imported cards, and the editor's group list follows the new tree.
class ImportFromMain : public logictest::MainLogic {};

class RunningHost : public mainwin::MainHost {
 public:
  std::string csv;
  void ShowImportDialog(imp::TImportForm& f) override {
    f.TemplateSelClick(0);
    f.FileChosen(csv);
    f.MapColumn(0, 2);
    f.MapColumn(1, 3);
    f.ExectClick();
  }
};

TEST_F(ImportFromMain, ImportClickRunsTheDialogAndRedraws) {
  StartStandard();
  RunningHost host;
  host.csv = tmp / "in.csv";
  testsupport::WriteBytes(host.csv, "zz@x,Zeta\r\na@x,Alice\r\n");
  main->Host = &host;
  const auto rev = main->TreeRevision;
  main->ImportClick();
  main->Host = nullptr;
  EXPECT_GT(main->TreeRevision, rev);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"zz@x", "a@x"}));  // the one checked group, in file order
  EXPECT_EQ(NodeNamed("(New Imported)")->ImageIndex, store::kImgChecked);
  EXPECT_EQ(NodeNamed("Friends")->ImageIndex, store::kImgUnchecked);
  EXPECT_EQ(Book().Count(), 5u);  // a@x merged (same name), zz@x new
  EXPECT_EQ(View().EntryGroup.size(), static_cast<std::size_t>(Book().Nodes.Count()));
}

}  // namespace
