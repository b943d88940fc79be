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

namespace benchgen {

struct BookStats {
  std::size_t files = 0;
  std::size_t bytes = 0;
};

// Writes a book folder under `root` (created; a '/'-terminated disk path):
// ten top-level folders of `groups / 10` groups each, every card in one
// group, every tenth card also in a second group, and one card in twenty a
// second card with the address of another (half with the same name, which
// merge on loading).
BookStats GenerateBook(const std::string& root, std::size_t cards, std::size_t groups, std::uint32_t seed = 1);

}  // namespace benchgen
