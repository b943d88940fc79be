// The exchange formats at book size: importing a 100,000-card vCard 3.0
// file (about 40 MB, every card with escapes, folded lines, two categories)
// into a book through the import dialog's logic, and exporting the
// generated 100,000-card book as vCard and as CSV.
// Targets: <= 1.5 s for the import, <= 1 s for the vCard export.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BookGenerator.h"
#include "exchange/ExportFiles.h"
#include "exchange/VcardSyntax.h"
#include "import/ImportFormLogic.h"
#include "mainwin/MainFormLogic.h"
#include "platform/TextFile.h"

namespace {

std::string VcardFile(std::size_t cards) {
  std::string out;
  out.reserve(cards * 400);
  for (std::size_t i = 0; i < cards; ++i) {
    const std::string n = std::to_string(i);
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    out += "N:Yamada" + n + ";Taro;;Mr.;\r\n";
    out += "FN:\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E " + n + "\r\n";  // 山田 太郎
    out += "item1.EMAIL;TYPE=INTERNET,PREF:taro" + n + "@example.jp\r\n";
    out += "item2.EMAIL;type=INTERNET;type=HOME:home" + n + "@example.org\r\n";
    out += "TEL;TYPE=WORK,VOICE:+81-3-5555-" + n + "\r\nTEL;TYPE=CELL:090-0000-" + n + "\r\n";
    out += "ADR;TYPE=WORK:;Floor 3;1-2-3 Marunouchi\\, Chiyoda-ku;Tokyo;;100-0005;Japan\r\n";
    out += "NOTE:Met at the fair\\nCall in the morning\\; not after six\\, please.\r\n";
    out += "ORG:Example Corp;Sales\r\nTITLE:Manager\r\n";
    out += "CATEGORIES:Clients\\\\Area" + std::to_string(i % 10) + ",Team" + std::to_string(i % 7) + "\r\n";
    out += "END:VCARD\r\n";
  }
  return out;
}

struct Fixture {
  std::string dir;
  dlg::NullDialogs dialogs;
  std::unique_ptr<mainwin::TQ7AdrMan> main;
  std::string vcf;

  Fixture() {
    char tmpl[] = "/tmp/q7exchangebench-XXXXXX";
    dir = std::string(mkdtemp(tmpl)) + "/";
    benchgen::GenerateBook(dir + "AddrBook/", 100000, 1000);
    std::filesystem::create_directories(dir + "prog");
    std::filesystem::create_directories(dir + "empty/AddrBook/Top");
    vcf = dir + "contacts.vcf";
    plat::TextWriter w;
    w.Create(vcf);
    w.Write(VcardFile(100000));
    w.Close();
  }
  std::unique_ptr<mainwin::TQ7AdrMan> Start(const std::string& data) {
    mainwin::StartOptions o;
    o.Config = plat::PlatformConfig{data, "", "", ""};
    o.ProgramDir = dir + "prog/";
    o.CurrentDir = dir;
    auto m = std::make_unique<mainwin::TQ7AdrMan>(dialogs, o);
    m->FormCreate();
    return m;
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void BM_ImportVcard100k(benchmark::State& state) {
  Fixture& f = Data();
  int added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto book = f.Start(f.dir + "empty/");  // a fresh book each time
    imp::TImportForm form;
    form.FormInit(*book);
    form.Template = 7;
    form.FileChosen(f.vcf);
    state.ResumeTiming();
    form.ExectClick();
    added = form.CardsAdded;
    state.PauseTiming();
    book.reset();
    state.ResumeTiming();
  }
  state.counters["added"] = added;
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(f.vcf)) / 1e6;
}
BENCHMARK(BM_ImportVcard100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void Export(benchmark::State& state, bool vcard) {
  Fixture& f = Data();
  if (!f.main) f.main = f.Start(f.dir);
  store::CheckAll(*f.main->Book, true);
  const auto cards = exch::CardsToExport(*f.main->Book, true);
  const std::string path = f.dir + (vcard ? "out.vcf" : "out.csv");
  for (auto _ : state) {
    plat::TextWriter out;
    out.Create(path);
    if (vcard)
      exch::WriteVcardFile(*f.main->Book, cards, exch::VcardVersion::V30, out);
    else
      exch::WriteCsvFile(*f.main->Book, cards, exch::CsvEncoding::Utf8, out);
    out.Close();
  }
  state.counters["cards"] = static_cast<double>(cards.size());
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

void BM_ExportVcard100k(benchmark::State& state) { Export(state, true); }
BENCHMARK(BM_ExportVcard100k)->Unit(benchmark::kMillisecond);

void BM_ExportCsvUtf8100k(benchmark::State& state) { Export(state, false); }
BENCHMARK(BM_ExportCsvUtf8100k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
