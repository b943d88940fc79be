#include "store/AddressFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "support/TestSupport.h"

using namespace store;

namespace {

class Collect : public CardSink {
 public:
  std::vector<CardPtr> cards;
  TAddrRec* AddCard(CardPtr card, bool modified) override {
    EXPECT_FALSE(modified);
    cards.push_back(std::move(card));
    return cards.back().get();
  }
};

std::vector<CardPtr> Read(std::string bytes) {
  Collect c;
  ReadAddressBytes(c, std::move(bytes));
  return std::move(c.cards);
}

std::string WriteAll(const std::vector<CardPtr>& cards) {
  std::string out;
  for (const auto& c : cards) out += CardToBytes(*c);
  return out;
}

std::string Block(const std::string& body) { return "BEGIN:VCARD\r\n" + body + "END:VCARD\r\n"; }

std::vector<std::string> Vals(const TCardRec& e) { return {e.Values.begin(), e.Values.end()}; }

}  // namespace

TEST(AddressFile, BlocksOpenAndCloseOnlyOnExactLines) {
  struct Case {
    const char* name;
    std::string bytes;
    std::size_t cards;
  } cases[] = {
      {"no END", "BEGIN:VCARD\r\nEMAIL;PREF:a@x\r\n", 0},
      {"lower-case begin", "begin:vcard\r\nEMAIL;PREF:a@x\r\nEND:VCARD\r\n", 0},
      {"begin with space", "BEGIN:VCARD \r\nEMAIL;PREF:a@x\r\nEND:VCARD\r\n", 0},
      {"two blocks", Block("EMAIL;PREF:a@x\r\n") + "junk between\r\n" + Block("EMAIL;PREF:b@x\r\n"), 2},
      {"END without BEGIN", "END:VCARD\r\n" + Block("EMAIL;PREF:a@x\r\n"), 1},
      {"card without properties", Block(""), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.bytes).size(), c.cards) << c.name;
}

TEST(AddressFile, BeginInsideOpenCardIsAProperty) {
  auto cards = Read(Block("EMAIL;PREF:a@x\r\nBEGIN:VCARD\r\n"));
  ASSERT_EQ(cards.size(), 1u);
  ASSERT_EQ(cards[0]->Other.size(), 1u);
  EXPECT_EQ(cards[0]->Other[0].Name, "BEGIN");
  EXPECT_EQ(Vals(cards[0]->Other[0]), (std::vector<std::string>{"VCARD"}));
}

TEST(AddressFile, PropertyLinesLandInTheirLists) {
  auto cards = Read(Block(
      "TEL;work;fax:03\r\n"
      "TEL:\r\n"
      "TEL:03;04\r\n"
      "EMAIL;PREF;INTERNET:x@y\r\n"
      "email;pref:first@x\r\n"
      "EMAIL;PREF:second@x\r\n"
      ":novalue\r\n"
      "noColon\r\n"
      "x-foo;type=a:b:c\r\n"
      "X-OSTRA-NICKNAME;X=1:nick\r\n"
      "N:Doe;John;;;\r\n"
      "ADR;WORK:PB;Ext;Street\r\n"
      // 表 has the trail byte 0x5C ('\\'); the name keeps its bytes
      "X-\x95\x5c:v\r\n"));
  ASSERT_EQ(cards.size(), 1u);
  const TAddrRec& c = *cards[0];
  ASSERT_EQ(c.Tel.size(), 2u);
  EXPECT_EQ(c.Tel[0].Params, "WORK;FAX");
  EXPECT_EQ(Vals(c.Tel[1]), (std::vector<std::string>{"03;04"}));
  EXPECT_EQ(c.PrefEmail, "second@x");  // a later PREF line replaces an earlier one
  ASSERT_EQ(c.Email.size(), 1u);
  EXPECT_EQ(c.Email[0].Params, "PREF;INTERNET");
  ASSERT_EQ(c.Other.size(), 2u);
  EXPECT_EQ(c.Other[0].Name, "X-FOO");
  EXPECT_EQ(c.Other[0].Params, "TYPE=A");
  EXPECT_EQ(Vals(c.Other[0]), (std::vector<std::string>{"b:c"}));
  EXPECT_EQ(c.Other[1].Name, "X-\x95\x5c");
  EXPECT_EQ(c.NickName, "nick");
  ASSERT_EQ(c.N.size(), 1u);
  EXPECT_EQ(Vals(c.N[0]), (std::vector<std::string>{"Doe", "John", "", ""}));
  ASSERT_EQ(c.Adr.size(), 1u);
  EXPECT_EQ(Vals(c.Adr[0]), (std::vector<std::string>{"", "", "", "", "Street", "Ext", "PB"}));
}

