// The EdMax reader: a folder of ".adr" files of three-line records.
// Input: encoding byte, then the first file; a NUL byte starts a second.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzzsupport::RunFolderImport(data, size, 5, "edmax/", "EdMax import");
}
