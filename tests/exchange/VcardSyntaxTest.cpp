// The vCard line syntax on its own: parameters in every spelling, folding of
// each version, quoted-printable soft breaks, escapes (never inside a CP932
// character), and the writer's folding; then bad input through the import.
#include <gtest/gtest.h>

#include <random>

#include "exchange/ExchangeTestSupport.h"
#include "exchange/VcardMap.h"
#include "exchange/VcardSyntax.h"
#include "store/Save.h"

namespace {

using exch::VcardVersion;
using exchtest::J;

std::vector<exch::VLine> Lines(const std::string& bytes) {
  exch::VLineReader r(bytes);
  std::vector<exch::VLine> out;
  exch::VLine l;
  while (r.Next(l)) out.push_back(l);
  return out;
}

TEST(VcardSyntax, TypeParametersInEverySpellingGiveTheSameList) {
  const char* spellings[] = {"TEL;TYPE=WORK,VOICE:1", "TEL;type=work;type=voice:1", "TEL;WORK;VOICE:1",
                             "TEL;TYPE=\"work,voice\":1", "item3.TEL;Type=Work;VOICE:1"};
  for (const char* s : spellings) {
    SCOPED_TRACE(s);
    exch::VLine l;
    ASSERT_TRUE(exch::ParseVLine(s, l));
    EXPECT_EQ(l.Name, "TEL");
    EXPECT_EQ(l.Types(), (std::vector<std::string>{"WORK", "VOICE"}));
    EXPECT_EQ(l.Value, "1");
  }
  exch::VLine l;
  ASSERT_TRUE(exch::ParseVLine("item1.EMAIL;type=INTERNET:a@b", l));
  EXPECT_EQ(l.Group, "item1");
  EXPECT_FALSE(exch::ParseVLine("no colon here", l));
}

TEST(VcardSyntax, FoldingAndSoftBreaksAreUndoneByVersion) {
  struct Row {
    std::string in, value;
  };
  const Row rows[] = {
      // 3.0/4.0: the one leading white-space character goes.
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:abc\r\n def\r\n\tghi\r\nEND:VCARD\r\n", "abcdefghi"},
      // 2.1 keeps it: its folding only broke lines before white space.
      {"BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE:abc\r\n def\r\nEND:VCARD\r\n", "abc def"},
      // A quoted-printable soft break joins a line whatever it starts with.
      {"BEGIN:VCARD\nVERSION:2.1\nNOTE;ENCODING=QUOTED-PRINTABLE:ab=\nc=3D=\n=0D=0Ad\nEND:VCARD\n", "abc=\r\nd"},
      // Bare LF and bare CR line ends.
      {"BEGIN:VCARD\rVERSION:4.0\rNOTE:x\r y\rEND:VCARD\r", "xy"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    const std::vector<exch::VLine> lines = Lines(r.in);
    ASSERT_EQ(lines.size(), 4u);
    const exch::VLine& note = lines[2];
    if (note.QuotedPrintable())
      EXPECT_EQ(exch::DecodeQuotedPrintable(note.Value), r.value);
    else
      EXPECT_EQ(note.Value, r.value);
  }
}

TEST(VcardSyntax, EscapesAndSplitsNeverLookInsideADoubleByteCharacter) {
  using V = std::vector<std::string>;
  EXPECT_EQ(exch::SplitValue("a\\,b,c\\;d;e\\\\f\\ng", ',', VcardVersion::V30, false),
            (V{"a,b", "c;d;e\\f\r\ng"}));
  EXPECT_EQ(exch::SplitValue("a\\;b;c\\nd", ';', VcardVersion::V21, false), (V{"a;b", "c\\nd"}));
  // "ソ" is 0x83 0x5C: its trail byte is no escape and no separator.
  const std::string so = J("ソフト");
  EXPECT_EQ(exch::SplitValue(so + ";" + so, ';', VcardVersion::V21, true), (V{so, so}));
  EXPECT_EQ(exch::SplitValue(so + "\\;x", ';', VcardVersion::V30, true), (V{so + ";x"}));
}

TEST(VcardSyntax, WriterEscapesAndFoldsAt75OctetsWithoutSplittingACharacter) {
  std::string esc;
  exch::EscapeText("a,b;c\\d\r\ne\nf", esc);
  EXPECT_EQ(esc, "a\\,b\\;c\\\\d\\ne\\nf");
  std::string text = "NOTE:";
  for (int i = 0; i < 60; ++i) text += "\xE6\x97\xA5";  // "日", three octets each
  std::string out;
  exch::AppendFolded(out, text);
  std::string unfolded;
  std::size_t start = 0;
  while (start < out.size()) {
    const std::size_t end = out.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    const std::string line = out.substr(start, end - start);
    EXPECT_LE(line.size(), 75u);
    unfolded += start == 0 ? line : line.substr(1);
    if (start > 0) {
      EXPECT_EQ(line[0], ' ');
      EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80u) << "a character was split";
    }
    start = end + 2;
  }
  EXPECT_EQ(unfolded, text);
}

TEST(VcardSyntax, PreferredAddressByEveryMarking) {
  struct Row {
    std::string lines, pref;
  };
  const Row rows[] = {
      {"VERSION:2.1\r\nEMAIL:a@x\r\nEMAIL;PREF:b@x\r\n", "b@x"},
      {"VERSION:3.0\r\nEMAIL:a@x\r\nEMAIL;TYPE=INTERNET,PREF:b@x\r\n", "b@x"},
      {"VERSION:4.0\r\nEMAIL;PREF=2:a@x\r\nEMAIL;PREF=1:b@x\r\nEMAIL:c@x\r\n", "b@x"},
      {"VERSION:3.0\r\nEMAIL:a@x\r\nEMAIL:b@x\r\n", "a@x"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lines);
    const std::string bytes = "BEGIN:VCARD\r\n" + r.lines + "END:VCARD\r\n";
    exch::VcardReader reader(bytes, imp::Encoding::Auto);
    exch::VcardCard c;
    ASSERT_TRUE(reader.Next(c));
    EXPECT_EQ(c.Card->PrefEmail, r.pref);
    EXPECT_EQ(c.Card->Email.size() + 1, std::count(r.lines.begin(), r.lines.end(), '@') + 0u);
    EXPECT_FALSE(reader.Next(c));
  }
}

// ---- bad input through the import: no crash, nothing of the book lost ----

class BadInput : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedDialogs d;
  store::TAllList book;
  imp::TImportForm form;