TEST(AddressFile, ContinuationLinesKeepTheirSpace) {
  auto cards = Read("BEGIN:VCARD\r\nFN:a\r\n b\r\n  c\r\nEND:VCARD\r\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(GetValue(cards[0]->FN, ""), "a b  c");
}

TEST(AddressFile, LineEnds) {
  // CR alone ends a line; LF alone is part of it; 0x1A ends the file.
  EXPECT_EQ(Read("BEGIN:VCARD\rEMAIL;PREF:a@x\rEND:VCARD\r").size(), 1u);
  auto lf = Read("BEGIN:VCARD\r\nFN:a\nb\r\nEMAIL;PREF:a@x\r\nEND:VCARD\r\n");
  ASSERT_EQ(lf.size(), 1u);
  EXPECT_EQ(GetValue(lf[0]->FN, ""), "a\nb");
  EXPECT_TRUE(Read("BEGIN:VCARD\nEMAIL;PREF:a@x\nEND:VCARD\n").empty());
  EXPECT_EQ(Read(Block("EMAIL;PREF:a@x\r\n") + "\x1a" + Block("EMAIL;PREF:b@x\r\n")).size(), 1u);
  EXPECT_TRUE(Read("BEGIN:VCARD\r\nEMAIL;PREF:a@x\r\n\x1a" "END:VCARD\r\n").empty());
}

TEST(AddressFile, QuotedPrintableNotes) {
  struct Case {
    std::string line;
    std::string value;
    std::string params;
  } cases[] = {
      {"NOTE;ENCODING=QUOTED-PRINTABLE:a=0d=0ab", "a\r\nb", ""},
      {"NOTE;encoding=quoted-printable:=3D=3d", "==", ""},
      {"NOTE;ENCODING=QUOTED-PRINTABLE:=zz", std::string(1, '\0'), ""},  // non-digits count as 0
      {"NOTE;ENCODING=QUOTED-PRINTABLE:ab=", "ab=", ""},                 // cut escape kept as is
      {"NOTE;ENCODING=QUOTED-PRINTABLE:ab=4", "ab=4", ""},
      {"NOTE;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=41", "=41", "CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE"},
      {"NOTE:plain=41", "plain=41", ""},
  };
  for (const auto& c : cases) {
    auto cards = Read(Block(c.line + "\r\n"));
    ASSERT_EQ(cards.size(), 1u) << c.line;
    ASSERT_EQ(cards[0]->Note.size(), 1u) << c.line;
    EXPECT_EQ(std::string(cards[0]->Note[0].Values.front()), c.value) << c.line;
    EXPECT_EQ(cards[0]->Note[0].Params, c.params) << c.line;
  }
}

TEST(AddressFile, WriteNoteEncodingAndFolds) {
  struct Case {
    std::string params;
    std::string value;
    std::string written;
  } cases[] = {
      {"", "a b", "NOTE;ENCODING=QUOTED-PRINTABLE:a\r\n b\r\n"},
      {"X-KEEP", "plain", "NOTE;X-KEEP:plain\r\n"},
      {"CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE", "=41", "NOTE;ENCODING=QUOTED-PRINTABLE:=3d41\r\n"},
      {"", "\x82\xa0\r\n~", "NOTE;ENCODING=QUOTED-PRINTABLE:=82=a0=0d=0a~\r\n"},
      {"", "x\x7f", "NOTE;ENCODING=QUOTED-PRINTABLE:x=7f\r\n"},
  };
  for (const auto& c : cases) {
    TAddrRec card;
    card.PrefEmail = "a@x";
    card.Note.push_back({c.params, {c.value}});
    plat::TextWriter w;
    testsupport::TempDir dir;
    ASSERT_TRUE(w.Create(dir / "n.bab"));
    WriteNote(w, card);
    ASSERT_TRUE(w.Close());
    EXPECT_EQ(testsupport::ReadBytes(dir / "n.bab"), c.written) << c.value;
  }
}

TEST(AddressFile, WriteCardLineOrderAndSkipsCardsWithoutAddress) {
  TAddrRec c;
  EXPECT_EQ(CardToBytes(c), "");  // no address: nothing at all
  c.PrefEmail = "p@x";
  c.Other.push_back([] {
    TOtherRec o;
    o.Name = "ORG";
    o.Values.push_back("Co");
    return o;
  }());
  c.BDay.push_back({"", {"2000-01-01"}});
  c.Tel.push_back({"WORK", {"1"}});
  c.Adr.push_back({"", {"P", "C", "R", "L", "S", "E", "B"}});
  c.Key.push_back({"", {"k"}});
  c.URL.push_back({"", {"u"}});
  c.NickName = "nk";
  c.Note.push_back({"", {"n"}});
  c.N.push_back({"", {"F", "G"}});
  c.FN.push_back({"", {"G F"}});
  c.Email.push_back({"INTERNET", {"e@x"}});
  c.Email.push_back({"X", {}});  // no values: a line with nothing after ':'
  EXPECT_EQ(CardToBytes(c),
            "BEGIN:VCARD\r\nEMAIL;PREF:p@x\r\nEMAIL;INTERNET:e@x\r\nEMAIL;X:\r\nFN:G F\r\nN:F;G\r\nNOTE:n\r\n"
            "X-OSTRA-NICKNAME:nk\r\nURL:u\r\nKEY:k\r\nADR:B;E;S;L;R;P;C\r\nTEL;WORK:1\r\n"
            "BDAY:2000-01-01\r\nORG:Co\r\nEND:VCARD\r\n");
}

TEST(AddressFile, AdrComponentCounts) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"ADR:;;;;;;", "ADR:;;;;;;"},
      {"ADR;HOME:PB;Ext;Street", "ADR;HOME:PB;Ext;Street;;;;"},
      {"ADR:1;2;3;4;5;6;7;8;9", "ADR:1;2;3;4;5;6;7"},
  };
  for (const auto& c : cases) {
    auto cards = Read(Block("EMAIL;PREF:a@x\r\n" + c.in + "\r\n"));
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(WriteAll(cards), Block("EMAIL;PREF:a@x\r\n" + c.out + "\r\n")) << c.in;
  }
}

