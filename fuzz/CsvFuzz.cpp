// The CSV splitter and the CSV import (any CSV with a mapping, and the two
// fixed tables). Input: template and encoding byte, eight target bytes for
// the first columns of "any CSV", then the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "import/CsvImportLogic.h"

namespace {

constexpr std::size_t kMapBytes = 8;

void SplitterProperties(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos) nl = text.size();
    const std::string_view line = text.substr(pos, nl - pos);
    pos = nl + 1;
    imp::EndsInQuotes(line);
    imp::SplitCsvLine(line, fields);
    // Each field but the last ends at a comma of the line.
    const std::size_t commas = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    std::size_t bytes = 0;
    for (const std::string& f : fields) bytes += f.size();
    if (fields.size() > commas + 1 || bytes > line.size()) {
      std::fprintf(stderr, "the splitter made %zu fields of %zu bytes from a line of %zu bytes\n", fields.size(),
                   bytes, line.size());
      fuzzsupport::PrintEscaped("line", line);
      std::abort();
    }
    std::string quoted(line), out;
    imp::ReadQuoted(quoted, out);
    if (out.size() + quoted.size() > line.size()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 + kMapBytes) return -1;
  const std::string_view file(reinterpret_cast<const char*>(data) + 1 + kMapBytes, size - 1 - kMapBytes);
  SplitterProperties(file);

  const int tmpl = data[0] % 3;
  fuzzsupport::ImportBench bench(tmpl, fuzzsupport::PickEncoding(static_cast<std::uint8_t>(data[0] / 3)));
  const std::string path = fuzzsupport::Scratch() + "in.csv";
  fuzzsupport::WriteFile(path, file);
  bench.form.FileChosen(path);
  if (tmpl == 0)
    for (std::size_t col = 0; col < kMapBytes; ++col) bench.form.MapColumn(static_cast<int>(col), data[1 + col] % imp::kTargetCount);
  bench.form.ExectClick();
  bench.CheckCardsSurviveSaving("CSV import");
  return 0;
}
