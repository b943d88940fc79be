// q7addr-cli export, run as a program: the same bytes as the setup window's
// file export, from the stored layouts and group checks.
#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "print/PrintSetupLogic.h"
#include "support/CliRun.h"

namespace {

using testsupport::CliRun;

CliRun Export(const std::string& args) { return testsupport::RunCli("export " + args); }
std::string Quote(const std::string& s) { return testsupport::ShellQuote(s); }

class ExportCli : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string Book() const { return dir / "book"; }
  std::string Ini() const { return dir / "Q7Addr.ini"; }
  void SetUp() override {
    // "山田" (0x8E 0x52 0x93 0x63) as the name of a card in group Top/A.
    testsupport::WriteBytes(dir / "book/Top/A/a.bab",
                            "BEGIN:VCARD\r\nEMAIL;PREF:yamada@x\r\nFN:\x8e\x52\x93\x63\r\nNOTE:memo\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nEMAIL;PREF:b@x\r\nFN:B\r\nEND:VCARD\r\n");
    testsupport::WriteBytes(dir / "book/Top/B/b.bab", "BEGIN:VCARD\r\nEMAIL;PREF:c@x\r\nFN:C\r\nEND:VCARD\r\n");
    testsupport::WriteBytes(dir / "book/Top/c.bab", "BEGIN:VCARD\r\nEMAIL;PREF:top@x\r\nEND:VCARD\r\n");
  }
  // What the window's logic builds over the same book and file.
  std::string Expected(const std::string& section, int format, const std::string& ini) {
    dlg::NullDialogs quiet;
    store::TAllList book;
    book.Dialogs = &quiet;
    book.Root = Book() + "/";
    store::LoadTree(book);
    print::TPrintData job;
    std::string error;
    EXPECT_TRUE(print::BuildJobFromSettings(book, ini, section, format, true, job, error));
    return print::TPrintSetup::JoinLines(job);
  }
};

TEST_F(ExportCli, DefaultsPrintEveryGroupBelowTheTop) {
  const CliRun r = Export(Quote(Book()));
  ASSERT_EQ(r.status, 0) << r.err;
  // Export defaults, stored format Normal at 150 %: 61-cell lines.
  const std::string want = Expected("Export", -1, "");
  EXPECT_EQ(r.out, want);
  EXPECT_NE(r.out.find("Group[TopA : ]\r\n"), std::string::npos);
  EXPECT_NE(r.out.find("Group[TopB : ]\r\n"), std::string::npos);
  EXPECT_EQ(r.out.find("top@x"), std::string::npos);  // the top-level folder is not checked
  EXPECT_NE(r.out.find(std::string(61, '-') + "\r\n"), std::string::npos);
  EXPECT_NE(r.out.find("\x8e\x52\x93\x63"), std::string::npos);  // raw CP932
}

TEST_F(ExportCli, SettingsFileChoosesLayoutFormatAndGroups) {
  testsupport::WriteBytes(Ini(),
                          "[Group]\r\nTopB=0\r\n[Print]\r\nPrintForm=0\r\nWD211=2\r\nWD212=10\r\nWD214=8\r\n"
                          "Pd213=Sp\r\nPd214=Note\r\n");
  const CliRun r = Export("--section=Print --ini=" + Quote(Ini()) + " " + Quote(Book()));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, Expected("Print", -1, Ini()));
  // Widths 2, 10, the rest (72), 8; the title cut at its column's width.
  const std::string want = "  Mail Addre" + std::string(72, ' ') + "Note    \r\n" + std::string(92, '-') +
                           "\r\nGroup[TopA : ]\r\n  yamada@x  " + std::string(72, ' ') + "memo    \r\n" + "  b@x" +
                           std::string(7 + 72 + 8, ' ') + "\r\n" + std::string(92, '=') + "\r\n";
  EXPECT_EQ(r.out, want);

  // --format overrides the stored format.
  const CliRun d = Export("--section=Print --format=Detail --ini=" + Quote(Ini()) + " " + Quote(Book()));
  ASSERT_EQ(d.status, 0) << d.err;
  EXPECT_EQ(d.out, Expected("Print", print::kDetail, Ini()));
  EXPECT_NE(d.out.find("    Note          memo"), std::string::npos);
}

TEST_F(ExportCli, BadUsage) {
  struct Case {
    std::string args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"", 2, "export needs one ROOT"},
      {"--section=print " + Quote(Book()), 2, "--section must be Print or Export"},
      {"--format=Wide " + Quote(Book()), 2, "--format must be"},
      {"--ini= " + Quote(Book()), 2, "--ini needs a file name"},
      {"--page=2 " + Quote(Book()), 2, "unknown option '--page=2'"},
      {Quote(Book()) + " extra", 2, "export needs one ROOT"},
      {Quote(dir / "nothing"), 1, "no such book folder"},
      {"--ini=" + Quote(dir / "none.ini") + " " + Quote(Book()), 1, "no such settings file"},
  };
  for (const Case& c : cases) {
    const CliRun r = Export(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << c.args;
  }
}

}  // namespace
