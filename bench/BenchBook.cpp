#include "bench/BenchBook.h"

#include <stdlib.h>

#include <filesystem>

#include "bench/BookGenerator.h"

namespace benchgen {

std::string TempFolder(const char* tag) {
  std::string tmpl = std::string("/tmp/q7") + tag + "-XXXXXX";
  if (!mkdtemp(tmpl.data())) return {};
  return tmpl + "/";
}

std::unique_ptr<mainwin::TQ7AdrMan> StartMain(dlg::Dialogs& dialogs, const std::string& dir) {
  std::filesystem::create_directories(dir + "prog");
  mainwin::StartOptions o;
  o.Config = plat::PlatformConfig{dir, "", "", ""};
  o.ProgramDir = dir + "prog/";
  o.CurrentDir = dir;
  auto main = std::make_unique<mainwin::TQ7AdrMan>(dialogs, o);
  main->FormCreate();
  return main;
}

MainBook::MainBook(const char* tag, std::size_t cards, std::size_t groups) : dir(TempFolder(tag)) {
  GenerateBook(dir + "AddrBook/", cards, groups);
  Restart();
}

MainBook::~MainBook() {
  main.reset();
  std::filesystem::remove_all(dir);
}

}  // namespace benchgen
