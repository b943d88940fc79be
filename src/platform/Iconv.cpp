#include "platform/Iconv.h"

#include <cerrno>

namespace plat {

Iconv::~Iconv() {
  if (ok()) iconv_close(cd_);
}

std::size_t Iconv::Run(std::string_view in, std::string& out) {
  if (!ok()) return 0;
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  char* ip = const_cast<char*>(in.data());
  std::size_t il = in.size();
  while (il > 0) {
    // One input byte becomes at most three bytes of UTF-8 or CP932.
    const std::size_t old = out.size();
    out.resize(old + il * 3 + 8);
    char* op = out.data() + old;
    std::size_t ol = out.size() - old;
    const std::size_t r = iconv(cd_, &ip, &il, &op, &ol);
    out.resize(out.size() - ol);
    if (r != static_cast<std::size_t>(-1) || errno != E2BIG) break;
  }
  return in.size() - il;
}

bool Iconv::Append(std::string_view in, std::string& out) {
  const std::size_t old = out.size();
  if (Run(in, out) != in.size()) {
    out.resize(old);
    return false;
  }
  return true;
}

}  // namespace plat
