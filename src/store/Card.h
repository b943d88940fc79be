// The card record: one address of the book, its property lists and the few
// routines that read, write and merge them. Text is CP932 bytes throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

// Where the cards of a loaded book keep their lists and values. A book owns
// one: loading puts every list and value of 100,000 cards into a few large
// chunks instead of a million heap blocks, and when the book goes, Drop()
// turns the single frees into nothing and the chunks are released at once.
// Freed blocks are reused while the book lives, so a ReLoad that merges
// every card again does not grow it.
class CardArena final : public std::pmr::memory_resource {
 public:
  CardArena();
  CardArena(const CardArena&) = delete;
  CardArena& operator=(const CardArena&) = delete;
  ~CardArena() override;
  // From now on deallocation is a no-op; only the owner of every block in
  // here may call it, just before all of them go.
  void Drop() noexcept { dropping_ = true; }
  // Bytes taken from the kernel for chunks; they do not show in the heap's
  // own statistics.
  std::size_t MappedBytes() const noexcept { return chunks_.size() * kChunk; }
  // While a big book is read, a helper thread maps and touches the next
  // chunks ahead of the reader: the kernel's zeroing of fresh pages, a good
  // part of loading, then runs on another core. It starts only once the
  // book has taken a few chunks, so small books never start it; off again,
  // chunks made ahead and not taken are given back.
  void PrepareAhead(bool on);

 private:
  void* do_allocate(std::size_t bytes, std::size_t align) override;
  void do_deallocate(void* p, std::size_t bytes, std::size_t align) override;
  bool do_is_equal(const std::pmr::memory_resource& o) const noexcept override { return this == &o; }

  // Blocks up to kSmallMax bytes are cut from large chunks in steps of 8
  // bytes and kept on one free list per size when freed; bigger ones come
  // from the heap with a link in front, so that they go with the arena too.
  static constexpr std::size_t kGrain = 8;
  static constexpr std::size_t kSmallMax = 1024;
  static constexpr std::size_t kChunk = std::size_t(2) << 20;
  struct FreeBlock { FreeBlock* next; };
  struct Big { Big* prev; Big* next; };
  void* NewChunkBlock(std::size_t size);

  struct Ahead;
  void* TakeChunk();

  FreeBlock* free_[kSmallMax / kGrain + 1] = {};
  std::vector<void*> chunks_;
  char* cur_ = nullptr;
  char* end_ = nullptr;
  Big bigs_{&bigs_, &bigs_};
  bool dropping_ = false;
  bool aheadWanted_ = false;
  std::unique_ptr<Ahead> ahead_;
};

// The memory that new cards, lists and value lists take theirs from: the
// heap, or a book's arena while that book loads (UseCardMemory). A list or
// value list keeps the memory it was made with; a copy takes the current one.
std::pmr::memory_resource* CardMemory() noexcept;

class UseCardMemory {
 public:
  explicit UseCardMemory(std::pmr::memory_resource* m) noexcept;
  ~UseCardMemory();
  UseCardMemory(const UseCardMemory&) = delete;
  UseCardMemory& operator=(const UseCardMemory&) = delete;

 private:
  std::pmr::memory_resource* prev_;
};

// The value list of one property line. Almost every line has exactly one
// value; N and ADR lines have several components. All values of an entry are
// packed into one string so that a big book costs one block per long value
// and none per short one: a single value is the string itself, several values
// are a header of end offsets (one 32-bit slot per value but the last, with
// room to grow) followed by the values, so that any value is found at once
// and appending is amortised constant time.
class TValues {
 public:
  TValues() noexcept : data_(CardMemory()) {}
  TValues(std::initializer_list<std::string_view> init);
  TValues(const TValues& o) : data_(o.data_, CardMemory()), count_(o.count_), slots_(o.slots_) {}
  TValues(TValues&& o) noexcept
      : data_(std::move(o.data_)), count_(std::exchange(o.count_, 0)), slots_(std::exchange(o.slots_, 0)) {}
  TValues& operator=(const TValues& o);
  TValues& operator=(TValues&& o) noexcept;
  ~TValues() = default;

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }
  // const, so that assigning to a value by mistake does not compile.
  const std::string_view operator[](std::size_t i) const noexcept;
  const std::string_view front() const noexcept { return (*this)[0]; }

  void push_back(std::string_view v);
  void push_back(std::string&& v) { push_back(std::string_view(v)); }
  void push_back(const char* v) { push_back(std::string_view(v)); }
  void insert(std::size_t index, std::string_view v);  // index <= size()
  void erase(std::size_t index);                       // index < size()
  void Set(std::size_t index, std::string_view v);     // index < size()
  void Assign(const std::vector<std::string_view>& values);
  void clear() noexcept;

  // All values joined with sep (sep empty: concatenated).
  std::string Join(std::string_view sep) const;
  // True when every value is empty (or there are none).
  bool AllEmpty() const noexcept { return data_.size() == HeaderSize(); }
  std::vector<std::string> ToVector() const;

  bool operator==(const TValues& o) const noexcept;
  const std::pmr::memory_resource* Memory() const noexcept { return data_.get_allocator().resource(); }

  class Iter {
   public:
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    Iter() = default;
    Iter(const TValues* o, std::size_t i) : o_(o), i_(i) {}
    std::string_view operator*() const { return (*o_)[i_]; }
    Iter& operator++() { ++i_; return *this; }
    Iter operator++(int) { Iter t = *this; ++i_; return t; }
    bool operator==(const Iter& x) const { return i_ == x.i_; }
   private:
    const TValues* o_ = nullptr;
    std::size_t i_ = 0;
  };
  Iter begin() const { return {this, 0}; }
  Iter end() const { return {this, count_}; }

 private:
  std::size_t HeaderSize() const noexcept { return count_ > 1 ? 4 * std::size_t(slots_) : 0; }
  std::uint32_t Slot(std::size_t k) const noexcept;
  void SetSlot(std::size_t k, std::uint32_t end) noexcept;
  // Rebuilds the packed form with room for `slots` offsets.
  void Repack(const std::vector<std::string_view>& values, std::size_t slots);

  std::pmr::string data_;
  std::uint32_t count_ = 0;
  std::uint32_t slots_ = 0;  // offset slots in the header (count_ > 1)
};

