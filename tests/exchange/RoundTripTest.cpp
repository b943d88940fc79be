// The exchange round trips: a book exported as vCard (3.0 and 4.0) or CSV
// (CP932 and UTF-8) and imported into an empty book gives back the values
// and groups the format can carry; exporting never touches the address
// files; a real third-party parser reads the vCard export.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "exchange/ExchangeTestSupport.h"
#include "exchange/ExportFiles.h"
#include "store/Save.h"
#include "support/CliRun.h"

namespace {

using exchtest::Find;
using exchtest::J;

class RoundTrip : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedDialogs d;
  store::TAllList book;

  void SetUp() override {
    exchtest::WriteBook(dir / "book/");
    importtest::LoadBook(book, dir / "book/", d);
    store::CheckAll(book, true);
  }

  std::string Export(const std::function<void(plat::TextWriter&)>& write, const std::string& name) {
    plat::TextWriter out;
    EXPECT_TRUE(out.Create(dir / name));
    write(out);
    EXPECT_TRUE(out.Close());
    return dir / name;
  }

  // Imports file into a fresh book with only the top-level folder Top.
  void Import(store::TAllList& fresh, int tmpl, const std::string& file) {
    std::filesystem::create_directories(dir / "fresh/Top");
    importtest::LoadBook(fresh, dir / "fresh/", d);
    imp::TImportForm form;
    form.Init(fresh, d);
    form.Template = tmpl;
    form.SetTemplateMode();
    form.FileChosen(file);
    for (int i = 0; tmpl == 0 && i + 1 < imp::kTargetCount; ++i) ASSERT_TRUE(form.MapColumn(i, i + 1));
    form.ExectClick();
    ASSERT_TRUE(form.OptionPnlEnabled);
    EXPECT_TRUE(form.SkipReport.empty());
    EXPECT_TRUE(form.LossReport.empty());
  }
};

TEST_F(RoundTrip, VcardBringsBackEveryCardAndItsGroups) {
  for (exch::VcardVersion v : {exch::VcardVersion::V30, exch::VcardVersion::V40}) {
    SCOPED_TRACE(v == exch::VcardVersion::V30 ? "3.0" : "4.0");
    const auto cards = exch::CardsToExport(book, false);
    ASSERT_EQ(cards.size(), 3u);
    const std::string file =
        Export([&](plat::TextWriter& out) { exch::WriteVcardFile(book, cards, v, out); }, "out.vcf");
    store::TAllList fresh;
    Import(fresh, 7, file);
    ASSERT_EQ(fresh.Count(), book.Count());
    for (const store::TAddrRec* want : book.Cards()) {
      SCOPED_TRACE(want->PrefEmail);
      const store::TAddrRec* got = Find(fresh, want->PrefEmail);
      ASSERT_TRUE(got);
      EXPECT_EQ(got->Email, want->Email);
      EXPECT_EQ(got->FN, want->FN);
      if (want->N.empty() && v == exch::VcardVersion::V30) {
        // 3.0 requires N: the export made one of the name.
        ASSERT_EQ(got->N.size(), 1u);
        EXPECT_EQ(got->N.front().Values.front(), store::GetValue(want->FN, ""));
      } else {
        EXPECT_EQ(got->N, want->N);
      }
      EXPECT_EQ(got->Note, want->Note);
      EXPECT_EQ(got->Tel, want->Tel);
      EXPECT_EQ(got->Adr, want->Adr);
      EXPECT_EQ(got->NickName, want->NickName);
      EXPECT_EQ(got->URL, want->URL);
      EXPECT_EQ(got->Key, want->Key);
      EXPECT_EQ(got->BDay, want->BDay);
    }
    EXPECT_EQ(exchtest::Membership(fresh, "Top\\(New Imported)"), exchtest::Membership(book, "Top"));
    std::filesystem::remove_all(dir / "fresh");
  }
}

TEST_F(RoundTrip, CsvBringsBackTheFieldsOfItsColumns) {
  for (exch::CsvEncoding e : {exch::CsvEncoding::Cp932, exch::CsvEncoding::Utf8}) {
    SCOPED_TRACE(e == exch::CsvEncoding::Utf8 ? "utf-8" : "cp932");
    const auto cards = exch::CardsToExport(book, true);
    const std::string file =
        Export([&](plat::TextWriter& out) { exch::WriteCsvFile(book, cards, e, out); }, "out.csv");
    const std::string bytes = testsupport::ReadBytes(file);
    EXPECT_EQ(bytes.compare(0, 3, "\xEF\xBB\xBF") == 0, e == exch::CsvEncoding::Utf8);
    store::TAllList fresh;
    Import(fresh, 0, file);
    ASSERT_EQ(fresh.Count(), book.Count());  // the header line is no card
    for (const store::TAddrRec* want : book.Cards()) {
      SCOPED_TRACE(want->PrefEmail);
      const store::TAddrRec* got = Find(fresh, want->PrefEmail);
      ASSERT_TRUE(got);
      // A column each: the first of every list.
      EXPECT_EQ(exch::CsvLine(exch::CsvFields(*got, "")), exch::CsvLine(exch::CsvFields(*want, "")));
    }
    const store::TAddrRec* hanako = Find(fresh, "hanako@example.jp");
    EXPECT_EQ(store::GetValue(hanako->Note, ""), J("一行目\r\n二行目, with; marks \\ and \"quotes\""));
    EXPECT_EQ(hanako->NickName, J("はな"));
    // The first group of each card comes back as its group.
    const auto m = exchtest::Membership(fresh, "Top\\(New Imported)");
    EXPECT_EQ(m.at("hanako@example.jp"), std::set<std::string>{"Friends"});
    EXPECT_EQ(m.at("taro@example.com"), std::set<std::string>{"Work"});
    std::filesystem::remove_all(dir / "fresh");
  }
}

