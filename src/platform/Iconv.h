// glibc iconv for one direction. Opening a descriptor costs far more than
// converting a value, so callers keep one per thread (thread_local).
#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv();
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Appends the conversion of `in` up to the first sequence that is invalid
  // or has no code in the target; returns the bytes of `in` consumed.
  std::size_t Run(std::string_view in, std::string& out);
  // Appends the whole conversion of `in`, or nothing (false) when some of it
  // does not convert.
  bool Append(std::string_view in, std::string& out);
  // out := the whole conversion of `in`; false when some of it does not convert.
  bool All(std::string_view in, std::string& out) {
    out.clear();
    return Append(in, out);
  }

 private:
  iconv_t cd_;
};

}  // namespace plat