// Write, read back, write again: the same bytes and the same card.
TEST(AddressFile, RoundTripIsStable) {
  std::vector<CardPtr> cards;
  auto add = [&](auto fill) {
    CardPtr c = NewCard();
    fill(*c);
    cards.push_back(std::move(c));
  };
  add([](TAddrRec& c) {
    c.PrefEmail = "taro@example.jp";
    c.FN.push_back({"", {"\x8e\x52\x93\x63 \x91\xbe\x98\x59"}});  // 山田 太郎
    c.N.push_back({"", {"\x8e\x52\x93\x63", "\x91\xbe\x98\x59"}});
    c.Note.push_back({"", {"line 1\r\nline  2 = \x95\x5c\x83\x5c\x7f\xff end "}});  // 表ソ
  });
  add([](TAddrRec& c) {
    c.PrefEmail = "b@x";
    c.Note.push_back({"", {" leading and trailing "}});
    c.Note.push_back({"X-A", {"plain"}});
    c.Adr.push_back({"WORK", {"100-0001", "", "\x93\x8c\x8b\x9e", "", "1-1", "", ""}});  // 東京
    c.Adr.push_back({"HOME", {"", "", "", "", "", "", ""}});
    c.Tel.push_back({"WORK;FAX", {"03"}});
    c.Other.push_back([] {
      TOtherRec o;
      o.Name = "X-FOO";
      o.Params = "A=1;B=2";
      o.Values.push_back("v;w:x");
      return o;
    }());
    c.NickName = "\x82\xa0";
  });
  add([](TAddrRec& c) {
    c.PrefEmail = "c@x";
    std::string bin;
    for (int i = 1; i < 256; ++i) bin.push_back(static_cast<char>(i));
    c.Note.push_back({"", {bin}});
  });
  const std::string first = WriteAll(cards);
  auto back = Read(first);
  ASSERT_EQ(back.size(), cards.size());
  for (std::size_t i = 0; i < cards.size(); ++i) EXPECT_EQ(*back[i], *cards[i]) << i;
  EXPECT_EQ(WriteAll(back), first);
}

