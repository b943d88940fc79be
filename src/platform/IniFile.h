// A settings file with the semantics of Windows profile files.
//
// Section and key names match ignoring ASCII case; the trail byte of a
// double-byte character is never case-folded, so "\x83\x61" and "\x83\x41"
// are different keys. Names and values are CP932 bytes, kept as they are;
// keys may hold backslashes and spaces inside. Surrounding spaces of names
// and values are ignored on reading, and a value enclosed in a matching pair
// of double or single quotes is read without them. Lines starting with ';'
// are comments. With a section or key present more than once, the first one
// is read and written.
//
// Write policy: changes are kept in memory until UpdateFile(), which returns
// false when the file cannot be written; the destructor writes pending
// changes too (call UpdateFile to learn about errors). Before every call
// without pending changes the object re-reads the file if it changed on
// disk, so several objects on one file (the main window's and a dialog's)
// see each other's saved changes as separate WritePrivateProfileString calls
// would. The file is replaced by writing a new file beside it and renaming it
// over the old one, so a reader never sees half a file.
//
// Writing keeps every other line byte for byte, line ends included. A new
// key goes after the last non-blank line of its section, a new section at
// the end of the file; written lines end with CR LF. A missing file reads as
// empty and is created by the first UpdateFile with changes.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace plat {

class IniFile {
 public:
  // path is a CP932 path as every path of the program (see FileSystem.h).
  explicit IniFile(std::string path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& Path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def);
  // Leading spaces, an optional sign and decimal digits; what follows the
  // digits is ignored ("12abc" is 12). A value without digits, or outside
  // the range of int, gives def.
  int ReadInteger(const std::string& section, const std::string& key, int def);
  bool ReadBool(const std::string& section, const std::string& key, bool def);  // integer != 0

  // A key the file cannot hold as a key line (empty, beginning with ';',
  // holding '=' or a line break, or one the line would turn into a section
  // header) and a value with a line break are not written: the call returns
  // false and the file keeps what it had, so one odd name never costs other
  // keys their values.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);  // 1 or 0
  static bool CanStore(const std::string& section, const std::string& key, const std::string& value);

  // Removes every section of that name with all its lines (keys, comments,
  // blank lines) up to the next section.
  void EraseSection(const std::string& section);
  bool SectionExists(const std::string& section);
  bool ValueExists(const std::string& section, const std::string& key);
  // Key names of the section in file order, spelled as in the file.
  std::vector<std::string> ReadSection(const std::string& section);

  // Writes pending changes; true when there were none or they were written.
  // A file that could be read only in part (larger than 16 MB or a million
  // lines, a read error, not a regular file) is never written over: false.
  bool UpdateFile();

 private:
  struct Line {
    std::string text;  // without line end
    std::string end;   // "\r\n", "\n", or "" for an unterminated last line
    std::string key;   // trimmed key name of a key line, else empty
    bool isKey = false;
  };
  struct Section {
    std::string name;              // trimmed, as in the file; empty for the lines before the first header
    std::vector<Line> lines;       // the header line first, if any
    std::unordered_map<std::string, std::size_t> keys;  // folded name -> first line
  };
  struct Stamp {
    bool exists = false;
    std::uint64_t dev = 0, ino = 0, size = 0;
    std::int64_t mtimeNs = 0, ctimeNs = 0;
    bool operator==(const Stamp&) const = default;
  };

  void Refresh();
  void Load();
  Stamp CurrentStamp() const;
  void Reindex();
  Section* FindSection(const std::string& section);
  const Line* FindKey(const std::string& section, const std::string& key);
  std::string Serialize() const;
  bool WriteAtomically(const std::string& bytes) const;

  std::string path_;
  std::string diskPath_;
  std::vector<Section> sections_;  // sections_[0] holds the lines before the first header
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> first section
  Stamp stamp_;
  bool dirty_ = false;
  bool partial_ = false;  // the last Load did not read the whole file
};

}  // namespace plat
