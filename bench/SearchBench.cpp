// The search on a generated book of 100,000 cards in 100 groups: the marks of
// a search "in all data" with the five default tags and Ignore Case, the
// grid redraw after it, and the dialog's whole Search (marks, redraw,
// settings). Target: <= 50 ms for the search and for the redraw.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "bench/BenchBook.h"
#include "bench/BookGenerator.h"
#include "editor/ViewLogic.h"
#include "mainwin/MainFormLogic.h"
#include "search/SearchLogic.h"

namespace {

constexpr std::size_t kCards = 100000;

struct Fixture : benchgen::MainBook {
  Fixture() : MainBook("searchbench", kCards, 100) { main->TblClientWidth = 800; }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

// Texts: a family name on about one card in eight, a text on no card (every
// tag is read to the end), and 山田 in CP932 (on about one card in fifty).
const char* const kTexts[] = {"tanaka", "zz-none-zz", "\x8e\x52\x93\x63"};

search::SearchRule DefaultRule(int text) {
  search::SearchRule r;  // the dialog's defaults: five tags, Include, Ignore Case
  r.Text = kTexts[text];
  return r;
}

std::size_t Marked(const store::TAllList& book) {
  std::size_t n = 0;
  for (const store::TAddrRec* c : book.Cards()) n += c->Mark;
  return n;
}

void BM_SearchAllData(benchmark::State& state) {
  Fixture& f = Data();
  const search::SearchRule rule = DefaultRule(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    search::MarkMatches(*f.main->Book, rule, search::Area::All, true);
    benchmark::ClobberMemory();
  }
  state.counters["hits"] = static_cast<double>(Marked(*f.main->Book));
}
BENCHMARK(BM_SearchAllData)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The redraw after a search: the hits of "tanaka" (range 1: every card, as
// a search WithOut a missing text leaves it), under source order (sort key
// 0) and the name sort (4).
void BM_RedrawAfterSearch(benchmark::State& state) {
  Fixture& f = Data();
  search::SearchRule rule = DefaultRule(state.range(0) == 0 ? 0 : 1);
  rule.Include = state.range(0) == 0;
  search::MarkMatches(*f.main->Book, rule, search::Area::All, true);
  f.main->SortKey = static_cast<int>(state.range(1));
  for (auto _ : state) {
    f.main->TblRedraw(-1);
    benchmark::DoNotOptimize(f.main->Tbl.RowCount());
  }
  state.counters["rows"] = f.main->Tbl.RowCount() - 1;
  f.main->SortKey = 0;
}
BENCHMARK(BM_RedrawAfterSearch)->Args({0, 0})->Args({0, 4})->Args({1, 0})->Args({1, 4})->Unit(benchmark::kMillisecond);

// The search button as the user presses it: marks, redraw, settings file.
void BM_SearchButton(benchmark::State& state) {
  Fixture& f = Data();
  for (auto _ : state) {
    search::TSearchDlg d(*f.main);
    d.FindText = kTexts[0];
    d.Search();
    benchmark::DoNotOptimize(f.main->Tbl.RowCount());
  }
  state.counters["rows"] = f.main->Tbl.RowCount() - 1;
}
BENCHMARK(BM_SearchButton)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
