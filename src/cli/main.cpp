// q7addr-cli: the book's logic without a window, for scripts and for
// checking the program from outside.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSupport.h"

using namespace cli;

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int combine = 0;
  while (!args.empty() && args.front().rfind("--", 0) == 0) {
    if (args.front() == "--combine=1") {
      combine = 1;
    } else if (args.front() == "--combine=0") {
      combine = 0;
    } else {
      std::fprintf(stderr, "q7addr-cli: unknown option '%s'\n%s", args.front().c_str(), kUsage);
      return 2;
    }
    args.erase(args.begin());
  }
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string cmd = args.front();
  args.erase(args.begin());
  if (cmd == "recode") {
    if (args.empty()) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    return Recode(args);
  }
  if (cmd == "search") return Search(args, combine);
  if (cmd == "export") return Export(args, combine);
  if (cmd == "print") return Print(args, combine);
  if (cmd == "import") return Import(args, combine);
  if (cmd == "export-vcard") return ExportExchange(args, combine, true);
  if (cmd == "export-csv") return ExportExchange(args, combine, false);
  if (cmd == "tree" || cmd == "cards" || cmd == "resave") {
    if (args.size() != 1) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    ConsoleDialogs d;
    store::TAllList book;
    book.AdrCompFlg = combine;
    if (!LoadBook(book, args.front(), d)) return 1;
    if (cmd == "tree") return Tree(book);
    if (cmd == "cards") return Cards(book);
    return Resave(book);
  }
  std::fprintf(stderr, "q7addr-cli: unknown command '%s'\n%s", cmd.c_str(), kUsage);
  return 2;
}
