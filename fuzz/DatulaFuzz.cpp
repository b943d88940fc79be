// The Datula file reader. Input: encoding byte, then the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return -1;
  const std::string path = fuzzsupport::Scratch() + "datula.dat";
  fuzzsupport::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  fuzzsupport::ImportBench bench(6, fuzzsupport::PickEncoding(data[0]));
  bench.form.FileChosen(path);
  bench.form.ExectClick();
  bench.CheckCardsSurviveSaving("Datula import");
  return 0;
}
