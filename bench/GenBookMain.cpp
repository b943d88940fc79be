// gen-book FILE N: writes a synthetic address file of N cards.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BookGenerator.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen-book FILE N\n");
    return 2;
  }
  const std::string bytes = benchgen::GenerateAddressFile(std::strtoul(argv[2], nullptr, 10));
  FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
