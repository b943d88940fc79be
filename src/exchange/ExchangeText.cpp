#include "exchange/ExchangeText.h"


#include <cerrno>

#include "import/ImportTextLogic.h"
#include "platform/Iconv.h"
#include "platform/Sjis.h"

namespace exch {

namespace {

bool Ascii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

void Cp932ToUtf8(std::string_view in, std::string& out) {
  out.clear();
  if (Ascii(in)) {
    out.assign(in);
    return;
  }
  thread_local plat::Iconv conv("UTF-8", "CP932");
  while (!in.empty()) {
    const std::size_t used = conv.Run(in, out);
    in.remove_prefix(used);
    if (in.empty()) break;
    // Not a CP932 character: skip it (both bytes of a broken pair).
    out += "\xEF\xBF\xBD";
    const std::size_t skip = sjis::IsLead(in.front()) && in.size() > 1 ? 2 : 1;
    in.remove_prefix(skip);
  }
}

Charset ClassifyCharset(std::string_view name) {
  const std::string n = sjis::UpperPlain(name);
  if (n == "SHIFT_JIS" || n == "SHIFT-JIS" || n == "SJIS" || n == "CP932" || n == "WINDOWS-31J" || n == "MS_KANJI" ||
      n == "X-SJIS")
    return Charset::Cp932;
  if (n == "UTF-8" || n == "UTF8" || n == "US-ASCII" || n == "ASCII") return Charset::Utf8;
  return Charset::Other;
}

std::size_t ToCp932(std::string_view charset, std::string_view in, std::string& out) {
  out.clear();
  switch (ClassifyCharset(charset)) {
    case Charset::Cp932:
      out.assign(in);
      return 0;
    case Charset::Utf8:
      return imp::Utf8ToCp932(in, out);
    case Charset::Other:
      break;
  }
  if (Ascii(in)) {
    out.assign(in);
    return 0;
  }
  const std::string name(charset);
  plat::Iconv conv("UTF-8", name.c_str());
  if (!conv.ok()) return imp::Utf8ToCp932(in, out);
  std::string utf8;
  while (!in.empty()) {
    in.remove_prefix(conv.Run(in, utf8));
    if (in.empty()) break;
    utf8 += "\xEF\xBF\xBD";  // lost below: U+FFFD has no CP932 code
    in.remove_prefix(1);
  }
  return imp::Utf8ToCp932(utf8, out);
}

}  // namespace exch
