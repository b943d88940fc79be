// The vCard reader: the line syntax and the mapping in memory, then the
// import run over the same bytes as a file. Input: encoding byte, then the
// file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "exchange/VcardMap.h"
#include "exchange/VcardSyntax.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return -1;
  const imp::Encoding enc = fuzzsupport::PickEncoding(data[0]);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  exch::VLineReader lines(bytes);
  exch::VLine line;
  while (lines.Next(line)) {
    line.Types();
    for (const char sep : {'\0', ';', ','})
      exch::SplitValue(line.Value, sep, lines.Version, (data[0] & 0x80) != 0);
    if (line.QuotedPrintable()) exch::DecodeQuotedPrintable(line.Value);
  }
  exch::VcardReader reader(bytes, enc);
  exch::VcardCard card;
  std::size_t last = 0;
  while (reader.Next(card)) {
    // Every card moves the reader on: no input can make it stand still.
    if (reader.Offset() < last) std::abort();
    last = reader.Offset();
    exch::CardName(*card.Card);
  }

  const std::string path = fuzzsupport::Scratch() + "in.vcf";
  fuzzsupport::WriteFile(path, bytes);
  fuzzsupport::ImportBench bench(7, enc);
  bench.form.FileChosen(path);
  bench.form.ExectClick();
  bench.CheckCardsSurviveSaving("vCard import");
  return 0;
}
