#include "platform/Collate.h"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace plat {

namespace {

struct Icu {
  UConverter* conv = nullptr;
  UCollator* coll = nullptr;
  Icu() {
    UErrorCode e = U_ZERO_ERROR;
    conv = ucnv_open("windows-31j", &e);
    if (U_FAILURE(e)) conv = nullptr;
    e = U_ZERO_ERROR;
    coll = ucol_open("ja", &e);
    if (U_FAILURE(e)) coll = nullptr;
  }
  ~Icu() {
    if (conv) ucnv_close(conv);
    if (coll) ucol_close(coll);
  }
};

Icu& Shared() {
  static Icu icu;
  return icu;
}

std::u16string Decode(std::string_view s) {
  Icu& icu = Shared();
  if (!icu.conv) return std::u16string(s.begin(), s.end());
  std::u16string out(s.size() + 1, u'\0');
  UErrorCode e = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(icu.conv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                                  s.data(), static_cast<int32_t>(s.size()), &e);
  if (U_FAILURE(e)) return std::u16string(s.begin(), s.end());
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace

std::string CollateKey(std::string_view text) {
  Icu& icu = Shared();
  std::string key;
  if (icu.coll) {
    const std::u16string u = Decode(text);
    std::vector<uint8_t> buf(64 + u.size() * 8);
    int32_t n = ucol_getSortKey(icu.coll, reinterpret_cast<const UChar*>(u.data()), static_cast<int32_t>(u.size()),
                                buf.data(), static_cast<int32_t>(buf.size()));
    if (n > static_cast<int32_t>(buf.size())) {
      buf.resize(static_cast<std::size_t>(n));
      n = ucol_getSortKey(icu.coll, reinterpret_cast<const UChar*>(u.data()), static_cast<int32_t>(u.size()),
                          buf.data(), static_cast<int32_t>(buf.size()));
    }
    // The key ends with a 0 byte; the raw bytes follow as the last tie-break.
    key.assign(reinterpret_cast<const char*>(buf.data()), static_cast<std::size_t>(n));
  }
  key.append(text);
  return key;
}

int CollateCompare(std::string_view a, std::string_view b) {
  const std::string ka = CollateKey(a), kb = CollateKey(b);
  const int c = ka.compare(kb);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace plat
