#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/Iconv.h"
#include "platform/IoFault.h"
#include "platform/Sjis.h"

namespace plat::fs {

namespace {

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool Utf8ToCp932(std::string_view in, std::string& out) {
  thread_local Iconv conv("CP932", "UTF-8");
  return conv.All(in, out);
}

bool Cp932ToUtf8(std::string_view in, std::string& out) {
  thread_local Iconv conv("UTF-8", "CP932");
  return conv.All(in, out);
}

bool LinkExists(const std::string& disk) {
  struct stat st {};
  return ::lstat(disk.c_str(), &st) == 0;
}

bool StatDisk(const std::string& disk, struct stat& st) { return ::stat(disk.c_str(), &st) == 0; }

std::int64_t MtimeNs(const struct stat& st) {
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Converts every component between the separators with f(prefixSoFar, comp).
template <typename F>
std::string MapComponents(const std::string& path, F f) {
  std::string out;
  out.reserve(path.size() + path.size() / 2);
  std::size_t i = 0;
  for (;;) {
    const std::size_t j = path.find('/', i);
    const std::string comp = path.substr(i, j == std::string::npos ? std::string::npos : j - i);
    out += IsAscii(comp) ? comp : f(out, comp);
    if (j == std::string::npos) break;
    out += '/';
    i = j + 1;
  }
  return out;
}

// rename() that refuses to replace an existing target. renameat2 makes the
// check atomic; file systems without it get a check before the rename.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (LinkExists(to)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

// Pattern tokens: characters are their byte (ASCII upper-cased) or
// lead * 256 + trail; wildcards are negative.
constexpr int kStar = -1;
constexpr int kDosStar = -2;  // '*' before '.'
constexpr int kDosQm = -3;    // '?'
constexpr int kDosDot = -4;   // '.' before a wildcard or at the end

std::vector<int> Units(std::string_view s) {
  std::vector<int> u;
  u.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (sjis::IsLead(c) && i + 1 < s.size()) {
      u.push_back(c * 256 + static_cast<unsigned char>(s[++i]));
    } else {
      u.push_back(static_cast<unsigned char>(sjis::UpperChar(static_cast<char>(c))));
    }
  }
  return u;
}

class Matcher {
 public:
  Matcher(std::vector<int> pat, std::vector<int> name)
      : pat_(std::move(pat)), name_(std::move(name)), memo_((pat_.size() + 1) * (name_.size() + 1), 0) {
    lastDot_ = name_.size();
    for (std::size_t i = name_.size(); i-- > 0;) {
      if (name_[i] == '.') {
        lastDot_ = i;
        break;
      }
    }
  }

  bool Match(std::size_t p, std::size_t n) {
    char& m = memo_[p * (name_.size() + 1) + n];
    if (m == 0) m = Compute(p, n) ? 1 : 2;
    return m == 1;
  }

 private:
  bool Compute(std::size_t p, std::size_t n) {
    const std::size_t N = name_.size();
    if (p == pat_.size()) return n == N;
    switch (pat_[p]) {
      case kStar:
        for (std::size_t k = n; k <= N; ++k) {
          if (Match(p + 1, k)) return true;
        }
        return false;
      case kDosStar: {
        // May not swallow the last '.' of the name.
        const std::size_t limit = (lastDot_ < N && lastDot_ >= n) ? lastDot_ : N;
        for (std::size_t k = n; k <= limit; ++k) {
          if (Match(p + 1, k)) return true;
        }
        return false;
      }
      case kDosQm:
        if (n == N || name_[n] == '.') {
          std::size_t q = p;
          while (q < pat_.size() && pat_[q] == kDosQm) ++q;
          return Match(q, n);
        }
        return Match(p + 1, n + 1);
      case kDosDot:
        if (n == N) return Match(p + 1, n);
        return name_[n] == '.' && Match(p + 1, n + 1);
      default:
        return n < N && name_[n] == pat_[p] && Match(p + 1, n + 1);
    }
  }

  std::vector<int> pat_;
  std::vector<int> name_;
  std::vector<char> memo_;  // 0 unknown, 1 match, 2 no match
  std::size_t lastDot_;
};

}  // namespace

bool MatchPattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  std::vector<int> raw = Units(pattern);
  std::vector<int> pat(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const int next = i + 1 < raw.size() ? raw[i + 1] : 0;
    switch (raw[i]) {
      case '*': pat[i] = next == '.' ? kDosStar : kStar; break;
      case '?': pat[i] = kDosQm; break;
      case '.': pat[i] = (next == '*' || next == '?' || next == 0) ? kDosDot : '.'; break;
      default: pat[i] = raw[i];
    }
  }
  Matcher m(std::move(pat), Units(name));
  return m.Match(0, 0);
}

std::string FromDiskName(const std::string& diskName) {
  if (IsAscii(diskName)) return diskName;
  std::string cp, back;
  if (Utf8ToCp932(diskName, cp) && Cp932ToUtf8(cp, back) && back == diskName) return cp;
  return diskName;
}

