// q7addr-cli search, run as a program on the sample book and on small books.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/CliRun.h"

namespace {

using testsupport::CliRun;
using testsupport::ShellQuote;

CliRun Search(const std::string& args) { return testsupport::RunCli("search --raw " + args); }

const std::string kSample = ShellQuote(Q7_SAMPLE_BOOK_DIR);

// The lines of `cards` output whose address is one of addrs, in its order.
std::string CardsLines(const std::vector<std::string>& addrs) {
  std::istringstream in(testsupport::RunCli("cards --raw " + kSample).out);
  std::string line, out;
  while (std::getline(in, line))
    for (const auto& a : addrs)
      if (line.rfind(a + "\t", 0) == 0) out += line + "\n";
  return out;
}

// A book of one group whose cards hold a text in one field each.
class SmallBook : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  void SetUp() override {
    testsupport::WriteBytes(dir / "Top/G/a.bab",
                            "BEGIN:VCARD\r\nEMAIL;PREF:url@x\r\nFN:U\r\nURL:http://findme\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nEMAIL;PREF:key@x\r\nFN:K\r\nKEY:findme-key\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nEMAIL;PREF:kana@x\r\nFN:\x83\x41\x83\x61\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nEMAIL;PREF:upper@x\r\nFN:FINDME\r\nEND:VCARD\r\n");
  }
  std::string Book() const { return ShellQuote(dir.path()); }
};

}  // namespace

TEST(SearchCli, PrintsTheHitsInTheFormatOfCards) {
  const CliRun r = Search(kSample + " taro");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, CardsLines({"taro.yamada@example.co.jp"}));
  // Several hits come in book order: "example.jp" is in three addresses.
  const CliRun many = Search(kSample + " EXAMPLE.JP");
  EXPECT_EQ(many.out, CardsLines({"hanako.suzuki@example.jp", "kato.family@example.jp", "mother@example.jp",
                                  "watanabe@example.jp"}));
  EXPECT_EQ(Search(kSample + " nobody-has-this").out, "");
}

TEST(SearchCli, Utf8TextIsConvertedAndOtherBytesAreTakenAsCp932) {
  // 山田 typed as UTF-8, and as its CP932 bytes.
  EXPECT_EQ(Search(kSample + " " + ShellQuote("\xe5\xb1\xb1\xe7\x94\xb0")).out,
            CardsLines({"taro.yamada@example.co.jp"}));
  EXPECT_EQ(Search(kSample + " " + ShellQuote("\x8e\x52\x93\x63")).out, CardsLines({"taro.yamada@example.co.jp"}));
  // A character CP932 cannot hold is refused, and nothing is listed.
  const CliRun bad = Search(kSample + " " + ShellQuote("\xf0\x9f\x98\x80"));
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("CP932"), std::string::npos) << bad.err;
}

TEST_F(SmallBook, TagsAreNamedByTheirSettingsKeys) {
  EXPECT_EQ(Search(Book() + " findme --tags=URL").out, "url@x\tU\tTopG\n");
  EXPECT_EQ(Search(Book() + " findme --tags=Key").out, "key@x\tK\tTopG\n");
  EXPECT_EQ(Search(Book() + " findme --tags=URL,Key").out, "key@x\tK\tTopG\nurl@x\tU\tTopG\n");
  // The default tags search neither list, but do search the name.
  EXPECT_EQ(Search(Book() + " findme").out, "upper@x\tFINDME\tTopG\n");
  const CliRun bad = Search(Book() + " findme --tags=Addr,Mail");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("unknown tag 'Mail'"), std::string::npos) << bad.err;
  EXPECT_EQ(Search(Book() + " findme --tags=").status, 2);
}

TEST_F(SmallBook, CaseAndWithOut) {
  EXPECT_EQ(Search(Book() + " findme --case").out, "");
  EXPECT_EQ(Search(Book() + " FINDME --case").out, "upper@x\tFINDME\tTopG\n");
  EXPECT_EQ(Search(Book() + " --without findme").out,
            "kana@x\t\x83\x41\x83\x61\tTopG\nkey@x\tK\tTopG\nurl@x\tU\tTopG\n");
  // Options may stand anywhere after the command; "--" ends them.
  EXPECT_EQ(Search("--case " + Book() + " -- --x").out, "");
  EXPECT_EQ(Search(Book() + " findme --bogus").status, 2);
  EXPECT_EQ(Search(Book()).status, 2);
}

TEST_F(SmallBook, LettersNeverMatchInsideKana) {
  // アヂ: trail bytes 'A' and 'a'. Neither letter finds the card, with or without case.
  EXPECT_EQ(Search(Book() + " a --tags=Name").out, "");
  EXPECT_EQ(Search(Book() + " A --tags=Name --case").out, "");
  EXPECT_EQ(Search(Book() + " " + ShellQuote("\xe3\x83\x82") + " --tags=Name").out, "kana@x\t\x83\x41\x83\x61\tTopG\n");
}
