// File and folder operations with the semantics the program was designed on.
//
// Paths handed to these functions are CP932 byte strings, as every name in
// the program is; '/' separates components and a folder path ends with '/'.
// Names on disk are UTF-8. Each path component is converted on the way to the
// disk and each listed name on the way back; this is the only place where
// that conversion happens.
//
// Name conversion:
//  - FromDiskName: an all-ASCII name is the same in both encodings and stays
//    as it is. Any other name is converted from UTF-8 to CP932 only when it
//    is valid UTF-8, every character exists in CP932 and converting the
//    result back gives exactly the original bytes. Otherwise the disk bytes
//    are kept unchanged (a name written raw in CP932 by an old tool, or one
//    with characters CP932 cannot hold).
//  - ToDiskPath: each non-ASCII component is converted from CP932 to UTF-8;
//    a component that is not valid CP932 is used as it is. Because kept disk
//    bytes come back unconverted, a converted component that does not exist
//    while its unconverted bytes do name an existing entry resolves to those
//    bytes, so every listed name opens the entry it came from.
//  - The ambiguity left: two entries of one folder, one named with the UTF-8
//    of some CP932 text and one named with that CP932 text's raw bytes, list
//    under the same name; a path then opens the UTF-8 one.
//  - CP932 has a few characters with two codes (NEC and IBM extensions); a
//    folder made with the less usual code lists with the one Windows
//    prefers, exactly as a Windows program sees it on NTFS.
//
// Rename and RenameDir fail when the target exists, as MoveFile does; to
// replace a file, delete the old one first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::fs {

enum class Kind { Files, Dirs, All };

struct DirEntry {
  std::string name;  // CP932 (see above), no folder
  bool isDir = false;
  // The name is not CP932 text even after conversion (neither UTF-8 of
  // CP932 text nor CP932 itself, e.g. Latin-1 bytes): nothing can show it
  // or type it, and byte scans that step over double-byte characters could
  // read past its end into the path after it. Callers skip such entries.
  bool badName = false;
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;  // nanoseconds since the epoch
};

// Entries of folder whose names match pattern, in the order the OS returns
// them; "." and ".." are skipped. Symbolic links are followed to decide the
// kind; a dangling link counts as a file. A folder that cannot be read gives
// an empty list, and ok (when given) false.
std::vector<DirEntry> List(const std::string& folder, const std::string& pattern, Kind kind, bool* ok = nullptr);

// Identity of a file or folder (links followed): two paths name the same
// folder exactly when their ids are equal.
struct FileId {
  std::uint64_t dev = 0, ino = 0;
  bool operator==(const FileId&) const = default;
};
std::optional<FileId> IdOf(const std::string& path);

// True when text is ASCII or valid CP932 (every character exists in it).
bool IsCp932Text(std::string_view text);

// Windows wildcard match as FindFirstFile applies it: "*.*" matches every
// name, '*' any run, '?' one character (or nothing before a '.' or at the
// end), a '.' before a trailing wildcard or at the end also matches the end
// of a name without extension ("abc.*" matches "abc"), and a '*' before '.'
// cannot run past the name's last '.'. ASCII letters match ignoring case; a
// double-byte character is one character and is compared exactly.
bool MatchPattern(std::string_view pattern, std::string_view name);

// Conversions of one name (no '/'), and of whole paths component by
// component. ToDiskName is the plain conversion; ToDiskPath also resolves
// components that exist on disk only under their unconverted bytes.
std::string FromDiskName(const std::string& diskName);
std::string ToDiskName(const std::string& name);
std::string FromDiskPath(const std::string& diskPath);
std::string ToDiskPath(const std::string& path);

std::optional<std::int64_t> ModTimeNs(const std::string& path);
bool Exists(const std::string& path);      // file or folder
bool FileExists(const std::string& path);  // exists and is not a folder
bool DirExists(const std::string& path);
std::optional<std::uint64_t> FileSize(const std::string& path);  // files only

bool Delete(const std::string& path);  // a file; never a folder
bool Rename(const std::string& from, const std::string& to);
bool MakeDirs(const std::string& path);  // with parents; true when it exists afterwards
bool RemoveDir(const std::string& path);  // empty folders only
bool RenameDir(const std::string& from, const std::string& to);

// The current directory and the folder of the running program, CP932,
// ending with '/'. Empty when the OS cannot tell.
std::string CurrentDir();
std::string ProgramDir();

}  // namespace plat::fs
