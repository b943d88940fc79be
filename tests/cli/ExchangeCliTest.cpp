// q7addr-cli import --template=7, export-vcard and export-csv: the checked
// groups from the settings file in the book folder, --all, the versions and
// encodings, a round trip through the files, and bad arguments.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "exchange/ExchangeTestSupport.h"
#include "support/CliRun.h"

namespace {

using testsupport::CliRun;

CliRun Cli(const std::string& args) { return testsupport::RunCli(args); }
std::string Q(const std::string& s) { return testsupport::ShellQuote(s); }

class ExchangeCli : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string Root() { return dir / "book/"; }
  void SetUp() override { exchtest::WriteBook(Root()); }
  std::size_t Count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
  }
};

TEST_F(ExchangeCli, ExportVcardTakesTheCheckedGroupsOrAll) {
  // Work unchecked in the main window's settings: taro is in no checked group.
  testsupport::WriteBytes(Root() + "Q7Addr.ini", "[Group]\r\nTopWork=0\r\n");
  struct Row {
    std::string args, version;
    std::size_t cards;
  };
  const Row rows[] = {{"", "VERSION:3.0", 2}, {" --version=4.0", "VERSION:4.0", 2}, {" --all", "VERSION:3.0", 3}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.args);
    const CliRun run = Cli("export-vcard " + Q(Root()) + r.args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Count(run.out, "BEGIN:VCARD\r\n"), r.cards);
    EXPECT_EQ(Count(run.out, r.version + "\r\n"), r.cards);
    EXPECT_EQ(run.out.find("taro@") != std::string::npos, r.cards == 3);
    EXPECT_NE(run.out.find("FN:\xE5\xB1\xB1\xE7\x94\xB0 \xE8\x8A\xB1\xE5\xAD\x90\r\n"), std::string::npos);  // UTF-8
    EXPECT_NE(run.err.find(std::to_string(r.cards) + " cards exported"), std::string::npos);
  }
}

TEST_F(ExchangeCli, ExportCsvInBothEncodings) {
  const CliRun sjis = Cli("export-csv " + Q(Root()));
  ASSERT_EQ(sjis.status, 0) << sjis.err;
  EXPECT_EQ(sjis.out.rfind("\"Group Name\",\"Mail Address\",\"Name\",", 0), 0u) << sjis.out;
  EXPECT_NE(sjis.out.find("\"Friends\",\"hanako@example.jp\",\"" + exchtest::J("山田 花子") + "\""), std::string::npos);
  EXPECT_EQ(Count(sjis.out, "\r\n"), 5u);  // the header, three cards, the line break of a note
  EXPECT_NE(sjis.out.find(exchtest::J("\"一行目\r\n二行目, with; marks \\ and \"\"quotes\"\"\"")), std::string::npos);
  const CliRun utf8 = Cli("export-csv " + Q(Root()) + " --encoding=utf-8");
  ASSERT_EQ(utf8.status, 0) << utf8.err;
  EXPECT_EQ(utf8.out.rfind("\xEF\xBB\xBF\"Group Name\"", 0), 0u);
  EXPECT_NE(utf8.out.find("\"\xE5\xB1\xB1\xE7\x94\xB0 \xE8\x8A\xB1\xE5\xAD\x90\""), std::string::npos);
}

TEST_F(ExchangeCli, ExportedFilesImportIntoAnotherBook) {
  const std::string other = dir / "other/";
  std::filesystem::create_directories(other + "Top");
  const std::string vcf = dir / "out.vcf", csv = dir / "out.csv";
  ASSERT_EQ(testsupport::RunShell(std::string(Q7_CLI_PATH) + " export-vcard " + Q(Root()) + " > " + Q(vcf)).status, 0);
  CliRun run = Cli("import " + Q(other) + " --template=7 " + Q(vcf));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("3 cards and 4 groups added"), std::string::npos) << run.err;
  const std::string cards = Cli("cards --raw " + Q(other)).out;
  EXPECT_NE(cards.find("hanako@example.jp\t" + exchtest::J("山田 花子") +
                       "\tTop(New Imported)\\Friends;Top(New Imported)\\Work\\Tokyo\n"),
            std::string::npos)
      << cards;

  std::filesystem::remove_all(other + "Top");
  std::filesystem::create_directories(other + "Top");
  ASSERT_EQ(testsupport::RunShell(std::string(Q7_CLI_PATH) + " export-csv " + Q(Root()) + " > " + Q(csv)).status, 0);
  std::string map;
  for (int i = 0; i < 28; ++i) map += (i ? "," : "") + std::to_string(i) + ":" + std::to_string(i + 1);
  run = Cli("import " + Q(other) + " --map=" + map + " " + Q(csv));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("3 cards and 3 groups added"), std::string::npos) << run.err;
  EXPECT_NE(Cli("cards --raw " + Q(other)).out.find("taro@example.com\t" + exchtest::J("佐藤 太郎") + "\tTop(New Imported)\\Work\n"),
            std::string::npos);
}

TEST_F(ExchangeCli, BadArgumentsFailWithOneLine) {
  const std::string rows[] = {"export-vcard " + Q(Root()) + " --version=2.1", "export-csv " + Q(Root()) + " --encoding=latin1",
                              "export-csv " + Q(Root()) + " --version=3.0", "export-vcard", "import " + Q(Root()) + " --template=8 x"};
  for (const std::string& r : rows) {
    SCOPED_TRACE(r);
    const CliRun run = Cli(r);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_EQ(Cli("export-vcard " + Q(dir / "none")).status, 1);
  // A file without any vCard: said so, nothing added, no empty group left.
  testsupport::WriteBytes(dir / "plain.vcf", "just,some,csv\r\n");
  const CliRun plain = Cli("import " + Q(Root()) + " --template=7 " + Q(dir / "plain.vcf"));
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.err.find("No vCard (BEGIN:VCARD) in this file."), std::string::npos) << plain.err;
  EXPECT_FALSE(std::filesystem::exists(Root() + "Top/(New Imported)"));
  EXPECT_EQ(Cli("export-csv " + Q(Root()) + " --ini=" + Q(dir / "none.ini")).status, 1);
}

}  // namespace