// One property line in memory.
struct TCardRec {
  std::string Params;  // upper-cased parameter text, or empty
  TValues Values;
  bool operator==(const TCardRec&) const = default;
};

// One line of a property without a list of its own, written back as it came.
struct TOtherRec : TCardRec {
  std::string Name;  // upper-cased property name
  bool operator==(const TOtherRec&) const = default;
};

// The lists take their memory from CardMemory() when made (see CardArena).
using TvCard = std::pmr::vector<TCardRec>;
// ADR entries; each holds exactly seven values in display order.
struct TvAdrCard : TvCard {
  using TvCard::TvCard;
  TvAdrCard() : TvCard(CardMemory()) {}
};
using TvOther = std::pmr::vector<TOtherRec>;

// Display positions of the seven ADR values.
enum AdrIndex : std::size_t {
  kAdrPostal = 0, kAdrCountry, kAdrRegion, kAdrLocality, kAdrStreet, kAdrExtended, kAdrPoBox,
  kAdrCount
};

struct TAddrRec {
  std::string PrefEmail;
  TvCard Email = TvCard(CardMemory());
  TvCard FN = TvCard(CardMemory());
  TvCard N = TvCard(CardMemory());
  TvCard Note = TvCard(CardMemory());
  std::string NickName;
  TvCard URL = TvCard(CardMemory());
  TvCard Key = TvCard(CardMemory());
  TvAdrCard Adr;
  TvCard Tel = TvCard(CardMemory());
  TvCard BDay = TvCard(CardMemory());
  TvOther Other = TvOther(CardMemory());
  std::uint8_t Mark = 0;

  bool operator==(const TAddrRec&) const = default;

  // A card itself lives in CardMemory() too, so that a book's cards go with
  // its arena; the block remembers where it came from.
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;
};

using CardPtr = std::unique_ptr<TAddrRec>;

CardPtr NewCard();
void FreeCard(CardPtr& card) noexcept;
// True when the card (one made by NewCard), a list or a value of it takes
// its memory from m.
bool CardUsesMemory(const TAddrRec& card, const std::pmr::memory_resource* m);

std::string GetValue(const TvCard& list, std::string_view params);
std::string GetOtherValue(const TvOther& list, std::string_view name, std::string_view params);
void SetValue(TvCard& list, std::string_view params, std::string value);
void ReplaceEntry(TvCard& list, TCardRec entry);
void SplitValues(TvCard& list, TCardRec entry);
// The splits of SplitValues and SplitAdr on a text, into a value list.
void SplitValuesText(TValues& out, std::string_view text);
void SplitAdrText(TValues& out, std::string_view text);
void SplitAdr(TvAdrCard& list, TCardRec entry);
void MergeList(TvCard& dest, TvCard& source);
void MergeList(TvOther& dest, TvOther& source);
void MergeCard(TAddrRec& dest, CardPtr source);
void CopyMissing(TvCard& dest, const TvCard& source);
void CopyMissing(TvOther& dest, const TvOther& source);
bool IsExtProp(std::string_view name) noexcept;

// A card without a preferred address takes the first value of its first
// EMAIL entry, which is removed from Email.
void TakeFirstEmailAsPref(TAddrRec& card);

}  // namespace store