std::string ToDiskName(const std::string& name) {
  if (IsAscii(name)) return name;
  std::string utf8;
  return Cp932ToUtf8(name, utf8) ? utf8 : name;
}

std::string FromDiskPath(const std::string& diskPath) {
  return MapComponents(diskPath, [](const std::string&, const std::string& comp) { return FromDiskName(comp); });
}

std::string ToDiskPath(const std::string& path) {
  return MapComponents(path, [](const std::string& prefix, const std::string& comp) {
    std::string disk = ToDiskName(comp);
    if (disk != comp && !LinkExists(prefix + disk) && LinkExists(prefix + comp)) return comp;
    return disk;
  });
}

bool IsCp932Text(std::string_view text) {
  if (IsAscii(text)) return true;
  std::string utf8;
  return Cp932ToUtf8(text, utf8);
}

std::optional<FileId> IdOf(const std::string& path) {
  struct stat st {};
  if (!StatDisk(ToDiskPath(path), st)) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::vector<DirEntry> List(const std::string& folder, const std::string& pattern, Kind kind, bool* ok) {
  std::vector<DirEntry> out;
  if (ok) *ok = true;
  const std::string disk = ToDiskPath(folder);
  DIR* dir = io::Fault(io::Op::List, disk) ? nullptr : ::opendir(disk.empty() ? "." : disk.c_str());
  if (!dir) {
    if (ok) *ok = false;
    return out;
  }
  const int fd = ::dirfd(dir);
  for (;;) {
    errno = 0;
    const dirent* e = ::readdir(dir);
    if (!e) {
      if (errno != 0 && ok) *ok = false;
      break;
    }
    const std::string diskName = e->d_name;
    if (diskName == "." || diskName == "..") continue;
    std::string name = FromDiskName(diskName);
    // A converted name is CP932 by construction; a kept one may not be.
    const bool badName = name == diskName && !IsCp932Text(name);
    if (!MatchPattern(pattern, name)) continue;
    struct stat st {};
    if (::fstatat(fd, e->d_name, &st, 0) != 0 && ::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;  // removed while listing
    }
    const bool isDir = S_ISDIR(st.st_mode);
    if ((kind == Kind::Files && isDir) || (kind == Kind::Dirs && !isDir)) continue;
    out.push_back({std::move(name), isDir, badName, isDir ? 0 : static_cast<std::uint64_t>(st.st_size), MtimeNs(st)});
  }
  ::closedir(dir);
  return out;
}

std::optional<std::int64_t> ModTimeNs(const std::string& path) {
  struct stat st {};
  if (!StatDisk(ToDiskPath(path), st)) return std::nullopt;
  return MtimeNs(st);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return StatDisk(ToDiskPath(path), st);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return StatDisk(ToDiskPath(path), st) && !S_ISDIR(st.st_mode);
}

bool DirExists(const std::string& path) {
  struct stat st {};
  return StatDisk(ToDiskPath(path), st) && S_ISDIR(st.st_mode);
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
  struct stat st {};
  if (!StatDisk(ToDiskPath(path), st) || S_ISDIR(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

bool Delete(const std::string& path) {
  const std::string disk = ToDiskPath(path);
  struct stat st {};
  if (::lstat(disk.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(disk.c_str()) == 0;
}

bool Rename(const std::string& from, const std::string& to) {
  return RenameNoReplace(ToDiskPath(from), ToDiskPath(to));
}

bool MakeDirs(const std::string& path) {
  std::string disk = ToDiskPath(path);
  while (disk.size() > 1 && disk.back() == '/') disk.pop_back();
  if (disk.empty()) return false;
  for (std::size_t i = disk.find('/', 1); i != std::string::npos; i = disk.find('/', i + 1)) {
    ::mkdir(disk.substr(0, i).c_str(), 0777);  // existing parents are fine
  }
  ::mkdir(disk.c_str(), 0777);
  struct stat st {};
  return StatDisk(disk, st) && S_ISDIR(st.st_mode);
}

bool RemoveDir(const std::string& path) { return ::rmdir(ToDiskPath(path).c_str()) == 0; }

bool RenameDir(const std::string& from, const std::string& to) {
  const std::string diskFrom = ToDiskPath(from);
  struct stat st {};
  if (!StatDisk(diskFrom, st) || !S_ISDIR(st.st_mode)) return false;
  return RenameNoReplace(diskFrom, ToDiskPath(to));
}

std::string CurrentDir() {
  std::vector<char> buf(256);
  while (!::getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return {};
    buf.resize(buf.size() * 2);
  }
  std::string dir = FromDiskPath(buf.data());
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string ProgramDir() {
  std::vector<char> buf(256);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buf.size()) {
      std::string exe(buf.data(), static_cast<std::size_t>(n));
      const std::size_t slash = exe.rfind('/');
      if (slash == std::string::npos) return {};
      return FromDiskPath(exe.substr(0, slash + 1));
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace plat::fs
