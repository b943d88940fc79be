// The address-file reader and writer: whatever the bytes, reading and
// writing twice gives the same file and the same number of cards.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::CheckRoundTrip(std::string_view(reinterpret_cast<const char*>(data), size), "address file");
  return 0;
}
