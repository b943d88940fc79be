// Shared by the fuzz targets: a scratch folder on tmpfs for the readers that
// only take a file name, a sink that keeps every card, the address-file
// round trip, and an in-memory book for the import frame.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "import/ImportFormLogic.h"
#include "platform/Dialogs.h"
#include "store/AddressFile.h"
#include "store/Book.h"

namespace fuzzsupport {

// One folder per process (parallel jobs must not share files), removed at
// exit. tmpfs keeps a file per run cheap.
inline const std::string& Scratch() {
  static const std::string dir = [] {
    std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path().string();
    std::string tmpl = base + "/q7fuzz-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    static std::string keep = tmpl;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(keep, ec);
    });
    return tmpl + "/";
  }();
  return dir;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);
}

// Prints bytes in C escape form, so that a finding can be pasted into a test.
inline void PrintEscaped(const char* label, std::string_view s) {
  std::fprintf(stderr, "%s (%zu bytes): \"", label, s.size());
  for (unsigned char c : s) {
    if (c == '\\' || c == '"')
      std::fprintf(stderr, "\\%c", c);
    else if (c >= 0x20 && c < 0x7f)
      std::fputc(c, stderr);
    else
      std::fprintf(stderr, "\\x%02x\"\"", c);
  }
  std::fprintf(stderr, "\"\n");
}

// Prints the line of each text where they first differ.
inline void PrintFirstDifference(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  auto lineAt = [i](std::string_view s) {
    const std::size_t from = s.rfind('\n', i == 0 ? 0 : i - 1);
    const std::size_t start = from == std::string_view::npos || i == 0 ? 0 : from + 1;
    const std::size_t end = s.find('\n', i);
    return s.substr(std::min(start, s.size()), end == std::string_view::npos ? std::string_view::npos : end - start + 1);
  };
  std::fprintf(stderr, "first difference at byte %zu\n", i);
  PrintEscaped("  line before", lineAt(a));
  PrintEscaped("  line after", lineAt(b));
}

// Keeps every card that has an address, as the book does (the writer
// leaves a card without one out).
class Collector : public store::CardSink {
 public:
  store::TAddrRec* AddCard(store::CardPtr card, bool) override {
    if (card->PrefEmail.empty()) return nullptr;
    cards.push_back(std::move(card));
    return cards.back().get();
  }
  std::string Write() const {
    std::string out;
    for (const store::CardPtr& c : cards) out += store::CardToBytes(*c);
    return out;
  }
  std::vector<store::CardPtr> cards;
};

// Read, write, read, write: the two writes must be the same bytes and hold
// the same number of cards. Returns the first write.
inline std::string CheckRoundTrip(std::string_view input, const char* what) {
  Collector first;
  store::ReadAddressBytes(first, std::string(input));
  const std::string w1 = first.Write();
  Collector second;
  store::ReadAddressBytes(second, w1);
  const std::string w2 = second.Write();
  if (w1 != w2 || first.cards.size() != second.cards.size()) {
    std::fprintf(stderr, "%s: address-file round trip differs (%zu cards, then %zu)\n", what, first.cards.size(),
                 second.cards.size());
    PrintEscaped("input", input);
    PrintEscaped("first write", w1);
    PrintEscaped("second write", w2);
    PrintFirstDifference(w1, w2);
    std::abort();
  }
  return w1;
}

inline std::string WithoutEmptyValues(std::string_view bytes) {
  std::string out;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find("\r\n", pos);
    end = end == std::string_view::npos ? bytes.size() : end + 2;
    const std::string_view line = bytes.substr(pos, end - pos);
    pos = end;
    // The first ':' ends the name and parameters: nothing after it but CR LF.
    // A line after it that begins with a space continues it.
    if (line.size() >= 3 && line[0] != ' ' && line.find(':') == line.size() - 3 && line.substr(line.size() - 2) == "\r\n" &&
        (pos >= bytes.size() || bytes[pos] != ' '))
      continue;
    out.append(line);
  }
  return out;
}

// A book held in memory with one top-level folder, as the import dialog
// finds it; the import frame never touches the disk for it.
struct ImportBench {
  store::TAllList book;
  dlg::NullDialogs dialogs;
  imp::TImportForm form;

  ImportBench(int tmpl, imp::Encoding enc) {
    book.Root = Scratch() + "book/";
    book.Dialogs = &dialogs;
    store::TGrpList* top = book.NewGroup(book.Root + "Top/");
    book.Nodes.Add(nullptr, "Top", top);
    form.Init(book, dialogs);
    form.EncodingWanted = enc;
    form.Template = tmpl;
    form.SetTemplateMode();
  }

  // Every card the import put into the book must come back from its
  // address file as it went in: saved, reloaded and saved again, the same.
  // A property without a value carries nothing and is not read back.
  void CheckCardsSurviveSaving(const char* what) {
    std::string bytes;
    for (const store::TAddrRec* c : book.Cards()) bytes += store::CardToBytes(*c);
    const std::string w1 = CheckRoundTrip(bytes, what);
    if (w1 != WithoutEmptyValues(bytes)) {
      std::fprintf(stderr, "%s: an imported card changes when saved and read again\n", what);
      PrintEscaped("imported", bytes);
      PrintEscaped("read back", w1);
      PrintFirstDifference(WithoutEmptyValues(bytes), w1);
      std::abort();
    }
  }
};

// The encoding the import is asked for, from one input byte.
inline imp::Encoding PickEncoding(std::uint8_t b) {
  switch (b % 3) {
    case 0: return imp::Encoding::Auto;
    case 1: return imp::Encoding::Cp932;
    default: return imp::Encoding::Utf8;
  }
}

// A folder reader's run: an encoding byte, then the folder's first ".adr"
// file; a NUL byte starts a second one.
inline int RunFolderImport(const std::uint8_t* data, std::size_t size, int templateNo, const std::string& sub,
                           const char* what) {
  if (size < 1) return -1;
  const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t z = in.find('\0');
  const std::string dir = Scratch() + sub;
  std::filesystem::create_directories(dir);
  WriteFile(dir + "Friends.adr", in.substr(0, z));
  const std::string second = dir + "Work.adr";
  if (z != std::string_view::npos)
    WriteFile(second, in.substr(z + 1));
  else
    ::unlink(second.c_str());
  ImportBench bench(templateNo, PickEncoding(data[0]));
  bench.form.SetFolder(dir);
  bench.form.ExectClick();
  bench.CheckCardsSurviveSaving(what);
  return 0;
}

}  // namespace fuzzsupport
