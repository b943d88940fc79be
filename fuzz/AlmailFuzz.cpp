// The AL-Mail32 address file reader. Input: encoding byte, then the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return -1;
  const std::string path = fuzzsupport::Scratch() + "Address";
  fuzzsupport::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  fuzzsupport::ImportBench bench(4, fuzzsupport::PickEncoding(data[0]));
  bench.form.FileChosen(path);
  bench.form.ExectClick();
  bench.CheckCardsSurviveSaving("AL-Mail32 import");
  return 0;
}