TEST_F(RoundTrip, ExportingNeverChangesTheAddressFiles) {
  ASSERT_TRUE(store::SaveGroup(book, book.Nodes.Node(1)));  // a file written by the program
  std::map<std::string, std::string> before;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir / "book"))
    if (e.is_regular_file()) before[e.path().string()] = testsupport::ReadBytes(e.path().string());
  const auto cards = exch::CardsToExport(book, true);
  Export([&](plat::TextWriter& out) { exch::WriteVcardFile(book, cards, exch::VcardVersion::V40, out); }, "a.vcf");
  Export([&](plat::TextWriter& out) { exch::WriteCsvFile(book, cards, exch::CsvEncoding::Utf8, out); }, "a.csv");
  std::map<std::string, std::string> after;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir / "book"))
    if (e.is_regular_file()) after[e.path().string()] = testsupport::ReadBytes(e.path().string());
  EXPECT_EQ(after, before);
}

// Debian's python3-vobject (scripts/install-deps) reads the export back.
TEST_F(RoundTrip, AnotherParserReadsTheVcardExport) {
  const auto cards = exch::CardsToExport(book, true);
  for (exch::VcardVersion v : {exch::VcardVersion::V30, exch::VcardVersion::V40}) {
    const std::string file = Export(
        [&](plat::TextWriter& out) { exch::WriteVcardFile(book, cards, v, out); }, "check.vcf");
    const std::string script = dir / "check.py";
    testsupport::WriteBytes(script,
                            "import sys, vobject\n"
                            "for c in vobject.readComponents(open(sys.argv[1], encoding='utf-8').read()):\n"
                            "    emails = [e.value for e in c.contents.get('email', [])]\n"
                            "    tels = [t.value for t in c.contents.get('tel', [])]\n"
                            "    notes = [n.value.replace('\\n', '|') for n in c.contents.get('note', [])]\n"
                            "    cats = [','.join(x.value) for x in c.contents.get('categories', [])]\n"
                            "    print(c.fn.value, emails, tels, notes, cats, sep='\\t')\n");
    const testsupport::CliRun r =
        testsupport::RunShell("/usr/bin/python3 " + testsupport::ShellQuote(script) + " " + testsupport::ShellQuote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Ann O'Neil, Jr.\t['ann@example.org']\t['070-1111-2222']\t[]\t['Friends']\n"
              "山田 花子\t['hanako@example.jp', 'hana@home.example.jp']\t['03-1234-5678', '03-1234-5679']\t"
              "['一行目|二行目, with; marks \\\\ and \"quotes\"']\t['Friends,Work\\\\Tokyo']\n"
              "佐藤 太郎\t['taro@example.com']\t['045-000-1111']\t['表示テスト']\t['Work']\n");
  }
}

}  // namespace

namespace {

// The CSV import reads a quoted field over line ends, as spreadsheet
// programs write notes; a quote inside a field opens nothing.
TEST(CsvMultiLine, QuotedFieldsGoOnOverLineEnds) {
  testsupport::TempDir dir;
  testsupport::ScriptedDialogs d;
  importtest::WriteSmallBook(dir / "book/");
  store::TAllList book;
  importtest::LoadBook(book, dir / "book/", d);
  testsupport::WriteBytes(dir / "in.csv",
                          "a@x.jp,\"line one\r\nline \"\"two\"\"\r\n\r\nline four\",Ann\r\n"
                          "b@x.jp,5\" disk,Bob\r\n"
                          "c@x.jp, \"spaced\" ,Cid\r\n");
  imp::TImportForm form;
  form.Init(book, d);
  form.Template = 0;
  form.FileChosen(dir / "in.csv");
  ASSERT_TRUE(form.MapColumn(0, 2));
  ASSERT_TRUE(form.MapColumn(1, 8));
  ASSERT_TRUE(form.MapColumn(2, 3));
  form.ExectClick();
  EXPECT_EQ(form.CardsAdded, 3);
  EXPECT_EQ(store::GetValue(exchtest::Find(book, "a@x.jp")->Note, ""), "line one\r\nline \"two\"\r\n\r\nline four");
  EXPECT_EQ(store::GetValue(exchtest::Find(book, "a@x.jp")->FN, ""), "Ann");
  EXPECT_EQ(store::GetValue(exchtest::Find(book, "b@x.jp")->Note, ""), "5\" disk");
  EXPECT_EQ(store::GetValue(exchtest::Find(book, "c@x.jp")->Note, ""), "spaced");
}

}  // namespace