// Cards from random bytes in property values still round-trip once written.
TEST(AddressFile, RandomValuesRoundTrip) {
  std::mt19937 rng(7);
  auto text = [&](std::size_t n, bool allowControl) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
      char ch = static_cast<char>(rng() % 256);
      if (!allowControl && (ch == '\r' || ch == '\n' || ch == 0x1a || ch == ';' || ch == ' ')) ch = 'x';
      s.push_back(ch);
    }
    return s;
  };
  std::vector<CardPtr> cards;
  for (int i = 0; i < 200; ++i) {
    CardPtr c = NewCard();
    c.get()->PrefEmail = "u" + std::to_string(i) + "@x";
    c->Note.push_back({"", {text(rng() % 40 + 1, true)}});
    c->FN.push_back({"", {"x" + text(rng() % 20, false)}});
    cards.push_back(std::move(c));
  }
  const std::string first = WriteAll(cards);
  auto back = Read(first);
  ASSERT_EQ(back.size(), cards.size());
  for (std::size_t i = 0; i < cards.size(); ++i) EXPECT_EQ(*back[i], *cards[i]) << i;
  EXPECT_EQ(WriteAll(back), first);
}

TEST(AddressFile, BadInputNeverCrashes) {
  using namespace std::string_literals;
  std::string nul = Block("EMAIL;PREF:a\0b@x\r\nFN:\0\r\n"s);
  auto nulCards = Read(nul);
  ASSERT_EQ(nulCards.size(), 1u);
  EXPECT_EQ(nulCards[0]->PrefEmail, "a\0b@x"s);
  EXPECT_EQ(Read(Block("FN:abc\x81\r\nEMAIL;PREF:x\x9f\r\n")).size(), 1u);  // lead byte at line end
  std::string huge = "BEGIN:VCARD\r\nEMAIL;PREF:a@x\r\nFN:" + std::string(1 << 20, 'y') + "\r\nEND:VCARD\r\n";
  auto big = Read(huge);
  ASSERT_EQ(big.size(), 1u);
  EXPECT_EQ(GetValue(big[0]->FN, "").size(), 1u << 20);
  std::string cont;
  for (int i = 0; i < 1000; ++i) cont += " continued\r\n";
  EXPECT_TRUE(Read(cont).empty());
  EXPECT_TRUE(Read("").empty());
  EXPECT_TRUE(Read("\r\n\r\n\r").empty());
}

