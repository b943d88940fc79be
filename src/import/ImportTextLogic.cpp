#include "import/ImportTextLogic.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/Iconv.h"

namespace imp {

namespace {

constexpr std::size_t kChunk = 1 << 16;
// How much of a file Auto looks at: enough for any real address book's
// first non-ASCII text, little enough for an instant preview of a huge file.
constexpr std::size_t kSniff = 1 << 20;

// Length of the UTF-8 sequence starting at s[i] and its code point; 0 when
// it is not a valid sequence (or is cut off by the end).
std::size_t Utf8Seq(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t len = 0;
  if (b < 0x80) {
    cp = b;
    return 1;
  } else if (b >= 0xC2 && b <= 0xDF) {
    len = 2, cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, cp = b & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (t & 0x3F);
  }
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return len;
}

// Characters that text from other systems writes with the code points of
// JIS X 0208 while CP932 has them under the compatibility forms.
char32_t Cp932Alias(char32_t cp) {
  switch (cp) {
    case 0x301C: return 0xFF5E;  // wave dash
    case 0x2016: return 0x2225;  // double vertical line
    case 0x2212: return 0xFF0D;  // minus sign
    case 0x00A2: return 0xFFE0;  // cent
    case 0x00A3: return 0xFFE1;  // pound
    case 0x00AC: return 0xFFE2;  // not sign
    case 0x2014: return 0x2015;  // em dash
    default: return 0;
  }
}

std::string EncodeUtf8(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    s.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return s;
}

}  // namespace

const char* EncodingName(Encoding e) {
  switch (e) {
    case Encoding::Auto: return "Auto";
    case Encoding::Cp932: return "Shift-JIS";
    case Encoding::Utf8: return "UTF-8";
  }
  return "";
}

bool ValidUtf8(std::string_view s, bool truncatedOk) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = Utf8Seq(s, i, cp);
    if (len == 0) {
      // A sequence the sample's end cut off is judged by what is there.
      if (truncatedOk && s.size() - i < 4) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (b >= 0xC2 && b <= 0xF4 && s.size() - i < need) {
          bool cont = true;
          for (std::size_t k = i + 1; k < s.size(); ++k) cont = cont && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80;
          if (cont) return true;
        }
      }
      return false;
    }
    i += len;
  }
  return true;
}

