#include "store/Card.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include <sys/mman.h>

#include "platform/Sjis.h"

namespace store {

// ---- card memory -----------------------------------------------------------

namespace {

thread_local std::pmr::memory_resource* currentCardMemory = nullptr;

// Under AddressSanitizer every block is a heap block of its own, so that a
// card used after its book is gone is reported, not read from a reused chunk.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kEveryBlockOnHeap = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kEveryBlockOnHeap = true;
#else
constexpr bool kEveryBlockOnHeap = false;
#endif
#else
constexpr bool kEveryBlockOnHeap = false;
#endif

}  // namespace

CardArena::CardArena() = default;

namespace {

// Chunks come straight from the kernel, 2 MiB aligned and asked for as huge
// pages where the system allows it: a big book then takes one page fault per
// chunk instead of one per 4 KiB, which is a good part of its loading time.
void* MapChunk(std::size_t size) {
  const std::size_t align = size;
  void* p = ::mmap(nullptr, size + align, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  const auto base = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t start = (base + align - 1) & ~(align - 1);
  if (start > base) ::munmap(p, start - base);
  const std::uintptr_t tail = base + size + align - (start + size);
  if (tail) ::munmap(reinterpret_cast<void*>(start + size), tail);
#ifdef MADV_HUGEPAGE
  ::madvise(reinterpret_cast<void*>(start), size, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(start);
}

}  // namespace

// The helper of PrepareAhead: keeps up to kReady chunks mapped and touched.
struct CardArena::Ahead {
  static constexpr std::size_t kReady = 4;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<void*> ready;
  bool stop = false;
  std::thread thread;

  Ahead() : thread([this] { Run(); }) {}
  ~Ahead() {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      stop = true;
    }
    wake.notify_all();
    thread.join();
    for (void* c : ready) ::munmap(c, kChunk);
  }
  void Run() noexcept {
    std::unique_lock<std::mutex> lock(mutex);
    while (!stop) {
      if (ready.size() >= kReady) {
        wake.wait(lock);
        continue;
      }
      lock.unlock();
      void* c = nullptr;
      try {
        c = MapChunk(kChunk);
        for (std::size_t off = 0; off < kChunk; off += 4096) static_cast<volatile char*>(c)[off] = 0;
      } catch (const std::bad_alloc&) {
        c = nullptr;
      }
      lock.lock();
      if (!c) return;  // the reader maps its own
      ready.push_back(c);
    }
  }
  void* Take() {
    void* c = nullptr;
    {
      const std::lock_guard<std::mutex> lock(mutex);
      if (ready.empty()) return nullptr;
      c = ready.front();
      ready.pop_front();
    }
    wake.notify_one();
    return c;
  }
};

void CardArena::PrepareAhead(bool on) {
  aheadWanted_ = on;
  if (!on) ahead_.reset();
}

void* CardArena::TakeChunk() {
  if (aheadWanted_ && !ahead_ && chunks_.size() >= 2) {
    try {
      ahead_ = std::make_unique<Ahead>();
    } catch (const std::system_error&) {
      aheadWanted_ = false;  // no thread to be had: map as before
    }
  }
  if (ahead_)
    if (void* c = ahead_->Take()) return c;
  return MapChunk(kChunk);
}

CardArena::~CardArena() {
  ahead_.reset();
  for (void* c : chunks_) ::munmap(c, kChunk);
  for (Big* b = bigs_.next; b != &bigs_;) {
    Big* next = b->next;
    ::operator delete(b);
    b = next;
  }
}

void* CardArena::NewChunkBlock(std::size_t size) {
  if (static_cast<std::size_t>(end_ - cur_) < size) {
    chunks_.reserve(chunks_.size() + 1);  // may throw before the chunk is taken
    cur_ = static_cast<char*>(TakeChunk());
    end_ = cur_ + kChunk;
    chunks_.push_back(cur_);
  }
  void* p = cur_;
  cur_ += size;
  return p;
}

void* CardArena::do_allocate(std::size_t bytes, std::size_t align) {
  if (bytes == 0) bytes = 1;
  if (kEveryBlockOnHeap || bytes > kSmallMax || align > kGrain) {
    // A link of 16 bytes keeps the block aligned as the heap's are.
    static_assert(sizeof(Big) == 16);
    if (align > alignof(std::max_align_t)) throw std::bad_alloc();
    auto* b = static_cast<Big*>(::operator new(sizeof(Big) + bytes));
    b->prev = &bigs_;
    b->next = bigs_.next;
    bigs_.next->prev = b;
    bigs_.next = b;
    return b + 1;
  }
  const std::size_t cls = (bytes + kGrain - 1) / kGrain;
  if (FreeBlock* f = free_[cls]) {
    free_[cls] = f->next;
    return f;
  }
  return NewChunkBlock(cls * kGrain);
}

void CardArena::do_deallocate(void* p, std::size_t bytes, std::size_t align) {
  if (dropping_ || !p) return;
  if (bytes == 0) bytes = 1;
  if (kEveryBlockOnHeap || bytes > kSmallMax || align > kGrain) {
    Big* b = static_cast<Big*>(p) - 1;
    b->prev->next = b->next;
    b->next->prev = b->prev;
    ::operator delete(b);
    return;
  }
  const std::size_t cls = (bytes + kGrain - 1) / kGrain;
  auto* f = static_cast<FreeBlock*>(p);
  f->next = free_[cls];
  free_[cls] = f;
}

std::pmr::memory_resource* CardMemory() noexcept {
  return currentCardMemory ? currentCardMemory : std::pmr::new_delete_resource();
}

UseCardMemory::UseCardMemory(std::pmr::memory_resource* m) noexcept : prev_(currentCardMemory) {
  currentCardMemory = m;
}

UseCardMemory::~UseCardMemory() { currentCardMemory = prev_; }

// ---- TValues ---------------------------------------------------------------

TValues::TValues(std::initializer_list<std::string_view> init) : data_(CardMemory()) {
  Assign(std::vector<std::string_view>(init));
}

TValues& TValues::operator=(const TValues& o) {
  if (this != &o) {
    data_ = o.data_;
    count_ = o.count_;
    slots_ = o.slots_;
  }
  return *this;
}

TValues& TValues::operator=(TValues&& o) noexcept {
  if (this != &o) {
    data_ = std::move(o.data_);  // copies when the two live in different memory
    count_ = std::exchange(o.count_, 0);
    slots_ = std::exchange(o.slots_, 0);
    o.data_.clear();
  }
  return *this;
}

std::uint32_t TValues::Slot(std::size_t k) const noexcept {
  std::uint32_t v;
  std::memcpy(&v, data_.data() + 4 * k, 4);
  return v;
}

void TValues::SetSlot(std::size_t k, std::uint32_t end) noexcept { std::memcpy(data_.data() + 4 * k, &end, 4); }

const std::string_view TValues::operator[](std::size_t i) const noexcept {
  if (count_ <= 1) return data_;
  const std::size_t base = HeaderSize();
  const std::size_t from = i == 0 ? 0 : Slot(i - 1);
  const std::size_t to = i + 1 < count_ ? Slot(i) : data_.size() - base;
  return std::string_view(data_).substr(base + from, to - from);
}

bool TValues::operator==(const TValues& o) const noexcept {
  if (count_ != o.count_) return false;
  if (count_ <= 1 || slots_ == o.slots_) return data_ == o.data_;
  for (std::size_t i = 0; i < count_; ++i)
    if ((*this)[i] != o[i]) return false;
  return true;
}

void TValues::Repack(const std::vector<std::string_view>& values, std::size_t slots) {
  // Callers pass views that do not point into data_.
  count_ = static_cast<std::uint32_t>(values.size());
  if (count_ <= 1) {
    slots_ = 0;
    data_.assign(count_ ? values.front() : std::string_view());
    return;
  }
  slots_ = static_cast<std::uint32_t>(std::max(slots, values.size() - 1));
  std::size_t total = 4 * std::size_t(slots_);
  for (auto v : values) total += v.size();
  data_.clear();
  data_.reserve(total);
  data_.append(4 * std::size_t(slots_), '\0');
  std::uint32_t end = 0;
  for (std::size_t k = 0; k < values.size(); ++k) {
    data_.append(values[k]);
    end += static_cast<std::uint32_t>(values[k].size());
    if (k + 1 < values.size()) SetSlot(k, end);
  }
}

void TValues::Assign(const std::vector<std::string_view>& values) { Repack(values, 0); }

void TValues::push_back(std::string_view v) {
  // v may point into data_ (a value of this very list).
  if (v.data() >= data_.data() && v.data() < data_.data() + data_.size()) {
    const std::string keep(v);
    push_back(std::string_view(keep));
    return;
  }
  if (count_ == 0) {
    data_.assign(v);
    count_ = 1;
    return;
  }
  if (count_ == 1 || count_ - 1 == slots_) {
    // Out of offset slots: repack with twice the room, so that a long run
    // of appends stays linear.
    std::vector<std::string> all = ToVector();
    all.emplace_back(v);
    const std::vector<std::string_view> views(all.begin(), all.end());
    Repack(views, count_ == 1 ? 1 : 2 * std::size_t(slots_));
    return;
  }
  SetSlot(count_ - 1, static_cast<std::uint32_t>(data_.size() - HeaderSize()));
  data_.append(v);
  ++count_;
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
  slots_ = 0;
}

std::vector<std::string> TValues::ToVector() const {
  std::vector<std::string> out;
  out.reserve(count_);
  for (auto v : *this) out.emplace_back(v);
  return out;
}

std::string TValues::Join(std::string_view sep) const {
  if (count_ <= 1) return std::string(data_);
  std::string out;
  out.reserve(data_.size() + sep.size() * count_);
  for (std::size_t i = 0; i < count_; ++i) {
    if (i) out += sep;
    out += (*this)[i];
  }
  return out;
}

// ---- card ------------------------------------------------------------------

void* TAddrRec::operator new(std::size_t size) {
  std::pmr::memory_resource* m = CardMemory();
  void* block = m->allocate(sizeof(m) + size, alignof(TAddrRec));
  std::memcpy(block, &m, sizeof(m));
  return static_cast<char*>(block) + sizeof(m);
}

void TAddrRec::operator delete(void* p, std::size_t size) noexcept {
  if (!p) return;
  void* block = static_cast<char*>(p) - sizeof(std::pmr::memory_resource*);
  std::pmr::memory_resource* m;
  std::memcpy(&m, block, sizeof(m));
  m->deallocate(block, sizeof(m) + size, alignof(TAddrRec));
}

CardPtr NewCard() { return std::make_unique<TAddrRec>(); }

bool CardUsesMemory(const TAddrRec& card, const std::pmr::memory_resource* m) {
  std::pmr::memory_resource* own;
  std::memcpy(&own, reinterpret_cast<const char*>(&card) - sizeof(own), sizeof(own));
  if (own == m) return true;
  auto uses = [m](const auto& list) {
    if (list.get_allocator().resource() == m) return true;
    for (const auto& e : list)
      if (e.Values.Memory() == m) return true;
    return false;
  };
  return uses(card.Email) || uses(card.FN) || uses(card.N) || uses(card.Note) || uses(card.URL) ||
         uses(card.Key) || uses(card.Adr) || uses(card.Tel) || uses(card.BDay) || uses(card.Other);
}

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
