// Synthetic address files and books for the benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace benchgen {

// The bytes of one address file with `cards` cards of about twelve property
// lines each: unique addresses (index-based), every tenth name Japanese, a
// quoted-printable note on every third card.
std::string GenerateAddressFile(std::size_t cards, std::uint32_t seed = 1);

// One card's block for card number i.
std::string GenerateCard(std::size_t i, std::uint32_t seed);

}  // namespace benchgen
