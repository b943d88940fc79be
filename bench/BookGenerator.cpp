#include "bench/BookGenerator.h"

#include <random>

#include "store/AddressFile.h"
#include "store/Card.h"

namespace benchgen {

namespace {

// A few CP932 family and given names (山田 太郎 and so on).
const char* const kJaFamily[] = {"\x8e\x52\x93\x63", "\x97\xe9\x96\xd8", "\x8d\xb2\x93\xa1",
                                 "\x93\x63\x92\x86", "\x8f\xac\x97\xd1"};
const char* const kJaGiven[] = {"\x91\xbe\x98\x59", "\x89\xd4\x8e\x71", "\x88\xea\x98\x59",
                                "\x97\x52\x8e\x71", "\x8c\x92"};
const char* const kFamily[] = {"Smith", "Brown", "Tanaka", "Sato", "Miller", "Suzuki", "Wilson"};
const char* const kGiven[] = {"John", "Mary", "Ken", "Yuki", "Paul", "Emi", "Anna"};
const char* const kDomains[] = {"example.com", "example.co.jp", "mail.example.net", "corp.example.org"};

template <std::size_t N>
const char* Pick(const char* const (&a)[N], std::minstd_rand& rng) {
  return a[rng() % N];
}

}  // namespace

std::string GenerateCard(std::size_t i, std::uint32_t seed) {
  std::minstd_rand rng(static_cast<std::uint32_t>(seed * 2654435761u + i + 1));
  store::TAddrRec c;
  const bool ja = i % 10 == 0;
  const std::string family = ja ? Pick(kJaFamily, rng) : Pick(kFamily, rng);
  const std::string given = ja ? Pick(kJaGiven, rng) : Pick(kGiven, rng);
  c.PrefEmail = "user" + std::to_string(i) + "." + std::to_string(rng() % 1000) + "@" + Pick(kDomains, rng);
  store::SetValue(c.Email, "INTERNET", "alt" + std::to_string(i) + "@example.net");
  store::SetValue(c.FN, "", ja ? family + " " + given : given + " " + family);
  c.N.push_back({"", {family, given}});
  if (i % 3 == 0) {
    c.Note.push_back({"", {ja ? "\x89\xef\x8b\x63\x83\x81\x83\x82\r\n2nd line = ok"
                              : "Met at the fair\r\nCall back soon"}});
  }
  if (i % 4 == 0) c.NickName = "nick" + std::to_string(i);
  store::SetValue(c.URL, "", "http://www.example.com/~u" + std::to_string(i));
  c.Adr.push_back({"WORK", {"100-" + std::to_string(1000 + i % 9000), "Japan", "Tokyo", "Chiyoda",
                            std::to_string(1 + i % 30) + "-2-3 Marunouchi", "", ""}});
  store::SetValue(c.Tel, "WORK", "03-" + std::to_string(1000 + rng() % 9000) + "-" + std::to_string(1000 + i % 9000));
  store::SetValue(c.Tel, "FAX", "03-5555-" + std::to_string(1000 + i % 9000));
  if (i % 2 == 0) store::SetValue(c.Tel, "HOME", "045-123-" + std::to_string(1000 + i % 9000));
  store::SetValue(c.BDay, "", "19" + std::to_string(50 + i % 50) + "-0" + std::to_string(1 + i % 9) + "-15");
  c.Other.push_back([&] {
    store::TOtherRec o;
    o.Name = "ORG";
    o.Values.push_back("Example Trading Co.;Sales");
    return o;
  }());
  c.Other.push_back([&] {
    store::TOtherRec o;
    o.Name = "X-MEMO-ID";
    o.Params = "TYPE=A";
    o.Values.push_back(std::to_string(rng()));
    return o;
  }());
  return store::CardToBytes(c);
}

std::string GenerateAddressFile(std::size_t cards, std::uint32_t seed) {
  std::string out;
  out.reserve(cards * 330);
  for (std::size_t i = 0; i < cards; ++i) out += GenerateCard(i, seed);
  return out;
}

}  // namespace benchgen
