// Value lists stay linear however many components a line has, and the
// memory a loaded book keeps its cards in never outlives what is in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory_resource>
#include <string>
#include <vector>

#include "store/AddressFile.h"
#include "store/Book.h"
#include "store/Card.h"
#include "support/TestSupport.h"

using namespace store;

namespace {

// Counts the blocks taken, so that a test can see how often a value list
// rebuilds itself.
class CountingMemory : public std::pmr::memory_resource {
 public:
  std::size_t allocations = 0;
  std::size_t live = 0;

 private:
  void* do_allocate(std::size_t bytes, std::size_t align) override {
    ++allocations;
    ++live;
    return std::pmr::new_delete_resource()->allocate(bytes, align);
  }
  void do_deallocate(void* p, std::size_t bytes, std::size_t align) override {
    --live;
    std::pmr::new_delete_resource()->deallocate(p, bytes, align);
  }
  bool do_is_equal(const std::pmr::memory_resource& o) const noexcept override { return this == &o; }
};

std::vector<std::string> Vals(const TValues& v) { return {v.begin(), v.end()}; }

class Keep : public CardSink {
 public:
  std::vector<CardPtr> cards;
  TAddrRec* AddCard(CardPtr card, bool) override {
    cards.push_back(std::move(card));
    return cards.back().get();
  }
};

}  // namespace

TEST(CardMemory, AppendingManyValuesRebuildsTheListOnlyLogarithmicallyOften) {
  CountingMemory counting;
  const UseCardMemory use(&counting);
  TValues v;
  constexpr std::size_t kValues = 100000;
  for (std::size_t i = 0; i < kValues; ++i) v.push_back(i % 7 ? std::string_view("ab") : std::string_view());
  ASSERT_EQ(v.size(), kValues);
  // One rebuild per doubling of the offset room and of the bytes: a rebuild
  // per value would be 100,000.
  EXPECT_LT(counting.allocations, 80u);
  EXPECT_EQ(v[0], "");
  EXPECT_EQ(v[1], "ab");
  EXPECT_EQ(v[kValues - 1], (kValues - 1) % 7 ? "ab" : "");
  EXPECT_FALSE(v.AllEmpty());
}

TEST(CardMemory, EditsKeepEveryValueInPlace) {
  struct Step {
    const char* what;
    std::vector<std::string> want;
  };
  TValues v{"a", "", "ccc"};
  std::vector<Step> seen;
  v.push_back("d");
  seen.push_back({"push_back", Vals(v)});
  v.insert(0, "z");
  seen.push_back({"insert front", Vals(v)});
  v.erase(2);
  seen.push_back({"erase the empty one", Vals(v)});
  v.Set(1, "AA");
  seen.push_back({"set", Vals(v)});
  v.push_back(v[0]);  // a value of the list itself
  seen.push_back({"push_back own value", Vals(v)});
  const std::vector<std::vector<std::string>> want = {
      {"a", "", "ccc", "d"}, {"z", "a", "", "ccc", "d"}, {"z", "a", "ccc", "d"},
      {"z", "AA", "ccc", "d"}, {"z", "AA", "ccc", "d", "z"}};
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(seen[i].want, want[i]) << seen[i].what;
  EXPECT_EQ(v.Join(";"), "z;AA;ccc;d;z");
  // Lists built with different room for offsets are still equal by value.
  TValues same;
  same.Assign({"z", "AA", "ccc", "d", "z"});
  EXPECT_EQ(v, same);
  same.Set(4, "y");
  EXPECT_FALSE(v == same);
  TValues empties{"", ""};
  EXPECT_TRUE(empties.AllEmpty());
  empties.push_back("");
  EXPECT_TRUE(empties.AllEmpty());
  empties.push_back("x");
  EXPECT_FALSE(empties.AllEmpty());
}

TEST(CardMemory, HugeNameAndAddressLinesRoundTripByteForByte) {
  // 300,000 components used to take seconds to write: each value was found
  // by walking from the first.
  std::string n = "N:";
  for (int i = 0; i < 300000; ++i) n += i ? (i % 1000 ? ";x" : ";\x8e\x52") : "a";
  std::string adr = "ADR;WORK:";
  for (int i = 0; i < 7; ++i) adr += std::string(i ? ";" : "") + std::string(50000, static_cast<char>('a' + i));
  const std::string file = "BEGIN:VCARD\r\nEMAIL;PREF:big@example.com\r\n" + n + "\r\n" + adr + "\r\nEND:VCARD\r\n";
  Keep sink;
  ReadAddressBytes(sink, file);
  ASSERT_EQ(sink.cards.size(), 1u);
  const TAddrRec& c = *sink.cards[0];
  ASSERT_EQ(c.N.size(), 1u);
  EXPECT_EQ(c.N[0].Values.size(), 300000u);
  EXPECT_EQ(c.N[0].Values[1000], "\x8e\x52");
  ASSERT_EQ(c.Adr.size(), 1u);
  EXPECT_EQ(c.Adr[0].Values[kAdrPoBox], std::string(50000, 'a'));
  EXPECT_EQ(c.Adr[0].Values[kAdrCountry], std::string(50000, 'g'));
  EXPECT_EQ(CardToBytes(c), file);
}

