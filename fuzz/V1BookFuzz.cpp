// The version-1 book reader: a folder of ".adr" files, one per group.
// Input: encoding byte, then the first file; a NUL byte starts a second.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return -1;
  const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t z = in.find('\0');
  const std::string dir = fuzzsupport::Scratch() + "v1/";
  std::filesystem::create_directories(dir);
  fuzzsupport::WriteFile(dir + "Friends.adr", in.substr(0, z));
  const std::string second = dir + "Work.adr";
  if (z != std::string_view::npos)
    fuzzsupport::WriteFile(second, in.substr(z + 1));
  else
    ::unlink(second.c_str());
  fuzzsupport::ImportBench bench(3, fuzzsupport::PickEncoding(data[0]));
  bench.form.SetFolder(dir);
  bench.form.ExectClick();
  bench.CheckCardsSurviveSaving("version-1 import");
  return 0;
}
