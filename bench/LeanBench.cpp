// What a 100,000-card book costs, in one run: streaming its files through
// "q7addr-cli recode", loading it into a book, freeing it, the heap and the
// peak resident size against the files' size, the program's start to its
// first painted window, listing the cards with their groups, and writing a
// name of 300,000 components.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BookGenerator.h"
#include "store/AddressFile.h"
#include "store/Book.h"

namespace {

constexpr std::size_t kCards = 100000;
using Clock = std::chrono::steady_clock;

struct Fixture {
  std::string dir;   // /tmp/q7leanbench-XXXXXX/
  std::string root;  // dir + "AddrBook/"
  benchgen::BookStats stats;
  std::vector<std::string> files;
  Fixture() {
    char tmpl[] = "/tmp/q7leanbench-XXXXXX";
    dir = std::string(mkdtemp(tmpl)) + "/";
    root = dir + "AddrBook/";
    stats = benchgen::GenerateBook(root, kCards, 100);
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
      if (e.path().extension() == ".bab") files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
  double MB() const { return static_cast<double>(stats.bytes) / 1e6; }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

// Bytes the allocator hands out, mapped blocks included (a book's arena
// chunks are mapped apart from it and added by the caller).
std::size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

struct Child {
  double wallMs = 0;
  double cpuMs = 0;
  long maxRssKb = 0;
  int status = -1;
  double lineMs = -1;       // wall time until `watch` showed up on stderr
  std::string stderrText;
};

// Runs argv in cwd with extra environment, standard output to /dev/null.
// Standard error is read; with `watch`, the time its first appearance took
// is noted.
Child Run(const std::vector<std::string>& argv, const std::string& cwd, const std::vector<std::string>& env,
          const std::string& watch = {}) {
  Child r;
  int errPipe[2];
  if (pipe(errPipe) != 0) return r;
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    close(errPipe[0]);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(errPipe[1]);
  char buf[4096];
  ssize_t n;
  while ((n = read(errPipe[0], buf, sizeof buf)) > 0) {
    r.stderrText.append(buf, static_cast<std::size_t>(n));
    if (r.lineMs < 0 && !watch.empty() && r.stderrText.find(watch) != std::string::npos)
      r.lineMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  }
  close(errPipe[0]);
  struct rusage ru {};
  wait4(pid, &r.status, 0, &ru);
  r.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  r.cpuMs = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
  r.maxRssKb = ru.ru_maxrss;
  return r;
}

double recodeMs = 0;  // the last recode run, for the load's ratio

void BM_RecodeFiles(benchmark::State& state) {
  const Fixture& f = Data();
  std::vector<std::string> argv{Q7ADDR_CLI_PATH, "recode"};
  argv.insert(argv.end(), f.files.begin(), f.files.end());
  double cpu = 0;
  for (auto _ : state) {
    const Child c = Run(argv, "", {});
    if (c.status != 0) state.SkipWithError("recode failed");
    state.SetIterationTime(c.wallMs / 1e3);
    recodeMs = c.wallMs;
    cpu = c.cpuMs;
  }
  state.counters["files_MB"] = f.MB();
  state.counters["cpu_ms"] = cpu;
}

void BM_LoadBook(benchmark::State& state) {
  const Fixture& f = Data();
  double heap = 0, ms = 0;
  std::size_t count = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    const auto t = Clock::now();
    auto book = std::make_unique<store::TAllList>();
    book->Root = f.root;
    store::LoadTree(*book);
    ms = std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    state.SetIterationTime(ms / 1e3);
    heap = static_cast<double>(HeapInUse() - before + book->MappedBytes());
    count = book->Count();
    book.reset();
  }
  state.counters["cards"] = static_cast<double>(count);
  state.counters["heap_MB"] = heap / 1e6;
  state.counters["heap_x_files"] = heap / static_cast<double>(f.stats.bytes);
  if (recodeMs > 0) state.counters["load_x_recode"] = ms / recodeMs;
}

void BM_FreeBook(benchmark::State& state) {
  const Fixture& f = Data();
  for (auto _ : state) {
    auto book = std::make_unique<store::TAllList>();
    book->Root = f.root;
    store::LoadTree(*book);
    const auto t = Clock::now();
    book.reset();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t).count());
  }
}

// ReLoad reads every file again into the loaded book: every card merges
// into the one it already has.
void BM_ReloadBook(benchmark::State& state) {
  const Fixture& f = Data();
  auto book = std::make_unique<store::TAllList>();
  book->Root = f.root;
  store::LoadTree(*book);
  const std::size_t heap0 = HeapInUse();
  for (auto _ : state) store::LoadTree(*book);
  state.counters["heap_growth_MB"] = static_cast<double>(HeapInUse() - heap0) / 1e6;
}

void BM_CliCards(benchmark::State& state) {
  const Fixture& f = Data();
  long rss = 0;
  for (auto _ : state) {
    const Child c = Run({Q7ADDR_CLI_PATH, "--raw", "cards", f.root}, "", {});
    if (c.status != 0) state.SkipWithError("cards failed");
    state.SetIterationTime(c.wallMs / 1e3);
    rss = c.maxRssKb;
  }
  state.counters["peak_rss_MB"] = rss / 1e3;
  state.counters["peak_rss_x_files"] = rss * 1e3 / static_cast<double>(f.stats.bytes);
}

#ifdef Q7ADDR_GUI_PATH
// The program on the book (/C in the book folder), offscreen; it reports
// its first paint and closes a moment later.
void BM_StartToFirstPaint(benchmark::State& state) {
  const Fixture& f = Data();
  const std::string shots = f.dir + "shots";
  double inProgram = 0;
  long rss = 0;
  for (auto _ : state) {
    std::filesystem::remove(f.root + "Q7Addr.ini");
    const Child c = Run({Q7ADDR_GUI_PATH, "/C"}, f.root,
                        {"QT_QPA_PLATFORM=offscreen", "Q7ADDR_SCREENSHOT_DIR=" + shots}, "first painted");
    const std::size_t at = c.stderrText.find("first painted ");
    if (c.lineMs < 0 || at == std::string::npos) {
      state.SkipWithError("no first paint reported");
      break;
    }
    state.SetIterationTime(c.lineMs / 1e3);
    inProgram = std::atof(c.stderrText.c_str() + at + 14);
    rss = c.maxRssKb;
  }
  state.counters["since_main_ms"] = inProgram;
  state.counters["peak_rss_MB"] = rss / 1e3;
  state.counters["peak_rss_x_files"] = rss * 1e3 / static_cast<double>(f.stats.bytes);
}
#endif

// One N line of 300,000 components: the writer must stay linear.
void BM_WriteLongName(benchmark::State& state) {
  store::TAddrRec c;
  c.PrefEmail = "long@example.com";
  std::string line;
  for (int i = 0; i < 300000; ++i) line += (i ? ";x" : "x");
  store::SplitValuesText(c.N.emplace_back().Values, line);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = store::CardToBytes(c).size();
  state.counters["bytes"] = static_cast<double>(bytes);
}

}  // namespace

BENCHMARK(BM_RecodeFiles)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadBook)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FreeBook)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReloadBook)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CliCards)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
#ifdef Q7ADDR_GUI_PATH
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
#endif
BENCHMARK(BM_WriteLongName)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
