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

#include <filesystem>
#include <fstream>

namespace benchgen {

BookStats GenerateBook(const std::string& root, std::size_t cards, std::size_t groups, std::uint32_t seed) {
  const std::size_t tops = 10;
  const std::size_t perTop = std::max<std::size_t>(1, groups / tops);
  std::vector<std::string> files(tops * perTop);
  std::vector<std::string> paths(files.size());
  for (std::size_t t = 0; t < tops; ++t)
    for (std::size_t g = 0; g < perTop; ++g)
      paths[t * perTop + g] = root + "Top" + std::to_string(t) + "/Group" + std::to_string(g) + "/";
  std::minstd_rand rng(seed);
  for (std::size_t i = 0; i < cards; ++i) {
    std::string block = GenerateCard(i, seed);
    const std::size_t g = rng() % files.size();
    files[g] += block;
    if (i % 10 == 0) files[(g + 1 + rng() % (files.size() - 1)) % files.size()] += block;
    if (i % 20 == 0) {
      // Same address again: every other time with another name (a second card).
      std::string dup = block;
      if (i % 40 == 0) {
        const std::size_t fn = dup.find("\r\nFN:");
        if (fn != std::string::npos) dup.insert(fn + 5, "Other ");
      }
      files[rng() % files.size()] += dup;
    }
  }
  BookStats st;
  for (std::size_t k = 0; k < files.size(); ++k) {
    std::filesystem::create_directories(paths[k]);
    std::ofstream(paths[k] + "cards.bab", std::ios::binary)
        .write(files[k].data(), static_cast<std::streamsize>(files[k].size()));
    ++st.files;
    st.bytes += files[k].size();
  }
  return st;
}

}  // namespace benchgen
