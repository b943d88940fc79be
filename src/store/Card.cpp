#include "store/Card.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Sjis.h"

namespace store {

// ---- TValues ---------------------------------------------------------------

TValues::TValues(std::initializer_list<std::string_view> init) {
  Assign(std::vector<std::string_view>(init));
}

const std::string_view TValues::operator[](std::size_t i) const noexcept {
  if (count_ <= 1) return data_;
  std::size_t off = HeaderSize();
  std::uint32_t len = 0;
  for (std::size_t k = 0; k < i; ++k) {
    std::memcpy(&len, data_.data() + 4 * k, 4);
    off += len;
  }
  if (i + 1 < count_) {
    std::memcpy(&len, data_.data() + 4 * i, 4);
    return std::string_view(data_).substr(off, len);
  }
  return std::string_view(data_).substr(off);
}

void TValues::Assign(const std::vector<std::string_view>& values) {
  // Callers pass views that do not point into data_ (see insert, Set).
  count_ = static_cast<std::uint32_t>(values.size());
  if (count_ <= 1) {
    data_.assign(count_ ? values.front() : std::string_view());
    return;
  }
  std::size_t total = HeaderSize();
  for (auto v : values) total += v.size();
  data_.clear();
  data_.reserve(total);
  for (std::size_t k = 0; k + 1 < values.size(); ++k) {
    const auto len = static_cast<std::uint32_t>(values[k].size());
    data_.append(reinterpret_cast<const char*>(&len), 4);
  }
  for (auto v : values) data_.append(v);
}

void TValues::push_back(std::string&& v) {
  if (count_ == 0) {
    data_ = std::move(v);
    count_ = 1;
  } else {
    push_back(std::string_view(v));
  }
}

void TValues::push_back(std::string_view v) {
  if (count_ == 0) {
    data_.assign(v);
    count_ = 1;
  } else {
    insert(count_, v);
  }
}

void TValues::insert(std::size_t index, std::string_view v) {
  const std::string keep(v);  // v may point into data_
  auto all = ToVector();
  all.insert(all.begin() + static_cast<std::ptrdiff_t>(index), keep);
  Assign(std::vector<std::string_view>(all.begin(), all.end()));
}

void TValues::erase(std::size_t index) {
  auto all = ToVector();
  all.erase(all.begin() + static_cast<std::ptrdiff_t>(index));
  Assign(std::vector<std::string_view>(all.begin(), all.end()));
}

void TValues::Set(std::size_t index, std::string_view v) {
  const std::string keep(v);
  auto all = ToVector();
  all[index] = keep;
  Assign(std::vector<std::string_view>(all.begin(), all.end()));
}

void TValues::clear() noexcept {
  data_.clear();
  count_ = 0;
}

std::vector<std::string> TValues::ToVector() const {
  std::vector<std::string> out;
  out.reserve(count_);
  for (auto v : *this) out.emplace_back(v);
  return out;
}

std::string TValues::Join(std::string_view sep) const {
  if (count_ <= 1) return data_;
  std::string out;
  out.reserve(data_.size() + sep.size() * count_);
  for (std::size_t i = 0; i < count_; ++i) {
    if (i) out += sep;
    out += (*this)[i];
  }
  return out;
}

bool TValues::AllEmpty() const noexcept { return data_.size() == HeaderSize(); }

// ---- card ------------------------------------------------------------------

CardPtr NewCard() { return std::make_unique<TAddrRec>(); }

void FreeCard(CardPtr& card) noexcept { card.reset(); }

namespace {

template <class List>
auto FindParams(List& list, std::string_view upperParams) {
  return std::find_if(list.begin(), list.end(),
                      [&](const TCardRec& e) { return e.Params == upperParams; });
}

}  // namespace

std::string GetValue(const TvCard& list, std::string_view params) {
  const std::string up = sjis::Upper(params);
  auto it = FindParams(list, up);
  return it == list.end() ? std::string() : it->Values.Join(";");
}

std::string GetOtherValue(const TvOther& list, std::string_view name, std::string_view params) {
  const std::string upName = sjis::Upper(name);
  const std::string upParams = sjis::Upper(params);
  auto it = std::find_if(list.begin(), list.end(), [&](const TOtherRec& e) {
    return e.Name == upName && e.Params == upParams;
  });
  return it == list.end() ? std::string() : it->Values.Join(";");
}

void ReplaceEntry(TvCard& list, TCardRec entry) {
  sjis::UpperInPlace(entry.Params);
  auto it = FindParams(list, entry.Params);
  if (it != list.end()) list.erase(it);
  if (!entry.Values.AllEmpty()) list.push_back(std::move(entry));
}

void SetValue(TvCard& list, std::string_view params, std::string value) {
  TCardRec e;
  e.Params = std::string(params);
  e.Values.push_back(std::move(value));
  ReplaceEntry(list, std::move(e));
}

void SplitValuesText(TValues& out, std::string_view r) {
  std::vector<std::string_view> comp;
  while (!r.empty()) {
    const std::size_t p = r.find(';');
    if (p == std::string_view::npos) {
      comp.push_back(r);
      break;
    }
    comp.push_back(r.substr(0, p));
    r.remove_prefix(p + 1);
  }
  out.Assign(comp);
}

void SplitAdrText(TValues& out, std::string_view r) {
  // File order: PO box; extended; street; locality; region; postal; country.
  // Components 1-6 go to the front in turn and the seventh to index 1, which
  // gives postal, country, region, locality, street, extended, PO box.
  std::array<std::string_view, kAdrCount> comp{};
  bool usedUp = false;
  for (std::size_t k = 0; k < kAdrCount && !usedUp; ++k) {
    const std::size_t p = r.find(';');
    if (p == std::string_view::npos) {
      comp[k] = r;
      usedUp = true;
    } else {
      comp[k] = r.substr(0, p);
      r.remove_prefix(p + 1);
    }
  }
  out.Assign({comp[5], comp[6], comp[4], comp[3], comp[2], comp[1], comp[0]});
}

void SplitValues(TvCard& list, TCardRec entry) {
  if (entry.Values.empty()) return;
  const std::string text(entry.Values.front());
  SplitValuesText(entry.Values, text);
  list.push_back(std::move(entry));
}

void SplitAdr(TvAdrCard& list, TCardRec entry) {
  if (entry.Values.empty()) return;
  const std::string text(entry.Values.front());
  SplitAdrText(entry.Values, text);
  list.push_back(std::move(entry));
}

void MergeList(TvCard& dest, TvCard& source) {
  for (auto& e : source) {
    if (e.Values.AllEmpty()) continue;
    if (!GetValue(dest, e.Params).empty()) continue;
    dest.push_back(std::move(e));
  }
  source.clear();
}

void MergeList(TvOther& dest, TvOther& source) {
  for (auto& e : source) {
    if (e.Values.AllEmpty()) continue;
    if (!GetOtherValue(dest, e.Name, e.Params).empty()) continue;
    dest.push_back(std::move(e));
  }
  source.clear();
}

void MergeCard(TAddrRec& dest, CardPtr source) {
  if (!source) return;
  MergeList(dest.Email, source->Email);
  MergeList(dest.FN, source->FN);
  MergeList(dest.N, source->N);
  MergeList(dest.Note, source->Note);
  MergeList(dest.URL, source->URL);
  MergeList(dest.Key, source->Key);
  MergeList(dest.Adr, source->Adr);
  MergeList(dest.Tel, source->Tel);
  MergeList(dest.BDay, source->BDay);
  MergeList(dest.Other, source->Other);
  FreeCard(source);
}

void CopyMissing(TvCard& dest, const TvCard& source) {
  for (const auto& e : source) {
    if (e.Values.AllEmpty()) continue;
    if (!GetValue(dest, e.Params).empty()) continue;
    dest.push_back(e);
  }
}

void CopyMissing(TvOther& dest, const TvOther& source) {
  for (const auto& e : source) {
    if (e.Values.AllEmpty()) continue;
    if (!GetOtherValue(dest, e.Name, e.Params).empty()) continue;
    dest.push_back(e);
  }
}

bool IsExtProp(std::string_view name) noexcept {
  static constexpr std::array<std::string_view, 8> kNames = {"TZ",   "ORG", "TITLE",  "ROLE",
                                                             "GEO", "LOGO", "MAILER", "PHOTO"};
  return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

void TakeFirstEmailAsPref(TAddrRec& card) {
  if (!card.PrefEmail.empty() || card.Email.empty()) return;
  if (!card.Email.front().Values.empty()) card.PrefEmail = std::string(card.Email.front().Values.front());
  card.Email.erase(card.Email.begin());
}


}  // namespace store
