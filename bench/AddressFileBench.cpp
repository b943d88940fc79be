// Reading and writing a 100,000-card address file, against a plain memchr
// line split of the same bytes as the floor.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/BookGenerator.h"
#include "platform/TextFile.h"
#include "store/AddressFile.h"

namespace {

constexpr std::size_t kCards = 100000;

struct Fixture {
  std::string bytes;
  std::string path;
  std::string outPath;
  Fixture() {
    bytes = benchgen::GenerateAddressFile(kCards);
    char dir[] = "/tmp/q7bench-XXXXXX";
    path = std::string(mkdtemp(dir)) + "/big.bab";
    outPath = std::string(dir) + "/out.bab";
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~Fixture() {
    std::remove(path.c_str());
    std::remove(outPath.c_str());
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

class CollectSink : public store::CardSink {
 public:
  std::vector<store::CardPtr> cards;
  store::TAddrRec* AddCard(store::CardPtr card, bool) override {
    cards.push_back(std::move(card));
    return cards.back().get();
  }
};

void BM_LineSplit(benchmark::State& state) {
  const std::string& b = Data().bytes;
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* p = b.data();
    const char* end = p + b.size();
    while (p < end) {
      const void* cr = std::memchr(p, '\r', static_cast<std::size_t>(end - p));
      if (!cr) break;
      ++lines;
      p = static_cast<const char*>(cr) + 1;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * b.size()));
}

// Steady state: each iteration's cards are freed outside the timing, and the
// next read reuses that memory.
void BM_ReadCards(benchmark::State& state) {
  const Fixture& f = Data();
  for (auto _ : state) {
    CollectSink sink;
    store::ReadAddressFile(sink, f.path);
    if (sink.cards.size() != kCards) state.SkipWithError("card count differs");
    state.PauseTiming();
    sink.cards.clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}

void BM_ReadCardsFreshMemory(benchmark::State& state) {
  const Fixture& f = Data();
  std::size_t heap = 0;
  // Every loaded book stays alive until the end, so that each read allocates
  // fresh memory as the program's one load at start-up does, instead of
  // reusing (and consolidating) what the previous iteration freed.
  std::vector<CollectSink> keep;
  keep.reserve(64);
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    CollectSink& sink = keep.emplace_back();
    store::ReadAddressFile(sink, f.path);
    heap = mallinfo2().uordblks - before;
    benchmark::DoNotOptimize(sink.cards.size());
    if (sink.cards.size() != kCards) state.SkipWithError("card count differs");
    if (keep.size() == keep.capacity()) state.SkipWithError("too many iterations");
  }
  state.counters["file_MB"] = static_cast<double>(f.bytes.size()) / 1e6;
  state.counters["heap_MB"] = static_cast<double>(heap) / 1e6;
  state.counters["heap_x_file"] = static_cast<double>(heap) / static_cast<double>(f.bytes.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}

void BM_WriteCards(benchmark::State& state) {
  const Fixture& f = Data();
  CollectSink sink;
  store::ReadAddressFile(sink, f.path);
  for (auto _ : state) {
    plat::TextWriter out;
    out.Create(f.outPath);
    for (const auto& c : sink.cards) store::WriteCard(out, *c);
    if (!out.Close()) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes.size()));
}

}  // namespace

BENCHMARK(BM_LineSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCardsFreshMemory)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_WriteCards)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
