// Importing a 100,000-line Outlook Express CSV (template 1) into the
// generated 100,000-card book, half of the lines merging into cards of the
// book; and the record preview of line 999 of a 100 MB CSV file.
// Targets: <= 1 s for the import, <= 50 ms for the preview.
// Also a CSV whose group column names a new group on every line, at three
// sizes: the time per line must not grow with the number of groups.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchBook.h"
#include "bench/BookGenerator.h"
#include "import/CsvImportLogic.h"
#include "import/ImportFormLogic.h"
#include "mainwin/MainFormLogic.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "store/Card.h"

namespace {

struct Fixture : benchgen::MainBook {
  std::string csv;  // the 100,000-line file
  std::string big;  // the 100 MB file

  Fixture() : MainBook("importbench", 100000, 1000) {
    // Every other line is a card of the book with its own name (merged by
    // either combine rule), the others are new.
    std::string bytes;
    const auto& cards = main->Book->Cards();
    for (std::size_t i = 0; i < 100000; ++i) {
      std::string addr, name;
      if (i % 2 == 0) {
        const store::TAddrRec* c = cards[(i * 7919) % cards.size()];
        addr = c->PrefEmail;
        name = store::GetValue(c->FN, "");
      } else {
        addr = "imported" + std::to_string(i) + "@example.org";
        name = "Imported \x8e\x52\x93\x63 " + std::to_string(i);  // "山田"
      }
      bytes += "\"" + name + "\",nick" + std::to_string(i) + "," + addr +
               ",1-2-3 Street,City,100-0001,Pref,Japan,03-0000-0000,03-0000-0001,http://home.example/," +
               "4-5-6 Office,Town,200-0002,State,Japan,http://www.example/,06-0000-0000,06-0000-0001,," +
               "Company,Title,Dept,Room 5,,,,,,\r\n";
    }
    csv = dir + "oe4.csv";
    Write(csv, bytes);
    // 100 MB of lines of about 100 bytes.
    std::string line = "name,mail@example.jp," + std::string(70, 'x') + ",end\r\n";
    std::string chunk;
    while (chunk.size() < (1u << 20)) chunk += line;
    plat::TextWriter w;
    big = dir + "big.csv";
    w.Create(big);
    for (int i = 0; i < 100; ++i) w.Write(chunk);
    w.Close();
  }
  static void Write(const std::string& path, const std::string& bytes) {
    plat::TextWriter w;
    w.Create(path);
    w.Write(bytes);
    w.Close();
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void BM_ImportCsv100k(benchmark::State& state) {
  Fixture& f = Data();
  int added = 0;
  std::size_t cards = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.Restart();  // a fresh book each time: the first run's cards would merge
    imp::TImportForm form;
    form.FormInit(*f.main);
    form.Template = 1;
    form.FileChosen(f.csv);
    state.ResumeTiming();
    form.ExectClick();
    added = form.CardsAdded;
    cards = f.main->Book->Count();
  }
  state.counters["added"] = added;
  state.counters["book"] = static_cast<double>(cards);
}
BENCHMARK(BM_ImportCsv100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same file read, split and mapped into cards that are then dropped:
// what the import costs before the book's AddCard.
void BM_ParseCsv100kOnly(benchmark::State& state) {
  Fixture& f = Data();
  imp::TImportForm form;
  form.FormInit(*f.main);
  form.Template = 1;
  form.FileChosen(f.csv);
  std::vector<std::string> fields;
  for (auto _ : state) {
    imp::ImportFile file;
    file.Open(f.csv, imp::Encoding::Auto);
    std::string line;
    while (file.ReadLine(line)) {
      imp::SplitCsvLine(line, fields);
      store::CardPtr card = store::NewCard();
      for (std::size_t i = 0; i < form.Rows.size() && i < fields.size(); ++i) {
        const imp::MappingRow& row = form.Rows[i];
        if (static_cast<std::size_t>(row.Source) < fields.size() && !fields[static_cast<std::size_t>(row.Source)].empty())
          imp::ApplyTarget(*card, row.TargetIndex, fields[static_cast<std::size_t>(row.Source)]);
      }
      benchmark::DoNotOptimize(card.get());
    }
  }
}
BENCHMARK(BM_ParseCsv100kOnly)->Unit(benchmark::kMillisecond);

void BM_PreviewRecord999Of100MB(benchmark::State& state) {
  Fixture& f = Data();
  imp::TImportForm form;
  form.FormInit(*f.main);
  form.Template = 0;
  form.FileChosen(f.big);
  for (auto _ : state) {
    form.RecNoChange(999);
    benchmark::DoNotOptimize(form.Rows.data());
  }
  state.counters["rec"] = form.RecNo;
}
BENCHMARK(BM_PreviewRecord999Of100MB)->Unit(benchmark::kMillisecond);

void BM_ImportCsvNewGroupPerLine(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const std::string dir = "/tmp/q7addr-bench-groups-" + std::to_string(getpid()) + "/";
  std::filesystem::create_directories(dir);
  std::string bytes;
  for (int i = 0; i < lines; ++i)
    bytes += "\x8e\x52\x93\x63 group " + std::to_string(i * 7919 % lines) + ",m" + std::to_string(i) + "@example.jp\r\n";
  const std::string csv = dir + "groups.csv";
  Fixture::Write(csv, bytes);
  std::size_t groups = 0;
  for (auto _ : state) {
    state.PauseTiming();
    dlg::NullDialogs dialogs;
    store::TAllList book;
    book.Root = dir + "book/";
    book.Dialogs = &dialogs;
    book.Nodes.Add(nullptr, "Top", book.NewGroup(book.Root + "Top/"));
    imp::TImportForm form;
    form.Init(book, dialogs);
    form.Template = 0;
    form.SetTemplateMode();
    form.FileChosen(csv);
    form.MapColumn(0, 1);  // the group
    form.MapColumn(1, 2);
    state.ResumeTiming();
    form.ExectClick();
    groups = static_cast<std::size_t>(book.Nodes.Count());
  }
  state.counters["groups"] = static_cast<double>(groups);
  state.counters["per_line"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ImportCsvNewGroupPerLine)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
