// The card record: one address of the book, its property lists and the few
// routines that read, write and merge them. Text is CP932 bytes throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The value list of one property line. Almost every line has exactly one
// value; N and ADR lines have several components. All values of an entry are
// packed into one string so that a big book costs one allocation per long
// value and none per short one: a single value is the string itself, several
// values are a header of (count - 1) 32-bit lengths followed by the values.
class TValues {
 public:
  TValues() = default;
  TValues(std::initializer_list<std::string_view> init);

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }
  // const, so that assigning to a value by mistake does not compile.
  const std::string_view operator[](std::size_t i) const noexcept;
  const std::string_view front() const noexcept { return (*this)[0]; }

  void push_back(std::string_view v);
  void push_back(std::string&& v);
  void push_back(const char* v) { push_back(std::string_view(v)); }
  void insert(std::size_t index, std::string_view v);  // index <= size()
  void erase(std::size_t index);                       // index < size()
  void Set(std::size_t index, std::string_view v);     // index < size()
  void Assign(const std::vector<std::string_view>& values);
  void clear() noexcept;

  // All values joined with sep (sep empty: concatenated).
  std::string Join(std::string_view sep) const;
  // True when every value is empty (or there are none).
  bool AllEmpty() const noexcept;
  std::vector<std::string> ToVector() const;

  bool operator==(const TValues& o) const noexcept { return count_ == o.count_ && data_ == o.data_; }

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
  std::size_t HeaderSize() const noexcept { return count_ > 1 ? 4 * (count_ - 1) : 0; }

  std::string data_;
  std::uint32_t count_ = 0;
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

using TvCard = std::vector<TCardRec>;
// ADR entries; each holds exactly seven values in display order.
struct TvAdrCard : TvCard {
  using TvCard::TvCard;
};
using TvOther = std::vector<TOtherRec>;

// Display positions of the seven ADR values.
enum AdrIndex : std::size_t {
  kAdrPostal = 0, kAdrCountry, kAdrRegion, kAdrLocality, kAdrStreet, kAdrExtended, kAdrPoBox,
  kAdrCount
};

struct TAddrRec {
  std::string PrefEmail;
  TvCard Email;
  TvCard FN;
  TvCard N;
  TvCard Note;
  std::string NickName;
  TvCard URL;
  TvCard Key;
  TvAdrCard Adr;
  TvCard Tel;
  TvCard BDay;
  TvOther Other;
  std::uint8_t Mark = 0;

  bool operator==(const TAddrRec&) const = default;
};

using CardPtr = std::unique_ptr<TAddrRec>;

CardPtr NewCard();
void FreeCard(CardPtr& card) noexcept;

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
