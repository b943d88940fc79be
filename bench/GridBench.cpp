// The main window's grid on a generated book of 100,000 cards in 100 groups:
// TblRedraw under source order and the name sort both ways, and a check
// click in the tree (RecalcMarks plus redraw). Target: <= 150 ms each.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "bench/BenchBook.h"
#include "bench/BookGenerator.h"
#include "editor/ViewLogic.h"
#include "mainwin/MainFormLogic.h"

namespace {

constexpr std::size_t kCards = 100000;


// Every group checked (no settings): the book view.
struct Fixture : benchgen::MainBook {
  Fixture() : MainBook("gridbench", kCards, 100) { main->TblClientWidth = 800; }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void BM_TblRedraw(benchmark::State& state) {
  Fixture& f = Data();
  f.main->SortKey = static_cast<int>(state.range(0));
  for (auto _ : state) {
    f.main->TblRedraw(-1);
    benchmark::DoNotOptimize(f.main->Tbl.RowCount());
  }
  state.counters["rows"] = f.main->Tbl.RowCount() - 1;
  f.main->SortKey = 0;
}
BENCHMARK(BM_TblRedraw)->Arg(0)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond);

// A click on a group's check mark: toggles it, RecalcMarks, TblRedraw.
void BM_GroupCheckClick(benchmark::State& state) {
  Fixture& f = Data();
  f.main->SortKey = static_cast<int>(state.range(0));
  store::TreeNode* node = nullptr;
  for (store::TreeNode* n : f.main->Book->Nodes.InOrder())
    if (n->Level > 0) {
      node = n;
      break;
    }
  f.main->Selected = node;
  for (auto _ : state) {
    f.main->GroupTreeDblClick();
    benchmark::DoNotOptimize(f.main->Tbl.RowCount());
  }
  if (node->ImageIndex != store::kImgChecked) f.main->GroupTreeDblClick();
  state.counters["rows"] = f.main->Tbl.RowCount() - 1;
  f.main->SortKey = 0;
}
BENCHMARK(BM_GroupCheckClick)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

// The card editor changes the current card's address: ResortCard moves it
// in the book and redraws on it (the book's order index is rebuilt too).
void BM_ResortCard(benchmark::State& state) {
  Fixture& f = Data();
  f.main->SortKey = static_cast<int>(state.range(0));
  f.main->TblRedraw(-1);
  f.main->TblSelectCell(f.main->Tbl.RowCount() / 2);
  store::TAddrRec* card = f.main->View->CurCard;
  const std::string original = card->PrefEmail;
  bool flip = false;
  for (auto _ : state) {
    card->PrefEmail = flip ? original : "0" + original;
    flip = !flip;
    f.main->ResortCard(card);
    benchmark::DoNotOptimize(f.main->Tbl.Row);
  }
  card->PrefEmail = original;
  f.main->ResortCard(card);
  f.main->SortKey = 0;
}
BENCHMARK(BM_ResortCard)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

// What the Qt model does per repaint: the cells of 50 visible rows.
void BM_VisibleCells(benchmark::State& state) {
  Fixture& f = Data();
  f.main->TblRedraw(-1);
  const int top = f.main->Tbl.RowCount() / 2;
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (int r = top; r < top + 50; ++r)
      for (int c = 0; c < mainwin::kGridColumns; ++c) bytes += f.main->Tbl.Cell(r, c).size();
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_VisibleCells)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
