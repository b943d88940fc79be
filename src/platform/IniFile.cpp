#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Sjis.h"

namespace plat {

namespace {

constexpr const char* kCrLf = "\r\n";
// A settings file is a few kilobytes; these bound the memory a garbage file
// can take.
constexpr std::size_t kMaxBytes = 16u << 20;
constexpr std::size_t kMaxLines = 1000000;

// Folded form used as hash key: equal exactly when sjis::EqualsIgnoreCase
// says the names are equal (ASCII letters upper-cased, trail bytes kept).
std::string Fold(std::string_view name) { return sjis::Upper(sjis::Trim(name)); }

bool IsBlank(const std::string& text) { return sjis::Trim(text).empty(); }

// The section name of a header line "[name]", if text is one. The closing
// bracket is the last ']' that is a character of its own, not a trail byte.
bool ParseHeader(std::string_view text, std::string& name) {
  const std::string_view t = sjis::TrimLeft(text);
  if (t.empty() || t[0] != '[') return false;
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < t.size(); ++i) {
    if (sjis::IsLead(t[i])) {
      ++i;
    } else if (t[i] == ']') {
      close = i;
    }
  }
  if (close == std::string_view::npos) return false;
  name = std::string(sjis::Trim(t.substr(1, close - 1)));
  return true;
}

std::string ValueOf(const std::string& text) {
  // '=' (0x3D) is never a trail byte, so the first one ends the key.
  const std::size_t eq = text.find('=');
  std::string_view v = sjis::Trim(std::string_view(text).substr(eq + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)), diskPath_(fs::ToDiskPath(path_)) { Load(); }

IniFile::~IniFile() {
  if (dirty_) UpdateFile();
}

IniFile::Stamp IniFile::CurrentStamp() const {
  struct stat st {};
  if (::stat(diskPath_.c_str(), &st) != 0) return {};
  return {true,
          static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
          static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

void IniFile::Refresh() {
  if (!dirty_ && CurrentStamp() != stamp_) Load();
}

void IniFile::Load() {
  sections_.clear();
  sections_.emplace_back();
  stamp_ = {};
  partial_ = false;
  std::string bytes;
  // Non-blocking, so that a pipe under the name cannot stall the program.
  const int fd = ::open(diskPath_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd >= 0) {
    // The stamp is taken before reading: a change racing the read then
    // shows as a changed stamp and the next call reads again.
    stamp_ = CurrentStamp();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      partial_ = true;  // a folder, pipe or device: nothing to read, nothing to replace
    } else {
      char buf[65536];
      for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) partial_ = true;
        if (n <= 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
        if (bytes.size() > kMaxBytes) {
          bytes.resize(kMaxBytes);
          partial_ = true;
          break;
        }
      }
    }
    ::close(fd);
  }

  std::size_t pos = 0;
  std::size_t count = 0;
  while (pos < bytes.size()) {
    if (++count > kMaxLines) {
      partial_ = true;
      break;
    }
    const std::size_t nl = bytes.find('\n', pos);
    Line line;
    if (nl == std::string::npos) {
      line.text = bytes.substr(pos);
      pos = bytes.size();
    } else {
      const bool cr = nl > pos && bytes[nl - 1] == '\r';
      line.text = bytes.substr(pos, nl - pos - (cr ? 1 : 0));
      line.end = cr ? kCrLf : "\n";
      pos = nl + 1;
    }
    std::string name;
    if (ParseHeader(line.text, name)) {
      Section s;
      s.name = std::move(name);
      s.lines.push_back(std::move(line));
      sections_.push_back(std::move(s));
      continue;
    }
    const std::string_view t = sjis::TrimLeft(line.text);
    const std::size_t eq = line.text.find('=');
    if (!t.empty() && t[0] != ';' && eq != std::string::npos) {
      line.isKey = true;
      line.key = std::string(sjis::Trim(std::string_view(line.text).substr(0, eq)));
    }
    sections_.back().lines.push_back(std::move(line));
  }
  Reindex();
}

void IniFile::Reindex() {
  sectionIndex_.clear();
  // Lines before the first header belong to no section and are never read.
  for (std::size_t i = 1; i < sections_.size(); ++i) {
    Section& s = sections_[i];
    sectionIndex_.emplace(Fold(s.name), i);
    s.keys.clear();
    for (std::size_t j = 0; j < s.lines.size(); ++j) {
      if (s.lines[j].isKey) s.keys.emplace(Fold(s.lines[j].key), j);
    }
  }
}

IniFile::Section* IniFile::FindSection(const std::string& section) {
  const auto it = sectionIndex_.find(Fold(section));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniFile::Line* IniFile::FindKey(const std::string& section, const std::string& key) {
  Refresh();
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  const auto it = s->keys.find(Fold(key));
  return it == s->keys.end() ? nullptr : &s->lines[it->second];
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) {
  const Line* l = FindKey(section, key);
  return l ? ValueOf(l->text) : def;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) {
  const Line* l = FindKey(section, key);
  if (!l) return def;
  const std::string v = ValueOf(l->text);
  std::size_t i = 0;
  while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
  bool negative = false;
  if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
  if (i >= v.size() || v[i] < '0' || v[i] > '9') return def;
  long long n = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    n = n * 10 + (v[i] - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) return def;
  }
  if (negative) n = -n;
  if (n > INT_MAX || n < INT_MIN) return def;
  return static_cast<int>(n);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::CanStore(const std::string& section, const std::string& key, const std::string& value) {
  const std::string_view sec = sjis::Trim(section);
  const std::string_view k = sjis::Trim(key);
  if (sec.find('\n') != std::string_view::npos || value.find('\n') != std::string::npos) return false;
  if (k.empty() || k.front() == ';' || k.find_first_of("=\r\n") != std::string_view::npos) return false;
  // The header of a new section must read back as that section (a lead
  // byte before the ']' would swallow it).
  std::string header;
  if (!ParseHeader("[" + std::string(sec) + "]", header) || header != sec) return false;
  // "[x]" as a key line would read as a section header and take the keys
  // after it along.
  return !ParseHeader(std::string(k) + "=" + value, header);
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!CanStore(section, key, value)) return false;
  Refresh();
  const std::string k(sjis::Trim(key));
  Section* s = FindSection(section);
  if (!s) {
    std::vector<Line>& tail = sections_.back().lines;
    if (!tail.empty() && tail.back().end.empty()) tail.back().end = kCrLf;
    Section ns;
    ns.name = std::string(sjis::Trim(section));
    ns.lines.push_back({"[" + ns.name + "]", kCrLf, {}, false});
    ns.lines.push_back({k + "=" + value, kCrLf, k, true});
    ns.keys.emplace(Fold(k), 1);
    sectionIndex_.emplace(Fold(ns.name), sections_.size());
    sections_.push_back(std::move(ns));
    dirty_ = true;
    return true;
  }
  if (const auto it = s->keys.find(Fold(k)); it != s->keys.end()) {
    Line& l = s->lines[it->second];
    const std::string text = l.key + "=" + value;  // the key keeps its spelling in the file
    if (text == l.text && l.end == kCrLf) return true;  // saving unchanged settings rewrites nothing
    l.text = text;
    l.end = kCrLf;
    dirty_ = true;
    return true;
  }
  std::size_t pos = s->lines.size();
  while (pos > 1 && IsBlank(s->lines[pos - 1].text)) --pos;
  if (pos > 0 && s->lines[pos - 1].end.empty()) s->lines[pos - 1].end = kCrLf;
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(pos), Line{k + "=" + value, kCrLf, k, true});
  // Only blank lines follow pos, so no indexed key moved.
  s->keys.emplace(Fold(k), pos);
  dirty_ = true;
  return true;
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSection(const std::string& section) {
  Refresh();
  const std::string folded = Fold(section);
  bool erased = false;
  for (std::size_t i = sections_.size(); i-- > 1;) {
    if (Fold(sections_[i].name) == folded) {
      sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
      erased = true;
    }
  }
  if (!erased) return;
  Reindex();
  dirty_ = true;
}

bool IniFile::SectionExists(const std::string& section) {
  Refresh();
  return FindSection(section) != nullptr;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) {
  return FindKey(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) {
  Refresh();
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section)) {
    for (const Line& l : s->lines) {
      if (l.isKey) keys.push_back(l.key);
    }
  }
  return keys;
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const Section& s : sections_) {
    for (const Line& l : s.lines) {
      out += l.text;
      out += l.end;
    }
  }
  return out;
}

bool IniFile::UpdateFile() {
  if (!dirty_) return true;
  // Writing back a file read only in part would cut off the rest.
  if (partial_) return false;
  if (!WriteAtomically(Serialize())) return false;
  dirty_ = false;
  stamp_ = CurrentStamp();
  return true;
}

bool IniFile::WriteAtomically(const std::string& bytes) const {
  // A symbolic link is written through to the file it names and stays.
  return ReplaceFileContent(diskPath_, bytes);
}

}  // namespace plat
