// Loading, marking and saving a generated book of 100,000 cards in 100
// groups, against reading the same files into cards without the book.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>

#include "bench/BookGenerator.h"
#include "platform/FileSystem.h"
#include "store/Book.h"
#include "platform/IoFault.h"
#include "store/Save.h"

namespace {

constexpr std::size_t kCards = 100000;

struct Fixture {
  std::string root;
  benchgen::BookStats stats;
  Fixture() {
    char dir[] = "/tmp/q7bookbench-XXXXXX";
    root = std::string(mkdtemp(dir)) + "/AddrBook/";
    stats = benchgen::GenerateBook(root, kCards, 100);
  }
  ~Fixture() { std::filesystem::remove_all(std::filesystem::path(root).parent_path().parent_path()); }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

class Discard : public store::CardSink {
 public:
  std::vector<store::CardPtr> cards;
  store::TAddrRec* AddCard(store::CardPtr card, bool) override {
    cards.push_back(std::move(card));
    return cards.back().get();
  }
};

void BM_ReadFilesWithoutBook(benchmark::State& state) {
  const Fixture& f = Data();
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(f.root))
    if (e.path().extension() == ".bab") files.push_back(e.path().string());
  for (auto _ : state) {
    Discard sink;
    for (const auto& p : files) store::ReadAddressFile(sink, p);
    state.PauseTiming();
    sink.cards.clear();
    state.ResumeTiming();
  }
  state.counters["disk_MB"] = static_cast<double>(f.stats.bytes) / 1e6;
}

void BM_LoadTree(benchmark::State& state) {
  const Fixture& f = Data();
  std::size_t heap = 0, count = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    auto book = std::make_unique<store::TAllList>();
    book->Root = f.root;
    store::LoadTree(*book);
    heap = mallinfo2().uordblks - before;
    count = book->Count();
    state.PauseTiming();
    book.reset();
    state.ResumeTiming();
  }
  state.counters["cards"] = static_cast<double>(count);
  state.counters["heap_MB"] = static_cast<double>(heap) / 1e6;
  state.counters["heap_x_disk"] = static_cast<double>(heap) / static_cast<double>(f.stats.bytes);
}

store::TAllList& LoadedBook() {
  static store::TAllList book;
  if (book.Count() == 0) {
    book.Root = Data().root;
    store::LoadTree(book);
  }
  return book;
}

void BM_RecalcMarks(benchmark::State& state) {
  store::TAllList& book = LoadedBook();
  for (store::TreeNode* n : book.Nodes.InOrder())
    if (n->Level > 0) n->ImageIndex = store::kImgChecked;
  for (auto _ : state) store::RecalcMarks(book);
}

// Argument 1: with the flushes to disk every save makes; 0: without them,
// which states the cost of the flushes.
void BM_SaveEveryGroup(benchmark::State& state) {
  store::TAllList& book = LoadedBook();
  plat::io::SetSyncEnabled(state.range(0) != 0);
  for (auto _ : state) {
    for (store::TreeNode* n : book.Nodes.InOrder()) {
      if (n->Level == 0) continue;
      n->Group->Modified = true;
      if (!store::SaveGroup(book, n)) state.SkipWithError("save failed");
    }
  }
  plat::io::SetSyncEnabled(true);
}

}  // namespace

BENCHMARK(BM_ReadFilesWithoutBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveEveryGroup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
