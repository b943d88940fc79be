// Opening the group dialog (its creation builds GrpTbl from the tree) on a
// tree of about 1,000 groups: the generated 100,000-card book with 1,000
// groups in ten top-level folders, and an empty tree three levels deep.
// Also an add and a delete in the dialog, which redraw every row and the
// main window's grid. Target: <= 100 ms to open.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchBook.h"
#include "bench/BookGenerator.h"
#include "editor/ViewLogic.h"
#include "groups/GroupsLogic.h"
#include "mainwin/MainFormLogic.h"

namespace {

// Answers every question with its first button and every input box with
// one name, so that "Add" adds and "Del" deletes.
class AddingDialogs : public dlg::NullDialogs {
 public:
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::string("BenchGroup");
  }
};

struct Book {
  std::string dir;
  AddingDialogs dialogs;
  std::unique_ptr<mainwin::TQ7AdrMan> main;

  explicit Book(bool generated) {
    char tmpl[] = "/tmp/q7groupsbench-XXXXXX";
    dir = std::string(mkdtemp(tmpl)) + "/";
    const std::string root = dir + "AddrBook/";
    if (generated) {
      benchgen::GenerateBook(root, 100000, 1000);
    } else {
      // 10 top-level folders, 10 groups each, 9 groups below each of those.
      for (int t = 0; t < 10; ++t)
        for (int g = 0; g < 10; ++g)
          for (int s = 0; s < 9; ++s)
            std::filesystem::create_directories(root + "Top" + std::to_string(t) + "/Group" + std::to_string(g) +
                                                "/Sub" + std::to_string(s));
    }
    main = benchgen::StartMain(dialogs, dir);
  }
  ~Book() {
    main.reset();
    std::filesystem::remove_all(dir);
  }
};

Book& Data(bool generated) {
  static Book flat(true);
  static Book nested(false);
  return generated ? flat : nested;
}

void BM_OpenGroupDialog(benchmark::State& state) {
  Book& b = Data(state.range(0) == 0);
  for (auto _ : state) {
    groups::TGrpView view(*b.main);
    benchmark::DoNotOptimize(view.Rows.data());
  }
  state.counters["groups"] = b.main->Book->Nodes.Count();
}
BENCHMARK(BM_OpenGroupDialog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One add below the first top-level folder and the delete of that group
// (no files: nothing on disk), each redrawing the table, the editor's
// group list and the grid.
void BM_AddAndDeleteGroup(benchmark::State& state) {
  Book& b = Data(state.range(0) == 0);
  groups::TGrpView view(*b.main);
  for (auto _ : state) {
    view.ItemIndex = 1;
    view.AddGroupClick();
    view.DelGroupClick();
  }
  state.counters["groups"] = b.main->Book->Nodes.Count();
}
BENCHMARK(BM_AddAndDeleteGroup)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