TEST(AddressFile, FileReadResults) {
  testsupport::TempDir dir;
  Collect sink;
  EXPECT_EQ(ReadAddressFile(sink, dir / "missing.bab"), ReadResult::OpenError);
  // A line longer than the reader's chunk must come through whole.
  const std::string value(700000, 'v');
  testsupport::WriteBytes(dir / "a.bab", Block("EMAIL;PREF:a@x\r\nFN:" + value + "\r\n") + Block("EMAIL;PREF:b@x\r\n"));
  EXPECT_EQ(ReadAddressFile(sink, dir / "a.bab"), ReadResult::Ok);
  ASSERT_EQ(sink.cards.size(), 2u);
  EXPECT_EQ(GetValue(sink.cards[0]->FN, ""), value);
  // Reading a directory fails after it was opened.
  std::filesystem::create_directory(dir / "d.bab");
  EXPECT_EQ(ReadAddressFile(sink, dir / "d.bab"), ReadResult::ReadError);
}

// Golden files: every tests/data/NAME.in.bab read and written back card by
// card (after the first-address rule) must give NAME.out.bab.
TEST(AddressFile, GoldenFiles) {
  int seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Q7_TEST_DATA_DIR)) {
    const std::string path = entry.path().string();
    const std::string suffix = ".in.bab";
    if (path.size() < suffix.size() || path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    ++seen;
    const std::string expectPath = path.substr(0, path.size() - suffix.size()) + ".out.bab";
    auto cards = Read(testsupport::ReadBytes(path));
    for (auto& c : cards) TakeFirstEmailAsPref(*c);
    EXPECT_EQ(WriteAll(cards), testsupport::ReadBytes(expectPath)) << path;
  }
  EXPECT_GT(seen, 0);
}

// Reading a file in chunks gives what reading the same bytes at once gives,
// wherever the chunk borders fall (inside lines, between CR and LF, before
// continuation lines).
TEST(AddressFile, ChunkBordersDoNotMatter) {
  std::string bytes;
  for (int i = 0; i < 6000; ++i) {
    bytes += "BEGIN:VCARD\r\nEMAIL;PREF:u" + std::to_string(i) + "@x\r\n";
    bytes += "NOTE;ENCODING=QUOTED-PRINTABLE:a\r\n b" + std::string(static_cast<std::size_t>(i % 97), 'c') +
             "\r\n d=0d=0a\r\n";
    bytes += "FN:n" + std::to_string(i) + (i % 3 ? "\r\n" : "\r") + "END:VCARD\r\n";
  }
  ASSERT_GT(bytes.size(), 3u * 256 * 1024);
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir / "big.bab", bytes);
  Collect fromFile;
  ASSERT_EQ(ReadAddressFile(fromFile, dir / "big.bab"), ReadResult::Ok);
  const auto fromBytes = Read(bytes);
  ASSERT_EQ(fromFile.cards.size(), 6000u);
  ASSERT_EQ(fromBytes.size(), 6000u);
  for (std::size_t i = 0; i < fromBytes.size(); ++i) ASSERT_EQ(*fromFile.cards[i], *fromBytes[i]) << i;
  EXPECT_EQ(GetValue(fromBytes[5]->Note, ""), "a bccccc d\r\n");
}

