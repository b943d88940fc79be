// q7addr-cli print, run as a program: the PDF it writes, its page count under
// copies and ranges, its errors, and that the other commands never start Qt.
#include <gtest/gtest.h>

#include <string>

#include "support/CliRun.h"

namespace {

using testsupport::CliRun;

CliRun Shell(const std::string& command) { return testsupport::RunShell(command); }
CliRun Cli(const std::string& args, const std::string& env = "") { return testsupport::RunCli(args, env); }
std::string Quote(const std::string& s) { return testsupport::ShellQuote(s); }

// Page objects of a PDF ("/Type /Page", not "/Type /Pages"); Qt writes
// them as plain dictionaries.
int PageCount(const std::string& pdf) {
  int n = 0;
  const std::string key = "/Type /Page";
  for (std::size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1))
    if (at + key.size() >= pdf.size() || pdf[at + key.size()] != 's') ++n;
  return n;
}

// A build without Qt has no printing; its print command says so.
bool PrintBuilt() {
  static const bool built = [] {
    const CliRun r = Cli("print " + Quote(Q7_SAMPLE_BOOK_DIR) + " --pdf=/nonexistent/x.pdf");
    return r.err.find("has no printing") == std::string::npos;
  }();
  return built;
}

bool HaveTool(const char* tool) {
  return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// One group of 130 cards: in the Simple layout 132 body lines (the group
// line, the cards, the rule) under 2 title lines: on A4 at 1200 dpi with 5 mm
// margins a page holds 65 lines, so 63, 63 and 6 body lines: three pages.
class PrintBook : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  void SetUp() override {
    if (!PrintBuilt()) GTEST_SKIP() << "built without Qt";
    std::string cards;
    for (int i = 0; i < 130; ++i) {
      char addr[32];
      std::snprintf(addr, sizeof addr, "user%03d@example.jp", i);
      // FN: 山田 (CP932)
      cards += "BEGIN:VCARD\r\nEMAIL;PREF:" + std::string(addr) + "\r\nFN:\x8e\x52\x93\x63 " + std::to_string(i) +
               "\r\nEND:VCARD\r\n";
    }
    testsupport::WriteBytes(dir / "book/Top/G/a.bab", cards);
    testsupport::WriteBytes(dir / "Simple.ini", "[Print]\r\nPrintForm=0\r\n");
  }
  std::string Print(const std::string& pdf, const std::string& options) {
    return "print " + Quote(dir / "book") + " --pdf=" + Quote(dir / pdf) + " --ini=" + Quote(dir / "Simple.ini") +
           " " + options;
  }
};

}  // namespace

TEST(PrintCli, PrintsTheSampleBookIntoAPdf) {
  if (!PrintBuilt()) GTEST_SKIP() << "built without Qt";
  testsupport::TempDir tmp;
  const CliRun r = Cli("print " + Quote(Q7_SAMPLE_BOOK_DIR) + " --pdf=" + Quote(tmp / "out.pdf"),
                       "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "");
  const std::string pdf = testsupport::ReadBytes(tmp / "out.pdf");
  ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(PageCount(pdf), 1);
}

TEST_F(PrintBook, PagesCopiesAndRanges) {
  struct Case {
    const char* options;
    int pages;
  };
  for (const Case& c : {Case{"", 3}, Case{"--copies=2", 6}, Case{"--copies=2 --collate", 6},
                        Case{"--from=2 --to=2", 1}, Case{"--from=2", 2}, Case{"--to=1 --copies=3", 3},
                        // 150 %: 43 lines a page under 5 titles: 38, 38, 38, 18.
                        Case{"--format=Normal --section=Export", 4}}) {
    const CliRun r = Cli(Print("out.pdf", c.options));
    ASSERT_EQ(r.status, 0) << c.options << "\n" << r.err;
    EXPECT_EQ(PageCount(testsupport::ReadBytes(dir / "out.pdf")), c.pages) << c.options;
  }
}

TEST_F(PrintBook, PageTitlesFollowCollation) {
  if (!HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  for (const auto& [options, titles] :
       {std::pair<std::string, std::string>{"--copies=2 --collate", "123123"}, {"--copies=2", "112233"},
        {"--from=3", "3"}}) {
    ASSERT_EQ(Cli(Print("out.pdf", options)).status, 0);
    const CliRun text = Shell("pdftotext -enc UTF-8 " + Quote(dir / "out.pdf") + " -");
    std::string seen;
    for (std::size_t at = text.out.find("Page-"); at != std::string::npos; at = text.out.find("Page-", at + 1))
      seen += text.out[at + 5];
    EXPECT_EQ(seen, titles) << options;
    EXPECT_NE(text.out.find("user129@example.jp"), std::string::npos) << options;
  }
}

TEST_F(PrintBook, BadUsageAndFailures) {
  for (const char* options : {"--copies=0", "--from=x", "--from=3 --to=2", "--format=Wide", "--section=Other",
                              "--bogus", "--pdf="}) {
    const CliRun r = Cli(Print("bad.pdf", options));
    EXPECT_EQ(r.status, 2) << options;
    EXPECT_NE(r.err.find("(see q7addr-cli --help)"), std::string::npos) << options;
    EXPECT_FALSE(testsupport::Exists(dir / "bad.pdf")) << options;
  }
  EXPECT_EQ(Cli("print " + Quote(dir / "book")).status, 2);  // no --pdf

  // A folder that does not exist: the file error, nothing written.
  const CliRun nodir = Cli("print " + Quote(dir / "book") + " --pdf=" + Quote(dir / "no/such/out.pdf"));
  EXPECT_EQ(nodir.status, 1);
  EXPECT_NE(nodir.err.find("out.pdf\nFile create error"), std::string::npos) << nodir.err;

  // A range past the end prints nothing and leaves no file.
  const CliRun past = Cli(Print("past.pdf", "--from=9"));
  EXPECT_EQ(past.status, 1);
  EXPECT_FALSE(testsupport::Exists(dir / "past.pdf"));
  EXPECT_EQ(Cli("print " + Quote(dir / "nobook") + " --pdf=" + Quote(dir / "x.pdf")).status, 1);
}

TEST(PrintCli, NothingCheckedSaysNoPrintData) {
  if (!PrintBuilt()) GTEST_SKIP() << "built without Qt";
  testsupport::TempDir tmp;
  testsupport::WriteBytes(tmp / "book/Top/a.bab", "BEGIN:VCARD\r\nEMAIL;PREF:a@x\r\nEND:VCARD\r\n");
  const CliRun r = Cli("print " + Quote(tmp / "book") + " --pdf=" + Quote(tmp / "out.pdf"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No Print Data !\n");
  EXPECT_FALSE(testsupport::Exists(tmp / "out.pdf"));
}

TEST(PrintCli, OtherCommandsNeverStartQt) {
  // A platform that does not exist would stop any Qt start-up at once.
  const CliRun r = Cli("tree " + Quote(Q7_SAMPLE_BOOK_DIR), "QT_QPA_PLATFORM=no-such-platform");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("\t"), std::string::npos);
}