Encoding DetectEncoding(std::string_view head) {
  if (head.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8;
  bool nonAscii = false;
  for (char c : head)
    if (static_cast<unsigned char>(c) >= 0x80) {
      nonAscii = true;
      break;
    }
  return nonAscii && ValidUtf8(head, true) ? Encoding::Utf8 : Encoding::Cp932;
}

std::size_t Utf8ToCp932(std::string_view in, std::string& out) {
  out.clear();
  thread_local plat::Iconv conv("CP932", "UTF-8");
  std::size_t lost = 0;
  std::size_t i = 0;
  while (i < in.size()) {
    // ASCII runs are the same bytes in both.
    std::size_t j = i;
    while (j < in.size() && static_cast<unsigned char>(in[j]) < 0x80) ++j;
    for (std::size_t k = i; k < j; ++k)
      if (in[k] != kLostChar) out.push_back(in[k]);
    i = j;
    if (i >= in.size()) break;
    // A run of valid non-ASCII sequences goes to iconv at once.
    std::size_t end = i;
    char32_t cp = 0;
    while (end < in.size()) {
      if (static_cast<unsigned char>(in[end]) < 0x80) break;
      const std::size_t len = Utf8Seq(in, end, cp);
      if (len == 0) break;
      end += len;
    }
    if (end > i) {
      i += conv.Run(in.substr(i, end - i), out);
      if (i >= end) continue;
    }
    // in[i] starts a character without a CP932 code, or an invalid byte.
    const std::size_t len = Utf8Seq(in, i, cp);
    if (len == 0) {
      out.push_back(kLostChar);
      ++lost;
      ++i;
      continue;
    }
    const char32_t alias = Cp932Alias(cp);
    if (!(alias && conv.Append(EncodeUtf8(alias), out))) {
      out.push_back(kLostChar);
      ++lost;
    }
    i += len;
  }
  return lost;
}

ImportFile::~ImportFile() { Close(); }

void ImportFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool ImportFile::Open(const std::string& path, Encoding wanted) {
  Close();
  buf_.clear();
  pos_ = 0;
  eof_ = failed_ = bom_ = false;
  consumed_ = size_ = fed_ = 0;
  lost_ = 0;
  const std::string disk = plat::fs::ToDiskPath(path);
  fd_ = ::open(disk.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    Close();
    return false;
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
  Start(wanted);
  return !failed_;
}

void ImportFile::OpenBytes(std::string bytes, Encoding wanted) {
  Close();
  buf_ = std::move(bytes);
  pos_ = 0;
  eof_ = true;
  failed_ = bom_ = false;
  consumed_ = 0;
  size_ = buf_.size();
  lost_ = 0;
  Start(wanted);
}

void ImportFile::Start(Encoding wanted) {
  if (wanted == Encoding::Auto) {
    while (!eof_ && buf_.size() < kSniff && Fill()) {
    }
    chosen_ = DetectEncoding(std::string_view(buf_).substr(0, kSniff));
  } else {
    while (!eof_ && buf_.size() < 3 && Fill()) {
    }
    chosen_ = wanted;
  }
  // A byte-order mark is never text, whatever encoding was asked for.
  if (buf_.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    bom_ = true;
    pos_ = 3;
  }
}

bool ImportFile::Fill() {
  if (eof_ || fd_ < 0) {
    eof_ = true;
    return false;
  }
  if (pos_ > 0 && pos_ >= buf_.size() / 2) {
    buf_.erase(0, pos_);
    pos_ = 0;
  }
  // Sized to what the file has left: resize zero-fills, and a full chunk
  // for a small file costs more than reading it. A file that grew since it
  // was opened is still read to its real end.
  std::size_t want = kChunk;
  if (fed_ < size_)
    want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size_ - fed_));
  else if (fed_ == size_)
    want = 4096;
  const std::size_t old = buf_.size();
  buf_.resize(old + want);
  ssize_t n;
  do {
    n = ::read(fd_, buf_.data() + old, want);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    buf_.resize(old);
    failed_ = eof_ = true;
    return false;
  }
  buf_.resize(old + static_cast<std::size_t>(n));
  fed_ += static_cast<std::uint64_t>(n);
  if (n == 0) {
    eof_ = true;
    return false;
  }
  return true;
}

bool ImportFile::ReadLine(std::string& line) {
  line.clear();
  if (failed_) return false;
  std::size_t scan = pos_;
  for (;;) {
    const char* base = buf_.data();
    std::size_t i = scan;
    const std::size_t n = buf_.size();
    while (i < n && base[i] != '\r' && base[i] != '\n' && base[i] != '\x1a') ++i;
    if (i < n) {
      if (base[i] == '\x1a') {
        // The end-of-file byte: the text before it is the last line.
        if (i == pos_) {
          pos_ = buf_.size();
          eof_ = true;
          Close();
          return false;
        }
        raw_.assign(base + pos_, i - pos_);
        consumed_ += i - pos_;
        buf_.resize(i);
        pos_ = i;
        eof_ = true;
        Close();
        break;
      }
      if (base[i] == '\r' && i + 1 >= n && !eof_) {
        // Whether an LF follows is in the next chunk.
        const std::size_t off = i - pos_;
        Fill();
        if (failed_) return false;
        scan = pos_ + off;  // rescans the CR, now with what follows it (or the end)
        continue;
      }
      raw_.assign(base + pos_, i - pos_);
      std::size_t next = i + 1;
      if (base[i] == '\r' && next < buf_.size() && buf_[next] == '\n') ++next;
      consumed_ += next - pos_;
      pos_ = next;
      break;
    }
    const std::size_t off = n - pos_;
    if (!Fill()) {
      if (failed_) return false;
      if (pos_ >= buf_.size()) return false;
      raw_.assign(buf_.data() + pos_, buf_.size() - pos_);
      consumed_ += buf_.size() - pos_;
      pos_ = buf_.size();
      break;
    }
    scan = pos_ + off;
  }
  if (chosen_ == Encoding::Utf8)
    lost_ += Utf8ToCp932(raw_, line);
  else
    line.swap(raw_);
  return true;
}

bool ReadWholeText(const std::string& path, Encoding wanted, std::string& text, Encoding* chosen) {
  ImportFile f;
  text.clear();
  if (!f.Open(path, wanted)) return false;
  std::string line;
  while (f.ReadLine(line)) {
    text += line;
    text += "\r\n";
  }
  if (chosen) *chosen = f.Chosen();
  return !f.Failed();
}

}  // namespace imp