// Lines that used to come back as something else after writing: a card
// read from them must write and read back as the very same card.
TEST(AddressFile, OddLinesSurviveWritingAndReadingAgain) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string written;  // the one card's block after the first write
  } cases[] = {
      // After an empty line a line beginning with a space has nothing to
      // continue; kept as a property " " it would fold into the address.
      {"orphan continuation", "BEGIN:VCARD\rEMAIL:k\r\r :-\rEND:VCARD",
       "BEGIN:VCARD\r\nEMAIL;PREF:k\r\nEND:VCARD\r\n"},
      {"orphan continuation at a CR LF file's start", " X:1\r\nBEGIN:VCARD\r\nEMAIL;PREF:a@x\r\n\r\n X:2\r\nEND:VCARD\r\n",
       "BEGIN:VCARD\r\nEMAIL;PREF:a@x\r\nEND:VCARD\r\n"},
      // Written back as END:VCARD it would cut the card there.
      {"end line in another case", Block("EMAIL;PREF:a@x\r\nend:VCARD\r\nEnd;:VCARD\r\nTEL:1\r\n"),
       Block("EMAIL;PREF:a@x\r\nTEL:1\r\n")},
      {"END with parameters or another value stays",
       Block("EMAIL;PREF:a@x\r\nEND;X:VCARD\r\nend:vcard\r\nEND:VCARD x\r\nTEL:1\r\n"),
       Block("EMAIL;PREF:a@x\r\nTEL:1\r\nEND;X:VCARD\r\nEND:vcard\r\nEND:VCARD x\r\n")},
      // An empty name keeps its ";": ":j" would be skipped on reading.
      {"empty property name", Block("EMAIL;PREF:a@x\r\n;:j\r\n;x:k\r\n"), Block("EMAIL;PREF:a@x\r\n;:j\r\n;X:k\r\n")},
      // A trailing empty N component needs one ";" more to come back.
      {"empty last N component", Block("EMAIL;PREF:a@x\r\nN:Doe;John;;;\r\nN:;\r\nN:x;\r\n"),
       Block("EMAIL;PREF:a@x\r\nN:Doe;John;;;\r\nN:;\r\nN:x\r\n")},
  };
  for (const auto& c : cases) {
    auto first = Read(c.bytes);
    for (auto& card : first) TakeFirstEmailAsPref(*card);
    ASSERT_EQ(first.size(), 1u) << c.name;
    const std::string w1 = WriteAll(first);
    EXPECT_EQ(w1, c.written) << c.name;
    auto second = Read(w1);
    ASSERT_EQ(second.size(), 1u) << c.name;
    EXPECT_EQ(*second[0], *first[0]) << c.name;
    EXPECT_EQ(WriteAll(second), w1) << c.name;
  }
}

// Whatever the bytes, reading, writing, reading and writing again gives the
// same bytes both times. The lines are built from pieces of the syntax, so
// that most of them are near-misses of what the reader looks for.
TEST(AddressFile, ReadWriteReadWriteIsStableForAnyLines) {
  static const char* const kPieces[] = {
      "BEGIN:VCARD", "END:VCARD", "end:VCARD", "EMAIL", "EMAIL;PREF:", "pref", "N:", "ADR:", "NOTE", "FN:",
      "X-OSTRA-NICKNAME:", ";ENCODING=QUOTED-PRINTABLE:", "=", "=0", "=0d", ":", ";", " ", "  ", "\r", "\n",
      "\r\n", "\x1a", "a", "Z", "\x82", "\xa0", "\x95\x5c", "VCARD", "END", "TEL;", "\t", "\x7f", "\xff"};
  std::mt19937 rng(13);
  for (int round = 0; round < 20000; ++round) {
    std::string in = rng() % 2 ? "BEGIN:VCARD\r\nEMAIL;PREF:p@x\r\n" : "";
    const int pieces = static_cast<int>(rng() % 40);
    for (int i = 0; i < pieces; ++i) in += kPieces[rng() % std::size(kPieces)];
    if (rng() % 2) in += "\r\nEND:VCARD\r\n";
    auto first = Read(in);
    const std::string w1 = WriteAll(first);
    auto second = Read(w1);
    const std::string w2 = WriteAll(second);
    ASSERT_EQ(w2, w1) << "input: " << testing::PrintToString(in);
  }
}

TEST(AddressFile, PipeIsNotWaitedFor) {
  testsupport::TempDir dir;
  const std::string fifo = dir / "pipe.bab";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Collect sink;
  EXPECT_EQ(ReadAddressFile(sink, fifo), ReadResult::OpenError);  // returns at once
}
