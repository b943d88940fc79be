// The version-1 book reader: a folder of ".adr" files, one per group.
// Input: encoding byte, then the first file; a NUL byte starts a second.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzzsupport::RunFolderImport(data, size, 3, "v1/", "version-1 import");
}
