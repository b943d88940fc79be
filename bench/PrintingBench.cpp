// Printing a job of 100,000 body lines onto a PDF through the program's Qt
// printer (A4, 1200 dpi, offscreen). PrintLines stops at page 999, so the
// runs print 100, 300 and 999 pages: the peak memory (ru_maxrss) must stay
// flat as the page count grows, since the PDF is written page by page and
// only the job's lines are held. Reports pages per second and the peak.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <cstdlib>
#include <string>

#include "print/Printing.h"
#include "ui/QtPrinter.h"

namespace {

constexpr int kLines = 100000;

// Lines as the Normal layout makes them: 92 cells, every third with
// Japanese (山田 太郎, 東京都千代田区).
const print::TPrintData& Job() {
  static const print::TPrintData job = [] {
    print::TPrintData j;
    j.Header = {std::string(" Mail Address") + std::string(18, ' ') + "Name" + std::string(17, ' ') +
                    "Note" + std::string(26, ' ') + "Page-%-4d",
                std::string(20, ' ') + "Nic Name    Zip       Home Address", std::string(92, '-')};
    for (int i = 0; i < kLines; ++i) {
      std::string line = " user" + std::to_string(i) + "@example.jp";
      line.resize(31, ' ');
      line += i % 3 == 0 ? "\x8e\x52\x93\x63 \x91\xbe\x98\x59" : "Taro Yamada";
      line.resize(52, ' ');
      line += i % 3 == 0 ? "\x93\x8c\x8b\x9e\x93\x73\x90\xe7\x91\xe3\x93\x63\x8b\xe6" : "Chiyoda-ku, Tokyo";
      line.resize(92, ' ');
      j.Lines.push_back(line);
    }
    j.TopMargin = 100;
    j.LeftMargin = 100;
    j.Scale = 100;
    return j;
  }();
  return job;
}

class QuietHost : public print::PrintHost {
 public:
  void ProcessEvents() override {}
  void SetPageMessage(const std::string&) override {}
};

double PeakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void BM_PrintPdf(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  char tmpl[] = "/tmp/q7printbench-XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  const QString path = QString::fromStdString(dir + "/job.pdf");
  dlg::NullDialogs dialogs;
  QuietHost host;
  qint64 bytes = 0;
  for (auto _ : state) {
    print::TPrintData job = Job();
    job.PrintDialog.ToPage = pages;
    QPrinter qp(QPrinter::HighResolution);
    app::SetUpPdf(qp, path);
    app::QtPrinter printer(qp);
    if (!print::PrintLines(job, printer, host, dialogs, print::kPrinterFace)) state.SkipWithError("not printed");
    bytes = QFile(path).size();
  }
  QFile::remove(path);
  rmdir(dir.c_str());
  state.counters["pages_per_s"] = benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
  state.counters["peak_rss_MB"] = PeakRssMb();
  state.counters["pdf_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PrintPdf)->Arg(100)->Arg(300)->Arg(999)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  Job();  // the lines are the job's own memory, counted before any page
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("peak_rss_MB_before_printing", std::to_string(PeakRssMb()));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
