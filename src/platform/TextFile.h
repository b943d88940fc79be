// Line-oriented text files as the mail client writes them: a line ends at CR,
// an LF right after a CR is skipped, a lone LF is an ordinary byte, and a byte
// 0x1A ends the file. Written lines always end with CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

class TextReader {
 public:
  TextReader() = default;
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  // Opens a file by its on-disk path. False when it cannot be opened.
  bool Open(const std::string& diskPath);
  // Reads from bytes already in memory (tests, clipboard text).
  void OpenBytes(std::string bytes);

  // Next line without its end; the view stays valid until the next call.
  // False at the end of the file or after a read error (see Failed()).
  bool ReadLine(std::string_view& line);
  bool Failed() const noexcept { return failed_; }
  // The first byte of the next line when it is already read in, kEndOfFile
  // when no line follows, or kUnknown (the next chunk is not read yet).
  static constexpr int kUnknown = -1;
  static constexpr int kEndOfFile = -2;
  int PeekByte() const noexcept;
  void Close();

 private:
  bool Fill();  // reads more bytes into buf_; false at end or error

  int fd_ = -1;
  std::string buf_;
  std::size_t pos_ = 0;      // next unread byte of buf_
  std::size_t end_ = 0;      // bytes valid in buf_
  bool eof_ = false;         // no more bytes from the source (or 0x1A seen)
  bool failed_ = false;
  bool skipLf_ = false;      // the previous line ended at a CR at the chunk end
  std::string carry_;        // a line that spans chunks
};

class TextWriter {
 public:
  TextWriter() = default;
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  // Creates or empties the file (exclusive: fails when it exists). False
  // when it cannot be created.
  bool Create(const std::string& diskPath, bool exclusive = false);
  int Fd() const noexcept { return fd_; }
  // Writes to an already open descriptor that the writer does not close
  // (standard output).
  void Attach(int fd);
  bool IsOpen() const noexcept { return fd_ >= 0; }

  void Write(std::string_view bytes);          // raw bytes
  void WriteLine(std::string_view line);       // line and CR LF
  // Appending into the buffer directly saves a copy on hot paths.
  std::string& Buffer() noexcept { return buf_; }
  void MaybeFlush();
  // Writes out the buffer; false when a write failed.
  bool Flush() { return FlushBuffer(); }
  // Writes out the buffer and flushes the file to disk (fsync); false when
  // a write or the flush failed.
  bool Sync();
  // Flushes and closes; false when any write or the close failed.
  bool Close();
  bool Failed() const noexcept { return failed_; }

 private:
  bool FlushBuffer();

  int fd_ = -1;
  bool owned_ = false;
  bool failed_ = false;
  std::string path_;  // for the fault seam
  std::string buf_;
};

}  // namespace plat
