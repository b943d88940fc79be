// The settings file: a file of any bytes is read, one key is written the
// way the program writes a group's state, the file is saved and read by a
// fresh object. Every value that was readable reads the same afterwards;
// a key the file can hold reads its value, and one it cannot hold (a name
// with a line break, or one the reader would take for a header, comment or
// value) is refused and keeps what it had. Input: file bytes, NUL, key,
// NUL, value.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"

namespace {

constexpr const char* kDefault = "\x01(none)";

// Section names the file may hold: the text between '[' and the last ']'
// of lines that start with '[' (a superset is fine: both objects are asked).
std::vector<std::string> CandidateSections(std::string_view bytes) {
  std::vector<std::string> out{"Group", "Options"};
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t nl = bytes.find('\n', pos);
    if (nl == std::string_view::npos) nl = bytes.size();
    std::string_view line = sjis::Trim(bytes.substr(pos, nl - pos));
    pos = nl + 1;
    if (line.empty() || line[0] != '[') continue;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close == 0) continue;
    out.emplace_back(sjis::Trim(line.substr(1, close - 1)));
  }
  return out;
}

// A key name the file format can hold as it is.
bool PlainKey(std::string_view k) {
  if (k.empty() || sjis::Trim(k) != k) return false;
  if (k[0] == '[' || k[0] == ';') return false;
  for (char c : k)
    if (c == '\r' || c == '\n' || c == '=') return false;
  return true;
}

using Values = std::map<std::pair<std::string, std::string>, std::string>;

// Every key of every candidate section with its value, by folded names.
Values ReadAll(plat::IniFile& ini, const std::vector<std::string>& sections) {
  Values v;
  for (const std::string& s : sections)
    for (const std::string& k : ini.ReadSection(s))
      v.emplace(std::make_pair(sjis::Upper(s), sjis::Upper(sjis::Trim(k))), ini.ReadString(s, k, kDefault));
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t z1 = in.find('\0');
  const std::string_view file = in.substr(0, z1);
  std::string_view rest = z1 == std::string_view::npos ? std::string_view() : in.substr(z1 + 1);
  const std::size_t z2 = rest.find('\0');
  const std::string key(rest.substr(0, z2));
  std::string value(z2 == std::string_view::npos ? std::string_view() : rest.substr(z2 + 1));
  // Values the program writes are single lines (numbers, paths, formats).
  std::erase_if(value, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });

  const std::string path = fuzzsupport::Scratch() + "Q7Addr.ini";
  fuzzsupport::WriteFile(path, file);
  const std::vector<std::string> sections = CandidateSections(file);
  // The program writes to sections of its own naming.
  const std::string section = key.size() % 2 ? "Group" : "Options";
  Values before;
  std::string prior;
  bool stored = false;
  {
    plat::IniFile ini(path);
    before = ReadAll(ini, sections);
    prior = ini.ReadString(section, key, kDefault);
    if (!key.empty()) stored = ini.WriteString(section, key, value);
    if (!ini.UpdateFile()) {
      std::fprintf(stderr, "the settings file could not be written\n");
      std::abort();
    }
  }
  plat::IniFile again(path);
  const std::string folded = sjis::Upper(section);
  const std::string foldedKey = sjis::Upper(sjis::Trim(key));
  for (const auto& [name, old] : before) {
    if (!key.empty() && name.first == folded && name.second == foldedKey) continue;
    const std::string now = again.ReadString(name.first, name.second, kDefault);
    if (now != old) {
      std::fprintf(stderr, "writing one key changed another: [%s] %s\n", name.first.c_str(), name.second.c_str());
      fuzzsupport::PrintEscaped("file", file);
      fuzzsupport::PrintEscaped("key", key);
      fuzzsupport::PrintEscaped("value", value);
      fuzzsupport::PrintEscaped("was", old);
      fuzzsupport::PrintEscaped("now", now);
      std::abort();
    }
  }
  // A blank name is no key name; reported separately, not asked here.
  if (!sjis::Trim(key).empty()) {
    std::string_view want = sjis::Trim(value);
    if (want.size() >= 2 && (want.front() == '"' || want.front() == '\'') && want.back() == want.front())
      want = want.substr(1, want.size() - 2);
    const std::string got = again.ReadString(section, key, kDefault);
    // A name the file cannot hold is refused and keeps what it had; every
    // plain name is stored.
    if (stored ? got != want : (PlainKey(key) || got != prior)) {
      std::fprintf(stderr, "a written key reads back wrong\n");
      fuzzsupport::PrintEscaped("file", file);
      fuzzsupport::PrintEscaped("section", section);
      fuzzsupport::PrintEscaped("key", key);
      fuzzsupport::PrintEscaped("value", value);
      fuzzsupport::PrintEscaped("read", got);
      std::fprintf(stderr, "stored: %d\n", stored ? 1 : 0);
      std::abort();
    }
  }
  return 0;
}
