// The line syntax of vCard 2.1, 3.0 and 4.0, kept apart from what the lines
// mean for a card (VcardMap.h): unfolding, parameters in every spelling,
// groups, quoted-printable, escapes and the split of structured values.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace exch {

enum class VcardVersion { V21, V30, V40 };

struct VParam {
  std::string Name;   // upper-cased ("TYPE", "CHARSET", ...)
  std::string Value;  // as written, quotes removed; a bare 2.1 value is TYPE
};

// One logical line: group.NAME;params:value.
struct VLine {
  std::string Group;  // "item1" of "item1.EMAIL", or empty
  std::string Name;   // upper-cased
  std::vector<VParam> Params;
  std::string Value;  // raw: not yet decoded, unescaped or converted
  // The first value of a parameter (case-insensitive name), or nullptr.
  const std::string* Param(std::string_view name) const;
  // Every TYPE value upper-cased, comma lists split ("TYPE=WORK,VOICE",
  // "TYPE=work;TYPE=voice" and bare "WORK" give the same list).
  std::vector<std::string> Types() const;
  bool QuotedPrintable() const;
};

// Splits a file into logical lines. Line ends may be CR LF, LF or CR. A
// line starting with a space or a tab continues the previous one (3.0/4.0:
// that one white-space character is dropped; 2.1 keeps it, since its folding
// only ever broke lines before white space); a quoted-printable value ending
// in "=" continues on the next line whatever it starts with. The version
// only changes how folding is undone, so the reader follows the VERSION
// lines it meets.
class VLineReader {
 public:
  explicit VLineReader(std::string_view bytes) : rest_(bytes) {}
  // The next non-empty logical line; false at the end.
  bool Next(VLine& line);
  std::size_t Offset(std::string_view whole) const { return whole.size() - rest_.size(); }
  VcardVersion Version = VcardVersion::V21;

 private:
  bool Physical(std::string_view& line);
  std::string_view rest_;
  std::string logical_;
};

// Parses one logical line; false when it has no ':' or no name.
bool ParseVLine(std::string_view text, VLine& out);

// Decodes quoted-printable (soft breaks are gone already; a stray "=" stays).
std::string DecodeQuotedPrintable(std::string_view in);

// Splits a value at unescaped separators and undoes the escapes of 3.0/4.0
// ("\n" "\N" line break, "\," "\;" "\\" "\:"); 2.1 knows only "\;". With
// cp932 set, the bytes are CP932 and a trail byte 0x5C is no backslash.
// sep 0: no split.
std::vector<std::string> SplitValue(std::string_view value, char sep, VcardVersion v, bool cp932);

// ---- writing ----

// Escapes a UTF-8 text value for 3.0/4.0 (backslash, comma, semicolon,
// line breaks as "\n").
void EscapeText(std::string_view in, std::string& out);
// Appends "text" CR LF to out, folded so that no line exceeds 75 octets;
// a UTF-8 character is never split.
void AppendFolded(std::string& out, std::string_view text);

}  // namespace exch
