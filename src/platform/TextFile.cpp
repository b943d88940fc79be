#include "platform/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/IoFault.h"

namespace plat {

namespace {
constexpr std::size_t kChunk = 256 * 1024;
constexpr std::size_t kWriteFlush = 256 * 1024;
}  // namespace

TextReader::~TextReader() { Close(); }

bool TextReader::Open(const std::string& diskPath) {
  Close();
  fd_ = ::open(diskPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  buf_.resize(kChunk);
  pos_ = end_ = 0;
  eof_ = failed_ = skipLf_ = false;
  carry_.clear();
  return true;
}

void TextReader::OpenBytes(std::string bytes) {
  Close();
  buf_ = std::move(bytes);
  pos_ = 0;
  end_ = buf_.size();
  eof_ = true;
  failed_ = skipLf_ = false;
  carry_.clear();
  if (const void* z = std::memchr(buf_.data(), 0x1A, end_))
    end_ = static_cast<std::size_t>(static_cast<const char*>(z) - buf_.data());
}

int TextReader::PeekByte() const noexcept {
  if (skipLf_) return kUnknown;
  if (pos_ < end_) return static_cast<unsigned char>(buf_[pos_]);
  return eof_ ? kEndOfFile : kUnknown;
}

void TextReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool TextReader::Fill() {
  if (eof_ || fd_ < 0) return false;
  pos_ = 0;
  end_ = 0;
  for (;;) {
    const ssize_t n = ::read(fd_, buf_.data(), buf_.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      eof_ = true;
      return false;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    end_ = static_cast<std::size_t>(n);
    break;
  }
  if (const void* z = std::memchr(buf_.data(), 0x1A, end_)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(z) - buf_.data());
    eof_ = true;
    Close();
  }
  return true;
}

bool TextReader::ReadLine(std::string_view& line) {
  carry_.clear();
  bool haveCarry = false;
  for (;;) {
    if (pos_ >= end_ && !Fill()) {
      // End of the source: a partial line still counts as a line.
      if (haveCarry) {
        line = carry_;
        return true;
      }
      return false;
    }
    if (skipLf_) {
      skipLf_ = false;
      if (buf_[pos_] == '\n') {
        ++pos_;
        continue;
      }
    }
    const char* start = buf_.data() + pos_;
    const std::size_t avail = end_ - pos_;
    const void* cr = std::memchr(start, '\r', avail);
    if (cr) {
      const std::size_t len = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
      pos_ += len + 1;
      if (pos_ < end_) {
        if (buf_[pos_] == '\n') ++pos_;
      } else {
        skipLf_ = true;
      }
      if (haveCarry) {
        carry_.append(start, len);
        line = carry_;
      } else {
        line = std::string_view(start, len);
      }
      return true;
    }
    // No CR in the rest of this chunk: keep it and read on.
    carry_.append(start, avail);
    haveCarry = true;
    pos_ = end_;
  }
}

TextWriter::~TextWriter() {
  if (fd_ >= 0) Close();
}

bool TextWriter::Create(const std::string& diskPath, bool exclusive) {
  if (fd_ >= 0) Close();
  path_ = diskPath;
  owned_ = true;
  failed_ = false;
  buf_.clear();
  if (io::Fault(io::Op::Create, diskPath) != 0) return false;
  fd_ = ::open(diskPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC), 0666);
  return fd_ >= 0;
}

void TextWriter::Attach(int fd) {
  if (fd_ >= 0) Close();
  path_.clear();
  fd_ = fd;
  owned_ = false;
  failed_ = false;
  buf_.clear();
}

void TextWriter::Write(std::string_view bytes) {
  buf_.append(bytes);
  MaybeFlush();
}

void TextWriter::WriteLine(std::string_view line) {
  buf_.append(line);
  buf_.append("\r\n", 2);
  MaybeFlush();
}

void TextWriter::MaybeFlush() {
  if (buf_.size() >= kWriteFlush) FlushBuffer();
}

bool TextWriter::FlushBuffer() {
  std::size_t done = 0;
  while (done < buf_.size() && !failed_) {
    if (fd_ < 0) {
      failed_ = true;
      break;
    }
    if (io::Fault(io::Op::Write, path_) != 0) {
      failed_ = true;
      break;
    }
    const ssize_t n = ::write(fd_, buf_.data() + done, buf_.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  buf_.clear();
  return !failed_;
}

bool TextWriter::Sync() {
  FlushBuffer();
  if (failed_ || fd_ < 0) {
    failed_ = true;
    return false;
  }
  if (!io::SyncEnabled()) return true;
  if (io::Fault(io::Op::Flush, path_) != 0 || ::fsync(fd_) != 0) failed_ = true;
  return !failed_;
}

bool TextWriter::Close() {
  FlushBuffer();
  if (fd_ >= 0 && owned_) {
    if (::close(fd_) != 0) failed_ = true;
  }
  fd_ = -1;
  return !failed_;
}

}  // namespace plat
