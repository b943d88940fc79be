// q7addr-cli search, run as a program on the sample book and on small books.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/TestSupport.h"

namespace {

struct SearchRun {
  std::string out, err;
  int status = -1;
};

SearchRun Search(const std::string& args) {
  testsupport::TempDir tmp;
  SearchRun r;
  const std::string cmd = std::string(Q7_CLI_PATH) + " search " + args + " 2>'" + (tmp / "err") + "'";
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = testsupport::ReadBytes(tmp / "err");
  return r;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }
const std::string kSample = Quote(Q7_SAMPLE_BOOK_DIR);

// The lines of `cards` output whose address is one of addrs, in its order.
std::string CardsLines(const std::vector<std::string>& addrs) {
  const std::string cmd = std::string(Q7_CLI_PATH) + " cards " + kSample;
  FILE* p = ::popen(cmd.c_str(), "r");
  std::string all;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) all.append(buf.data(), n);
  ::pclose(p);
  std::istringstream in(all);
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
  std::string Book() const { return Quote(dir.path()); }
};

}  // namespace

TEST(SearchCli, PrintsTheHitsInTheFormatOfCards) {
  const SearchRun r = Search(kSample + " taro");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, CardsLines({"taro.yamada@example.co.jp"}));
  // Several hits come in book order: "example.jp" is in three addresses.
  const SearchRun many = Search(kSample + " EXAMPLE.JP");
  EXPECT_EQ(many.out, CardsLines({"hanako.suzuki@example.jp", "kato.family@example.jp", "mother@example.jp",
                                  "watanabe@example.jp"}));
  EXPECT_EQ(Search(kSample + " nobody-has-this").out, "");
}

TEST(SearchCli, Utf8TextIsConvertedAndOtherBytesAreTakenAsCp932) {
  // 山田 typed as UTF-8, and as its CP932 bytes.
  EXPECT_EQ(Search(kSample + " " + Quote("\xe5\xb1\xb1\xe7\x94\xb0")).out,
            CardsLines({"taro.yamada@example.co.jp"}));
  EXPECT_EQ(Search(kSample + " " + Quote("\x8e\x52\x93\x63")).out, CardsLines({"taro.yamada@example.co.jp"}));
  // A character CP932 cannot hold is refused, and nothing is listed.
  const SearchRun bad = Search(kSample + " " + Quote("\xf0\x9f\x98\x80"));
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
  const SearchRun bad = Search(Book() + " findme --tags=Addr,Mail");
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
  EXPECT_EQ(Search(Book() + " " + Quote("\xe3\x83\x82") + " --tags=Name").out, "kana@x\t\x83\x41\x83\x61\tTopG\n");
}
