// Locale-aware comparison of CP932 texts, for sorting group captions.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// Negative, zero or positive like strcmp, by the Japanese collation of the
// decoded texts (case differences count only after every other difference).
// Texts that compare equal by collation are ordered by their bytes, so the
// order is total and stable from run to run.
int CollateCompare(std::string_view a, std::string_view b);

// A byte key whose memcmp order is CollateCompare's order.
std::string CollateKey(std::string_view text);

}  // namespace plat