TEST(CardMemory, CardsOfABookAndCopiesOutlastNothingTheyShouldNot) {
  testsupport::TempDir tmp;
  testsupport::WriteBytes(tmp / "Book/G/a.bab",
                          "BEGIN:VCARD\r\nEMAIL;PREF:a@example.com\r\nFN:A long enough name to leave the string\r\n"
                          "N:Doe;John;;Jr\r\nTEL;WORK:03-1234-5678\r\nEND:VCARD\r\n"
                          "BEGIN:VCARD\r\nEMAIL;PREF:b@example.com\r\nFN:B\r\nEND:VCARD\r\n");
  TCardRec copied;
  CardPtr removed;
  CardPtr fromHeap = NewCard();  // made outside any book, as the importers do
  fromHeap->PrefEmail = "a@example.com";
  SetValue(fromHeap->URL, "", "http://www.example.com/a/path/long/enough/to/leave/the/string");
  TOtherRec org;
  org.Name = "ORG";
  org.Values.push_back("An organisation name of some length");
  fromHeap->Other.push_back(org);
  {
    auto book = std::make_unique<TAllList>();
    book->Root = tmp / "Book/";
    LoadTree(*book);
    ASSERT_EQ(book->Count(), 2u);
    TAddrRec* a = book->At(0);
    copied = a->FN[0];
    // Merging a card made elsewhere into a loaded one, as an import does.
    book->CurGroup = book->Groups().front().get();
    SetValue(fromHeap->FN, "", GetValue(a->FN, ""));
    EXPECT_EQ(book->AddCard(std::move(fromHeap), true), a);
    EXPECT_EQ(GetValue(a->URL, ""), "http://www.example.com/a/path/long/enough/to/leave/the/string");
    // A card taken out of the book is the caller's until it frees it.
    TAddrRec* b = book->At(1);
    for (const auto& g : book->Groups()) g->RemoveFirst(b);
    removed = book->Remove(b);
    ASSERT_TRUE(removed);
    EXPECT_EQ(book->Count(), 1u);
    // Loading again merges every card into the one the book has.
    LoadTree(*book);
    EXPECT_EQ(book->Count(), 2u);
    EXPECT_EQ(GetValue(book->At(0)->N, ""), "Doe;John;;Jr");
  }
  // The book and its memory are gone; the copy is still whole.
  EXPECT_EQ(copied.Values.front(), "A long enough name to leave the string");
  EXPECT_EQ(removed->PrefEmail, "b@example.com");
  FreeCard(removed);
}

// A book big enough to take many chunks is read while a helper thread
// prepares them: every card must come out as a plain read outside any book
// gives it, and the book must let them all go again.
TEST(CardMemory, ABigBookReadWithChunksPreparedAheadKeepsEveryCardWhole) {
  testsupport::TempDir tmp;
  std::string file;
  for (int i = 0; i < 30000; ++i) {
    const std::string n = std::to_string(i);
    file += "BEGIN:VCARD\r\nEMAIL;PREF:user" + n + "@example.com\r\nFN:Name number " + n +
            " with some length\r\nN:Family" + n + ";Given;;\r\nADR;WORK:;;" + n +
            " Long Street;Town;Region;100-" + n + ";Japan\r\nTEL;HOME:03-" + n +
            "\r\nNOTE:A note that is long enough to leave the string " + n + "\r\nEND:VCARD\r\n";
  }
  testsupport::WriteBytes(tmp / "Book/G/a.bab", file);
  Keep plain;
  ReadAddressBytes(plain, file);
  std::vector<std::string> want;
  for (const CardPtr& c : plain.cards) want.push_back(CardToBytes(*c));
  std::sort(want.begin(), want.end());

  auto book = std::make_unique<TAllList>();
  book->Root = tmp / "Book/";
  LoadTree(*book);
  std::vector<std::string> got;
  for (const TAddrRec* c : book->Cards()) got.push_back(CardToBytes(*c));
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, want);
  // Loading again merges into the same cards and keeps them whole.
  LoadTree(*book);
  got.clear();
  for (const TAddrRec* c : book->Cards()) got.push_back(CardToBytes(*c));
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, want);
  book.reset();
}

// Blocks cut from chunks a helper made ahead hold what was written to them,
// with the helper started, stopped and started again in between.
TEST(CardMemory, ChunksMadeAheadHoldTheirBlocks) {
  CardArena arena;
  std::vector<std::pair<unsigned char*, std::size_t>> blocks;
  for (int round = 0; round < 3; ++round) {
    arena.PrepareAhead(round != 1);
    for (std::size_t i = 0; i < 20000; ++i) {
      const std::size_t size = 8 + (i * 37) % 1000;
      auto* p = static_cast<unsigned char*>(arena.allocate(size, 8));
      std::memset(p, static_cast<int>((blocks.size() * 131) & 0xff), size);
      blocks.emplace_back(p, size);
    }
  }
  arena.PrepareAhead(false);
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    const auto [p, size] = blocks[k];
    const unsigned char want = static_cast<unsigned char>((k * 131) & 0xff);
    ASSERT_TRUE(p[0] == want && p[size - 1] == want) << "block " << k;
  }
}
