#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "platform/IoFault.h"

namespace plat {

namespace {

constexpr std::string_view kTempSuffix = ".q7tmp";

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".<name>.<pid>-<n>.q7tmp" beside path: unique within this process, and
// O_EXCL keeps two processes apart.
std::string TempNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return FolderOf(path) + "." + NameOf(path) + "." + std::to_string(::getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + std::string(kTempSuffix);
}

void SyncFolder(const std::string& path) {
  if (!io::SyncEnabled()) return;
  const std::string dir = FolderOf(path);
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // Best effort: some file systems cannot flush a folder, and the renames
  // are already done; the content itself was flushed before them.
  (void)::fsync(fd);
  ::close(fd);
}

bool WriteAll(int fd, const char* data, std::size_t size, const std::string& path) {
  std::size_t done = 0;
  while (done < size) {
    if (io::Fault(io::Op::Write, path) != 0) return false;
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A flushed copy of from at to (which must not exist), for file systems
// that refuse hard links.
bool CopyFile(const std::string& from, const std::string& to, mode_t mode) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (out < 0) {
    const int e = errno;
    ::close(in);
    errno = e;
    return false;
  }
  bool ok = true;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    if (!WriteAll(out, buf, static_cast<std::size_t>(n), to)) {
      ok = false;
      break;
    }
  }
  int e = ok ? 0 : errno;
  if (ok && io::SyncEnabled() && (io::Fault(io::Op::Flush, to) != 0 || ::fsync(out) != 0)) {
    ok = false;
    e = errno;
  }
  if (::close(out) != 0 && ok) {
    ok = false;
    e = errno;
  }
  ::close(in);
  if (!ok) {
    ::unlink(to.c_str());
    errno = e;
  }
  return ok;
}

// Keeps the old content under a temporary backup name, sharing the file
// where links work.
bool LinkOrCopy(const std::string& from, const std::string& to, mode_t mode) {
  if (io::Fault(io::Op::Link, to) == 0 && ::link(from.c_str(), to.c_str()) == 0) return true;
  switch (errno) {
    case EXDEV:
    case EPERM:
    case ENOTSUP:
#if EOPNOTSUPP != ENOTSUP
    case EOPNOTSUPP:
#endif
    case EMLINK:
    case ENOSYS:
      break;
    default:
      return false;
  }
  if (io::Fault(io::Op::Link, to) != 0) return false;
  return CopyFile(from, to, mode);
}

}  // namespace

AtomicFile::~AtomicFile() { Abort(); }

bool AtomicFile::Fail(Step step) {
  step_ = step;
  error_ = errno;
  Abort();
  errno = error_;
  return false;
}

bool AtomicFile::Create(const std::string& targetDiskPath) {
  Abort();
  step_ = Step::None;
  error_ = 0;
  target_ = targetDiskPath;
  if (char* real = ::realpath(targetDiskPath.c_str(), nullptr)) {
    target_ = real;
    std::free(real);
  }
  temp_ = TempNameFor(target_);
  if (!out_.Create(temp_, true)) {
    temp_.clear();
    return Fail(Step::Create);
  }
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(out_.Fd(), old.st_mode & 07777);
    // Keeps the owner when an administrator saves someone's book.
    if (::geteuid() == 0) (void)::fchown(out_.Fd(), old.st_uid, old.st_gid);
  }
  return true;
}

bool AtomicFile::Commit(const std::string& backupDiskPath) {
  if (temp_.empty()) {
    if (step_ == Step::None) step_ = Step::Create;
    return false;
  }
  if (!out_.Flush()) return Fail(Step::Write);
  if (!out_.Sync()) return Fail(Step::Flush);
  if (!out_.Close()) return Fail(Step::Write);

  // The old file is kept under a temporary backup name first; nothing has
  // changed for the user until the renames below.
  std::string bakTemp;
  struct stat old {};
  if (!backupDiskPath.empty() && backupDiskPath != target_ && ::stat(target_.c_str(), &old) == 0 &&
      S_ISREG(old.st_mode)) {
    bakTemp = TempNameFor(backupDiskPath);
    if (!LinkOrCopy(target_, bakTemp, old.st_mode & 07777)) {
      const int e = errno;
      ::unlink(bakTemp.c_str());
      errno = e;
      return Fail(Step::Link);
    }
  }

  if (io::Fault(io::Op::Rename, target_) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int e = errno;
    if (!bakTemp.empty()) ::unlink(bakTemp.c_str());
    errno = e;
    return Fail(Step::Rename);
  }
  temp_.clear();

  if (!bakTemp.empty() &&
      (io::Fault(io::Op::Rename, backupDiskPath) != 0 || ::rename(bakTemp.c_str(), backupDiskPath.c_str()) != 0)) {
    // The backup cannot take its name (a folder in the way, say): put the
    // old content back, so that a failed save leaves both files as they were.
    const int e = errno;
    if (::rename(bakTemp.c_str(), target_.c_str()) != 0) ::unlink(bakTemp.c_str());
    SyncFolder(target_);
    errno = e;
    return Fail(Step::Link);
  }
  SyncFolder(target_);
  if (!bakTemp.empty() && FolderOf(backupDiskPath) != FolderOf(target_)) SyncFolder(backupDiskPath);
  return true;
}

void AtomicFile::Abort() {
  const int e = errno;
  if (out_.IsOpen()) out_.Close();
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  errno = e;
}

bool AtomicFile::IsTempName(std::string_view name) {
  return name.size() > kTempSuffix.size() + 1 && name.front() == '.' &&
         name.substr(name.size() - kTempSuffix.size()) == kTempSuffix;
}

void AtomicFile::RemoveLeftovers(const std::string& folderDiskPath) {
  DIR* d = ::opendir(folderDiskPath.empty() ? "." : folderDiskPath.c_str());
  if (!d) return;
  while (const dirent* e = ::readdir(d)) {
    if (!IsTempName(e->d_name)) continue;
    const std::string path = folderDiskPath + e->d_name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(d);
}

bool ReplaceFileContent(const std::string& targetDiskPath, std::string_view bytes) {
  AtomicFile f;
  if (!f.Create(targetDiskPath)) return false;
  f.Out().Write(bytes);
  return f.Commit();
}

}  // namespace plat
