// Byte-level helpers for CP932 (Shift-JIS as Windows writes it).
// All card and file text stays in these bytes; every layer uses these helpers
// so that a trail byte (which may be '\\', '|' or an ASCII letter) is never
// mistaken for a character of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sjis {

// Lead byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLead(unsigned char c) noexcept {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsLead(char c) noexcept { return IsLead(static_cast<unsigned char>(c)); }

constexpr char UpperChar(char c) noexcept {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char LowerChar(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII case mapping that leaves double-byte characters (both bytes) alone.
void UpperInPlace(std::string& s) noexcept;
void LowerInPlace(std::string& s) noexcept;
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);

// The plain variants map every byte a-z / A-Z, trail bytes included.
std::string UpperPlain(std::string_view s);
std::string LowerPlain(std::string_view s);

// Equality after ASCII upper-casing that skips trail bytes.
bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept;

// First position >= from where needle starts on a character boundary, or npos.
std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from = 0) noexcept;

// First position where needle occurs in hay as whole characters: the hit
// starts on a character boundary of hay and never ends inside a double-byte
// character. With ignoreCase the single-byte letters of hay compare
// upper-cased (trail bytes never); needle must then be upper-cased (Upper).
// An empty needle is found at 0.
std::size_t FindChars(std::string_view hay, std::string_view needle, bool ignoreCase) noexcept;

// Removes spaces and control characters (bytes <= 0x20) from both ends.
std::string_view Trim(std::string_view s) noexcept;
std::string_view TrimLeft(std::string_view s) noexcept;
std::string_view TrimRight(std::string_view s) noexcept;

// The longest prefix of at most width bytes that does not end inside a
// double-byte character.
std::string_view CutWidth(std::string_view s, std::size_t width) noexcept;

}  // namespace sjis
