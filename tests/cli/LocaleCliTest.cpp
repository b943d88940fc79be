// q7addr-cli under different locales: listings for people follow the
// locale's codeset, file formats and --raw keep the stored bytes; --help,
// bad usage and failures give the documented exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/CliRun.h"

namespace {

using testsupport::CliRun;

const std::string kC = "LC_ALL=C";
const std::string kUtf8 = "LC_ALL=C.UTF-8";

// 山田 太郎 of the sample book, as stored and in UTF-8.
const std::string kYamadaCp932 = "\x8e\x52\x93\x63 \x91\xbe\x98\x59";
const std::string kYamadaUtf8 = "\xe5\xb1\xb1\xe7\x94\xb0 \xe5\xa4\xaa\xe9\x83\x8e";
// 取引先 (a group of the sample book) in both encodings.
const std::string kClientsCp932 = "\x8e\xe6\x88\xf8\x90\xe6";
const std::string kClientsUtf8 = "\xe5\x8f\x96\xe5\xbc\x95\xe5\x85\x88";

std::string Book() { return testsupport::ShellQuote(Q7_SAMPLE_BOOK_DIR); }

bool Has(const std::string& hay, const std::string& needle) { return hay.find(needle) != std::string::npos; }

int Lines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

TEST(LocaleCli, ListingsFollowTheLocaleAndRawKeepsTheStoredBytes) {
  struct Case {
    std::string args;
    std::string env;
    bool utf8;  // expect UTF-8, else the stored CP932 bytes
    std::string cp932, utf8Text;
  };
  const std::vector<Case> cases = {
      {"cards " + Book(), kUtf8, true, kYamadaCp932, kYamadaUtf8},
      {"cards " + Book(), kC, false, kYamadaCp932, kYamadaUtf8},
      {"cards --raw " + Book(), kUtf8, false, kYamadaCp932, kYamadaUtf8},
      {"--raw cards " + Book(), kUtf8, false, kYamadaCp932, kYamadaUtf8},
      {"tree " + Book(), kUtf8, true, kClientsCp932, kClientsUtf8},
      {"tree " + Book(), kC, false, kClientsCp932, kClientsUtf8},
      {"tree " + Book() + " --raw", kUtf8, false, kClientsCp932, kClientsUtf8},
      {"search " + Book() + " yamada", kUtf8, true, kYamadaCp932, kYamadaUtf8},
      {"search " + Book() + " yamada", kC, false, kYamadaCp932, kYamadaUtf8},
      {"search --raw " + Book() + " yamada", kUtf8, false, kYamadaCp932, kYamadaUtf8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.env + " " + c.args);
    const CliRun r = testsupport::RunCli(c.args, c.env);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Has(r.out, c.utf8Text), c.utf8) << r.out;
    EXPECT_EQ(Has(r.out, c.cp932), !c.utf8) << r.out;
  }
  // The same lines either way: only the encoding differs.
  EXPECT_EQ(Lines(testsupport::RunCli("cards " + Book(), kUtf8).out),
            Lines(testsupport::RunCli("cards " + Book(), kC).out));
}

TEST(LocaleCli, BytesThatAreNotCp932StayAsTheyAre) {
  testsupport::TempDir dir;
  // 0xA0 and 0xFD are no CP932 characters; 0x81 before a space has no trail.
  testsupport::WriteBytes(dir / "AddrBook/Top/G/g.bab",
                          "BEGIN:VCARD\r\nEMAIL;PREF:x@y\r\nFN:a\xa0"
                          "b\xfd\x81 c\x83\x41\r\nEND:VCARD\r\n");
  const CliRun r = testsupport::RunCli("cards " + testsupport::ShellQuote(dir / "AddrBook"), kUtf8);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "x@y\ta\xa0"
                   "b\xfd\x81 c\xe3\x82\xa2\tTopG\n");
}

TEST(LocaleCli, FileFormatsIgnoreTheLocale) {
  for (const std::string& args : {"export " + Book(), "export-csv --all " + Book(), "export-vcard --all " + Book(),
                                  "recode " + testsupport::ShellQuote(std::string(Q7_SAMPLE_BOOK_DIR) +
                                                                      "/\xe5\x8f\x8b\xe4\xba\xba/\xe5\xad\xa6"
                                                                      "\xe6\xa0\xa1/School.bab")}) {
    SCOPED_TRACE(args);
    const CliRun c = testsupport::RunCli(args, kC);
    const CliRun u = testsupport::RunCli(args, kUtf8);
    ASSERT_EQ(c.status, 0) << c.err;
    EXPECT_FALSE(c.out.empty());
    EXPECT_EQ(u.out, c.out);
  }
  // The text export stays CP932 under a UTF-8 locale.
  EXPECT_TRUE(Has(testsupport::RunCli("export " + Book(), kUtf8).out, kYamadaCp932));
}

TEST(LocaleCli, HelpAndVersionGoToStandardOutput) {
  const CliRun all = testsupport::RunCli("--help");
  EXPECT_EQ(all.status, 0);
  EXPECT_TRUE(all.err.empty());
  for (const char* cmd : {"recode", "tree", "cards", "resave", "search", "export", "print", "import",
                          "export-vcard", "export-csv"}) {
    SCOPED_TRACE(cmd);
    EXPECT_TRUE(Has(all.out, std::string("  ") + cmd + " "));
    // Also after other arguments, and with arguments that would be wrong.
    for (const std::string& args : {std::string(cmd) + " --help", std::string(cmd) + " " + Book() + " --bogus --help"}) {
      const CliRun r = testsupport::RunCli(args);
      EXPECT_EQ(r.status, 0) << args;
      EXPECT_TRUE(Has(r.out, std::string("q7addr-cli [--combine=0|1] ") + cmd + " ")) << r.out;
      EXPECT_LT(r.out.size(), all.out.size());
      EXPECT_TRUE(r.err.empty());
    }
  }
  const CliRun v = testsupport::RunCli("--version");
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, "q7addr-cli 0.1\n");
}

TEST(LocaleCli, BadUsageIsOneLineAndExitTwo) {
  const std::vector<std::string> bad = {
      "",
      "--x",
      "frobnicate",
      "tree",
      "tree " + Book() + " extra",
      "cards --bogus " + Book(),
      "recode",
      "search " + Book(),
      "search " + Book() + " a --tags=Nope",
      "export " + Book() + " --format=Huge",
      "export-vcard " + Book() + " --version=9",
      "export-csv " + Book() + " --encoding=latin1",
      "import " + Book(),
      "import " + Book() + " --template=9 x.csv",
      "print " + Book(),
      "resave --raw " + Book(),
  };
  for (const std::string& args : bad) {
    SCOPED_TRACE(args);
    const CliRun r = testsupport::RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("q7addr-cli: ", 0), 0u) << r.err;
    EXPECT_TRUE(Has(r.err, "(see q7addr-cli --help)\n")) << r.err;
  }
  EXPECT_EQ(testsupport::RunCli("--x").err, "q7addr-cli: unknown option '--x' (see q7addr-cli --help)\n");
}

TEST(LocaleCli, AMissingFolderIsAFailure) {
  for (const char* cmd : {"tree", "cards", "resave", "export", "export-csv"}) {
    SCOPED_TRACE(cmd);
    const CliRun r = testsupport::RunCli(std::string(cmd) + " /no/such/book", kUtf8);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "/no/such/book")) << r.err;
  }
  EXPECT_EQ(testsupport::RunCli("search /no/such/book x").status, 1);
}

}  // namespace
