// A hash map from a non-null pointer to a small value, kept in one flat
// block (open addressing, linear probing). The book indexes every card by
// address in maps like this: a node per card made them cost a block each
// and made freeing a big book walk a hundred thousand scattered nodes; this
// one goes with a single free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace store {

template <class V>
class PtrMap {
 public:
  std::size_t size() const noexcept { return size_; }
  bool Contains(const void* key) const noexcept { return Find(key) != nullptr; }

  const V* Find(const void* key) const noexcept {
    if (size_ == 0) return nullptr;
    for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
      if (slots_[i].key == key) return &slots_[i].value;
      if (!slots_[i].key) return nullptr;
    }
  }
  V* Find(const void* key) noexcept { return const_cast<V*>(std::as_const(*this).Find(key)); }

  // The value for key, made (value-initialised) when it is not there yet.
  V& operator[](const void* key) {
    if ((size_ + 1) * 8 > slots_.size() * 7) Grow();
    std::size_t i = Home(key);
    for (; slots_[i].key; i = (i + 1) & mask_)
      if (slots_[i].key == key) return slots_[i].value;
    slots_[i].key = key;
    slots_[i].value = V{};
    ++size_;
    return slots_[i].value;
  }

  bool Erase(const void* key) noexcept {
    if (size_ == 0) return false;
    std::size_t i = Home(key);
    while (slots_[i].key != key) {
      if (!slots_[i].key) return false;
      i = (i + 1) & mask_;
    }
    // Shift later entries of the run back, so that no search stops early at
    // the gap (no tombstones).
    for (std::size_t j = (i + 1) & mask_; slots_[j].key; j = (j + 1) & mask_) {
      const std::size_t home = Home(slots_[j].key);
      // The entry at j may move to i unless its home lies cyclically in (i, j].
      const bool stays = i <= j ? (home > i && home <= j) : (home > i || home <= j);
      if (!stays) {
        slots_[i] = std::move(slots_[j]);
        i = j;
      }
    }
    slots_[i].key = nullptr;
    --size_;
    return true;
  }

  void Clear() noexcept {
    std::vector<Slot>().swap(slots_);
    mask_ = 0;
    size_ = 0;
  }

 private:
  struct Slot {
    const void* key = nullptr;
    V value{};
  };

  std::size_t Home(const void* key) const noexcept {
    // Fibonacci hashing of the address; its low bits are alignment.
    const std::uint64_t h = (reinterpret_cast<std::uintptr_t>(key) >> 3) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> 32) & mask_;
  }

  void Grow() {
    std::vector<Slot> old(slots_.size() < 8 ? 8 : slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (Slot& s : old) {
      if (!s.key) continue;
      std::size_t i = Home(s.key);
      while (slots_[i].key) i = (i + 1) & mask_;
      slots_[i] = std::move(s);
    }
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::size_t size_ = 0;
};

}  // namespace store
