// q7addr-cli import: every template on the golden inputs, saved and read
// back; bad arguments and an empty tree fail with one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/CliRun.h"

namespace {

using testsupport::CliRun;

CliRun Cli(const std::string& args) { return testsupport::RunCli(args); }
std::string Q(const std::string& s) { return testsupport::ShellQuote(s); }
std::string Data(const std::string& rel) { return std::string(Q7_TEST_DATA_DIR) + "/import/" + rel; }

class ImportCli : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string Root() { return dir / "book/"; }
  void SetUp() override {
    testsupport::WriteBytes(Root() + "Top/Friends/friends.bab",
                            "BEGIN:VCARD\r\nEMAIL;PREF:alice@example.jp\r\nFN:Alice\r\nEND:VCARD\r\n");
  }
  std::string Cards() { return Cli("cards --raw " + Q(Root())).out; }
};

// Template 3 has a test of its own below.
TEST_F(ImportCli, EveryTemplateImportsAndSaves) {
  struct Row {
    int tmpl;
    std::string input, extra, expectLine, summary;
  };
  const Row rows[] = {
      {0, "csv_twice_combine0/twice.csv", " --map=0:2,1:Name", "new@example.jp\tNew Person\tTop\\(New Imported)",
       "2 cards and 1 groups added"},
      {1, "oe4_30cols/addr.csv", "", "john@example.com\tSmith, John\tTop\\(New Imported)", "3 cards and 1 groups added"},
      {2, "ns4/book.csv", "", "jane@example.org\tJane Doe\tTop\\(New Imported)", "2 cards and 1 groups added"},
      {4, "almail/Address", "", "teacher@example.ac.jp\ta:b\tTop\\(New Imported)\\Friends\\school",
       "8 cards and 3 groups added"},
      {5, "edmax/books", "", "member@example.jp\tClub Member\tTop\\(New Imported)\\Club", "4 cards and 6 groups added"},
      {6, "datula/datula.dat", "", "short@example.jp\tShort\tTop\\(New Imported)", "3 cards and 2 groups added"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.tmpl);
    std::filesystem::remove_all(Root() + "Top/(New Imported)");
    const CliRun run = Cli("import " + Q(Root()) + " --template=" + std::to_string(r.tmpl) + r.extra + " " + Q(Data(r.input)));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(r.summary), std::string::npos) << run.err;
    // Read back from disk by a fresh process.
    const std::string cards = Cards();
    std::string line = r.expectLine;
    // `cards` prints a group's path without the separator after the top level.
    const std::size_t sep = line.find("Top\\");
    line.erase(sep + 3, 1);
    EXPECT_NE(cards.find(line + "\n"), std::string::npos) << cards;
    EXPECT_NE(cards.find("alice@example.jp\tAlice\tTopFriends"), std::string::npos) << cards;
  }
}

TEST_F(ImportCli, Version1BookFolder) {
  const CliRun run = Cli("import " + Q(Root()) + " --template=3 " + Q(Data("v1_book/books")));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("File \"ab.adr\" File open error"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("3 cards and 3 groups added"), std::string::npos) << run.err;
  const std::string cards = Cards();
  EXPECT_NE(cards.find("kyoko@example.jp\t\x92\x86\x91\xba \x8b\x9e\x8e\x71\tTop(New Imported)\\Friends\n"),
            std::string::npos)
      << cards;
}

TEST_F(ImportCli, Utf8IsConvertedAndLossesReported) {
  const CliRun run = Cli("import " + Q(Root()) + " --map=0:1,1:2,2:3 " + Q(Data("csv_any_utf8_bom/utf8bom.csv")));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("kazu@example.jp : FN"), std::string::npos) << run.err;
  // Read as CP932 on purpose: the mapping rows show the raw bytes, the
  // import still runs and the names come in unconverted.
  const CliRun raw = Cli("import " + Q(Root()) + " --encoding=cp932 --map=1:2 " + Q(Data("csv_any_utf8_bom/utf8bom.csv")));
  EXPECT_EQ(raw.status, 0) << raw.err;
}

TEST_F(ImportCli, BadArgumentsFailWithOneLine) {
  struct Row {
    std::string args, message;
  };
  const std::string csv = Q(Data("csv_twice_combine0/twice.csv"));
  const Row rows[] = {
      {"import " + Q(Root()) + " --template=8 " + csv, "bad template"},
      {"import " + Q(Root()) + " --template=x " + csv, "bad template"},
      {"import " + Q(Root()) + " --map=0-2 " + csv, "bad map"},
      {"import " + Q(Root()) + " --map=0:29 " + csv, "bad target"},
      {"import " + Q(Root()) + " --map=9:2 " + csv, "no column 9"},
      {"import " + Q(Root()) + " --template=1 --map=0:2 " + csv, "template 0 only"},
      {"import " + Q(Root()) + " --encoding=latin1 " + csv, "bad encoding"},
      {"import " + Q(Root()) + " " + Q(dir / "missing.csv"), "no such file"},
      {"import " + Q(Root()) + " --template=5 " + Q(dir / "missing"), "no such folder"},
      {"import " + Q(dir / "nobook") + " " + csv, "no such book folder"},
  };
  for (const Row& r : rows) {
    const CliRun run = Cli(r.args);
    EXPECT_NE(run.status, 0) << r.args;
    EXPECT_NE(run.err.find(r.message), std::string::npos) << r.args << "\n" << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  // Nothing was written by any of them.
  EXPECT_FALSE(std::filesystem::exists(Root() + "Top/(New Imported)"));
}

TEST_F(ImportCli, AnEmptyTreeFails) {
  std::filesystem::create_directories(dir / "empty");
  const CliRun run = Cli("import " + Q(dir / "empty") + " " + Q(Data("csv_twice_combine0/twice.csv")));
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("no folder to import into"), std::string::npos) << run.err;
}

}  // namespace
