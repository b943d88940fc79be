#include "platform/Sjis.h"

namespace sjis {

namespace {
template <char (*Map)(char)>
void MapSkippingTrail(std::string& s) noexcept {
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (IsLead(s[i])) {
      ++i;  // the trail byte is part of the character, never a letter
    } else {
      s[i] = Map(s[i]);
    }
  }
}
char Up(char c) { return UpperChar(c); }
char Down(char c) { return LowerChar(c); }
}  // namespace

void UpperInPlace(std::string& s) noexcept { MapSkippingTrail<Up>(s); }
void LowerInPlace(std::string& s) noexcept { MapSkippingTrail<Down>(s); }

std::string Upper(std::string_view s) {
  std::string r(s);
  UpperInPlace(r);
  return r;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  LowerInPlace(r);
  return r;
}

std::string UpperPlain(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = UpperChar(c);
  return r;
}

std::string LowerPlain(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = LowerChar(c);
  return r;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLead(a[i])) {
      if (a[i] != b[i]) return false;
      if (++i < a.size() && a[i] != b[i]) return false;
    } else if (UpperChar(a[i]) != UpperChar(b[i])) {
      return false;
    }
  }
  return true;
}

std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from) noexcept {
  if (needle.size() > hay.size()) return std::string_view::npos;
  const std::size_t last = hay.size() - needle.size();
  // Walk character by character from the start, so that `from` inside a
  // double-byte character still lands on a boundary.
  std::size_t i = 0;
  while (i <= last) {
    if (i >= from && hay.compare(i, needle.size(), needle) == 0) return i;
    i += IsLead(hay[i]) ? 2 : 1;
  }
  return std::string_view::npos;
}

std::size_t FindChars(std::string_view hay, std::string_view needle, bool ignoreCase) noexcept {
  const std::size_t n = needle.size();
  if (n == 0) return 0;
  const std::size_t h = hay.size();
  if (n > h) return std::string_view::npos;
  // Candidates are found by their first byte alone; only then is the
  // boundary walked up to them (at most once over the whole text) and the
  // rest compared character by character.
  const char first = needle[0];
  const char firstAlt = ignoreCase ? LowerChar(first) : first;
  std::size_t boundary = 0;
  for (std::size_t p = 0; p + n <= h; ++p) {
    if (hay[p] != first && hay[p] != firstAlt) continue;
    while (boundary < p) boundary += IsLead(hay[boundary]) ? 2 : 1;
    if (boundary != p) continue;
    std::size_t j = 0;
    while (j < n) {
      const char c = hay[p + j];
      if (IsLead(c)) {
        // Both bytes of the character, or no hit (the needle would end in it).
        if (j + 1 >= n || c != needle[j] || hay[p + j + 1] != needle[j + 1]) break;
        j += 2;
      } else {
        if ((ignoreCase ? UpperChar(c) : c) != needle[j]) break;
        ++j;
      }
    }
    if (j == n) return p;
  }
  return std::string_view::npos;
}

std::string_view TrimLeft(std::string_view s) noexcept {
  std::size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  return s.substr(b);
}

std::string_view TrimRight(std::string_view s) noexcept {
  std::size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(0, e);
}

std::string_view Trim(std::string_view s) noexcept { return TrimRight(TrimLeft(s)); }

std::string_view CutWidth(std::string_view s, std::size_t width) noexcept {
  if (s.size() <= width) return s;
  std::size_t i = 0;
  while (i < width) {
    const std::size_t step = IsLead(s[i]) ? 2 : 1;
    if (i + step > width) break;
    i += step;
  }
  return s.substr(0, i);
}

}  // namespace sjis
