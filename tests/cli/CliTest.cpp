// The command-line companion, run as a program.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "support/CliRun.h"

namespace {

using testsupport::CliRun;

CliRun Cli(const std::string& args) { return testsupport::RunCli(args); }
std::string Quote(const std::string& s) { return testsupport::ShellQuote(s); }

}  // namespace

TEST(Cli, RecodeReproducesSampleFilesByteForByte) {
  int files = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(Q7_SAMPLE_BOOK_DIR)) {
    if (e.path().extension() != ".bab") continue;
    ++files;
    const CliRun r = Cli("recode " + Quote(e.path().string()));
    EXPECT_EQ(r.status, 0) << e.path();
    EXPECT_EQ(r.out, testsupport::ReadBytes(e.path().string())) << e.path();
  }
  EXPECT_GE(files, 4);
}

TEST(Cli, RecodeStatusAndUsage) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir / "a.bab", "BEGIN:VCARD\r\nEMAIL:only@x\r\nEND:VCARD\r\n");
  const CliRun r = Cli("recode " + Quote(dir / "missing.bab") + " " + Quote(dir / "a.bab"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "BEGIN:VCARD\r\nEMAIL;PREF:only@x\r\nEND:VCARD\r\n");  // the other file still runs
  EXPECT_EQ(Cli("").status, 2);
  EXPECT_EQ(Cli("recode").status, 2);
}

TEST(Cli, TreeAndCardsOfSampleBook) {
  const CliRun tree = Cli(std::string("tree --raw ") + Quote(Q7_SAMPLE_BOOK_DIR));
  ASSERT_EQ(tree.status, 0);
  // 仕事 (work) holds 取引先 (clients, nickname "clients") with four cards.
  EXPECT_NE(tree.out.find("*-\x8e\xe6\x88\xf8\x90\xe6\tclients\t4\n"), std::string::npos) << tree.out;
  const CliRun cards = Cli(std::string("cards --raw ") + Quote(Q7_SAMPLE_BOOK_DIR));
  ASSERT_EQ(cards.status, 0);
  // Yamada is in two groups: 仕事取引先 and 友人学校, in tree order.
  EXPECT_NE(cards.out.find("taro.yamada@example.co.jp\t\x8e\x52\x93\x63 \x91\xbe\x98\x59\t"
                           "\x8e\x64\x8e\x96\x8e\xe6\x88\xf8\x90\xe6;\x97\x46\x90\x6c\x8a\x77\x8d\x5a\n"),
            std::string::npos)
      << cards.out;
  EXPECT_EQ(Cli("cards /no/such/book").status, 1);
}

TEST(Cli, ResaveWritesEveryGroupInCanonicalForm) {
  testsupport::TempDir dir;
  std::filesystem::copy(Q7_SAMPLE_BOOK_DIR, dir / "book", std::filesystem::copy_options::recursive);
  const CliRun r = Cli("resave " + Quote(dir / "book"));
  EXPECT_EQ(r.status, 0);
  // The sample files are already in the written form, so they come back the same.
  for (const auto& e : std::filesystem::recursive_directory_iterator(Q7_SAMPLE_BOOK_DIR)) {
    if (e.path().extension() != ".bab") continue;
    const auto rel = std::filesystem::relative(e.path(), Q7_SAMPLE_BOOK_DIR);
    EXPECT_EQ(testsupport::ReadBytes((std::filesystem::path(dir / "book") / rel).string()),
              testsupport::ReadBytes(e.path().string()))
        << rel;
  }
}
