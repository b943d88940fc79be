// Reading the foreign files of an import: line ends, the encoding choice and
// the conversion of UTF-8 text into the CP932 bytes every card holds.
//
// Characters CP932 cannot hold become the byte kLostChar (0x7F, which is
// never part of a CP932 character and never stands in real text) so that the
// importer can tell, field by field, where something was lost; it reports
// those fields and writes "?" in their place (ScrubLoss).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace imp {

enum class Encoding { Auto, Cp932, Utf8 };

inline constexpr char kLostChar = '\x7f';

// The name shown in the dialog: "Shift-JIS", "UTF-8" ("Auto" only for the
// setting, never for what was chosen).
const char* EncodingName(Encoding e);

// True when the bytes are valid UTF-8. A sequence cut off by the end of the
// bytes counts as valid when truncatedOk (a sample of a longer file).
bool ValidUtf8(std::string_view s, bool truncatedOk = false);

// What Auto chooses for a file that begins with these bytes: UTF-8 when they
// begin with a byte-order mark, or are valid UTF-8 holding at least one
// non-ASCII character; else CP932.
Encoding DetectEncoding(std::string_view head);

// UTF-8 text as CP932; each character without a CP932 code (and each invalid
// byte) becomes kLostChar. A DEL byte of the input is dropped, so that
// kLostChar stands only for a loss. Returns the number of lost characters.
std::size_t Utf8ToCp932(std::string_view in, std::string& out);

// An import file read line by line. A line ends at CR LF, CR or LF; a byte
// 0x1A ends the file. UTF-8 lines (a leading byte-order mark skipped) come
// back as CP932. Only the bytes needed are read, so the first lines of a
// huge file come at once.
class ImportFile {
 public:
  ImportFile() = default;
  ~ImportFile();
  ImportFile(const ImportFile&) = delete;
  ImportFile& operator=(const ImportFile&) = delete;

  // path is CP932 (the program's paths); false when it cannot be opened.
  bool Open(const std::string& path, Encoding wanted);
  void OpenBytes(std::string bytes, Encoding wanted);  // tests
  // The next line in CP932; false at the end or after a read error.
  bool ReadLine(std::string& line);
  bool Failed() const noexcept { return failed_; }
  void Close();

  Encoding Chosen() const noexcept { return chosen_; }
  bool HasBom() const noexcept { return bom_; }
  std::uint64_t BytesRead() const noexcept { return consumed_; }
  std::uint64_t Size() const noexcept { return size_; }
  std::size_t LostChars() const noexcept { return lost_; }

 private:
  bool Fill();
  void Start(Encoding wanted);

  int fd_ = -1;
  std::string buf_;
  std::size_t pos_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  bool bom_ = false;
  Encoding chosen_ = Encoding::Cp932;
  std::uint64_t consumed_ = 0;
  std::uint64_t size_ = 0;
  std::uint64_t fed_ = 0;  // bytes read from fd_
  std::size_t lost_ = 0;
  std::string raw_;
};

// Reads a whole (small) file as CP932 text with CR LF line ends, for the
// dialog's memo. False when it cannot be read.
bool ReadWholeText(const std::string& path, Encoding wanted, std::string& text, Encoding* chosen = nullptr);

}  // namespace imp
