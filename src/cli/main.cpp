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
  bool raw = false;
  while (!args.empty() && args.front().rfind("--", 0) == 0) {
    const std::string& opt = args.front();
    if (opt == "--combine=1") {
      combine = 1;
    } else if (opt == "--combine=0") {
      combine = 0;
    } else if (opt == "--raw") {
      raw = true;
    } else if (opt == "--help") {
      Put(Usage());
      return 0;
    } else if (opt == "--version") {
      Put("q7addr-cli " Q7ADDR_VERSION "\n");
      return 0;
    } else {
      return BadUsage("unknown option '" + opt + "'");
    }
    args.erase(args.begin());
  }
  if (args.empty()) return BadUsage("no command given");
  const std::string cmd = args.front();
  args.erase(args.begin());
  const std::string usage = CommandUsage(cmd);
  if (usage.empty()) return BadUsage("unknown command '" + cmd + "'");
  // --help anywhere, and --raw for the listings, up to a "--" that ends
  // the options (after it they are names).
  const bool listing = cmd == "tree" || cmd == "cards" || cmd == "search";
  for (auto it = args.begin(); it != args.end() && *it != "--";) {
    if (*it == "--help") {
      Put(usage);
      return 0;
    }
    if (listing && *it == "--raw") {
      raw = true;
      it = args.erase(it);
    } else {
      ++it;
    }
  }
  // Listings are for people: in the terminal's encoding unless --raw.
  if (listing) SetListingUtf8(!raw && LocaleIsUtf8());
  if (cmd == "recode") {
    if (args.empty()) return BadUsage("recode needs at least one FILE");
    return Recode(args);
  }
  if (cmd == "search") return Search(args, combine);
  if (cmd == "export") return Export(args, combine);
  if (cmd == "print") return Print(args, combine);
  if (cmd == "import") return Import(args, combine);
  if (cmd == "export-vcard") return ExportExchange(args, combine, true);
  if (cmd == "export-csv") return ExportExchange(args, combine, false);
  // tree, cards, resave
  for (const std::string& a : args)
    if (a.rfind("--", 0) == 0) return BadUsage("unknown option '" + a + "'");
  if (args.size() != 1) return BadUsage(cmd + " needs one ROOT");
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, args.front(), d)) return 1;
  if (cmd == "tree") return Tree(book);
  if (cmd == "cards") return Cards(book);
  return Resave(book);
}
