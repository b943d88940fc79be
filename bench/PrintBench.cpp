// The text layouts on a generated book of 100,000 cards in 100 groups:
// BuildLines in the Normal layout for both targets, for printing (titles
// with the page field) and for the export. Target: <= 300 ms each.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "bench/BenchBook.h"
#include "bench/BookGenerator.h"
#include "mainwin/MainFormLogic.h"
#include "print/PrintSetupLogic.h"

namespace {

constexpr std::size_t kCards = 100000;

// Every group checked: the grid shows the whole book.
struct Fixture : benchgen::MainBook {
  std::unique_ptr<print::MainGridRows> grid;
  std::unique_ptr<print::TPrintSetup> setup;
  Fixture() : MainBook("printbench", kCards, 100) {
    grid = std::make_unique<print::MainGridRows>(*main);
    setup = std::make_unique<print::TPrintSetup>(dialogs, *main->Book, dir + "prog/Q7Addr.ini", grid.get());
    setup->RowPanelWidth = 11 + 552;
    setup->FormInit();  // the "Print" defaults, Normal
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

// range(0): 0 "All Data Every Group", 1 "Already Extracted"; range(1): export.
void BM_BuildLinesNormal(benchmark::State& state) {
  Fixture& f = Data();
  f.setup->PrintFormClick(print::kNormal);
  f.setup->RadioPrintView = state.range(0) == 1;
  const bool exportMode = state.range(1) == 1;
  std::size_t lines = 0, bytes = 0;
  for (auto _ : state) {
    print::TPrintData job;
    f.setup->BuildLines(job, exportMode);
    lines = job.Lines.size();
    benchmark::DoNotOptimize(job.Lines.data());
    state.PauseTiming();
    bytes = 0;
    for (const std::string& l : job.Lines) bytes += l.size() + 2;
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_BuildLinesNormal)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// The clipboard's text of the same export: every line joined with CR LF.
void BM_JoinLines(benchmark::State& state) {
  Fixture& f = Data();
  f.setup->PrintFormClick(print::kNormal);
  f.setup->RadioPrintView = false;
  print::TPrintData job;
  f.setup->BuildLines(job, true);
  for (auto _ : state) benchmark::DoNotOptimize(print::TPrintSetup::JoinLines(job).size());
}
BENCHMARK(BM_JoinLines)->Unit(benchmark::kMillisecond);

// The Detail layout, whose labelled block is the longest per card.
void BM_BuildLinesDetail(benchmark::State& state) {
  Fixture& f = Data();
  f.setup->PrintFormClick(print::kDetail);
  f.setup->RadioPrintView = false;
  std::size_t lines = 0;
  for (auto _ : state) {
    print::TPrintData job;
    f.setup->BuildLines(job, true);
    lines = job.Lines.size();
    benchmark::DoNotOptimize(job.Lines.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
  f.setup->PrintFormClick(print::kNormal);
}
BENCHMARK(BM_BuildLinesDetail)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