  void SetUp() override {
    importtest::WriteSmallBook(dir / "book/");
    importtest::LoadBook(book, dir / "book/", d);
    form.Init(book, d);
    form.Template = 7;
    form.SetTemplateMode();
  }
  void Run(const std::string& bytes) {
    testsupport::WriteBytes(dir / "in.vcf", bytes);
    form.FileChosen(dir / "in.vcf");
    form.ExectClick();
    EXPECT_TRUE(exchtest::Find(book, "alice@example.jp"));
    EXPECT_TRUE(exchtest::Find(book, "bob@example.jp"));
    EXPECT_EQ(store::GetValue(exchtest::Find(book, "alice@example.jp")->Tel, "WORK"), "03-0000-0001");
  }
};

TEST_F(BadInput, AMissingEndKeepsEveryCardItHas) {
  Run("BEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:one@x.jp\r\nFN:One\r\n"   // no END: the next BEGIN closes it
      "BEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:two@x.jp\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:three@x.jp\r\nFN:Three\r\n");  // cut off at the end
  EXPECT_TRUE(form.OptionPnlEnabled);
  EXPECT_EQ(form.CardsAdded, 3);
  EXPECT_EQ(store::GetValue(exchtest::Find(book, "one@x.jp")->FN, ""), "One");
  EXPECT_EQ(store::GetValue(exchtest::Find(book, "three@x.jp")->FN, ""), "Three");
}

TEST_F(BadInput, ATenMegabyteBase64PhotoIsKeptWhole) {
  std::string photo(10u << 20, 'A');
  std::string folded;
  for (std::size_t i = 0; i < photo.size(); i += 74) folded += (i ? "\r\n " : "") + photo.substr(i, 74);
  Run("BEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:big@x.jp\r\nPHOTO;ENCODING=b;TYPE=JPEG:" + folded +
      "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:after@x.jp\r\nEND:VCARD\r\n");
  const store::TAddrRec* big = exchtest::Find(book, "big@x.jp");
  ASSERT_TRUE(big);
  ASSERT_EQ(big->Other.size(), 1u);
  EXPECT_EQ(big->Other[0].Name, "PHOTO");
  EXPECT_EQ(big->Other[0].Values.front().size(), photo.size());
  EXPECT_TRUE(exchtest::Find(book, "after@x.jp"));
}

TEST_F(BadInput, BinaryGarbageNeverCrashes) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 20; ++round) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
      const auto r = static_cast<unsigned>(rng());
      // Mostly random bytes, with pieces of the syntax mixed in.
      if (r % 50 == 0)
        bytes += (r / 50) % 2 ? "\r\nBEGIN:VCARD\r\n" : "\r\nEMAIL;ENCODING=QUOTED-PRINTABLE:=";
      else
        bytes.push_back(static_cast<char>(r & 0xFF));
    }
    Run(bytes);
  }
  EXPECT_TRUE(form.OptionPnlEnabled);  // each run came to its end
  // What was imported is saved and read back whole: no byte of the garbage
  // (0x1A ends a file's reading, CR a line) reached an address file raw.
  std::vector<std::string> before;
  for (const store::TAddrRec* c : book.Cards()) before.push_back(c->PrefEmail);
  for (store::TreeNode* n : book.Nodes.InOrder()) {
    if (n->Level > 0 && n->Group->Modified) {
      ASSERT_TRUE(store::SaveGroup(book, n));
    }
  }
  store::TAllList again;
  importtest::LoadBook(again, dir / "book/", d);
  std::vector<std::string> after;
  for (const store::TAddrRec* c : again.Cards()) after.push_back(c->PrefEmail);
  EXPECT_GT(before.size(), 2u);
  EXPECT_EQ(after, before);
}

}  // namespace
