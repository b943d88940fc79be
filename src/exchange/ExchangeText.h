// Character set conversions of the exchange formats. Cards hold CP932; vCard
// files speak UTF-8 (and, from older phones, whatever CHARSET= names).
// UTF-8 -> CP932 is the import code's Utf8ToCp932 (one converter each way).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace exch {

// CP932 text as UTF-8. A byte that is no CP932 character becomes U+FFFD.
void Cp932ToUtf8(std::string_view in, std::string& out);

// What a CHARSET= value names, as far as conversion goes.
enum class Charset { Cp932, Utf8, Other };
Charset ClassifyCharset(std::string_view name);

// Bytes in the named character set as CP932; characters CP932 cannot hold
// become imp::kLostChar. An unknown set is taken as UTF-8. Returns the
// number of lost characters.
std::size_t ToCp932(std::string_view charset, std::string_view in, std::string& out);

}  // namespace exch
