// q7addr-cli: the book's logic without a window, for scripts and checks.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "store/AddressFile.h"
#include "store/Book.h"
#include "store/Card.h"
#include "store/Save.h"

namespace {

const char kUsage[] =
    "usage: q7addr-cli [--combine=0|1] COMMAND ARGS\n"
    "  recode FILE...   read address files and write their cards back to standard output\n"
    "  tree ROOT        the group tree of the book folder ROOT\n"
    "  cards ROOT       every card of the book: address, name, groups\n"
    "  resave ROOT      write every group below the top level back\n";

// Message boxes become lines on standard error; questions get Cancel (or the
// only button there is), so a script never writes over an outside change.
class ConsoleDialogs : public dlg::NullDialogs {
 public:
  dlg::Button MessageBox(const std::string& text, dlg::BoxType, const dlg::Buttons& buttons) override {
    // The box's line breaks (CR LF or CR) become plain line ends.
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r') {
        lines.push_back('\n');
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      } else {
        lines.push_back(text[i]);
      }
    }
    std::fwrite(lines.data(), 1, lines.size(), stderr);
    std::fputc('\n', stderr);
    for (dlg::Button b : buttons)
      if (b == dlg::Button::Cancel) return b;
    return buttons.empty() ? dlg::Button::Ok : buttons.front();
  }
};

// Loads the book in folder `arg` (a path as typed, UTF-8 on disk).
bool LoadBook(store::TAllList& book, const std::string& arg, dlg::Dialogs& d) {
  std::string root = plat::fs::FromDiskPath(arg);
  if (root.empty() || root.back() != '/') root += '/';
  if (!plat::fs::DirExists(root)) {
    std::fprintf(stderr, "q7addr-cli: no such book folder: %s\n", arg.c_str());
    return false;
  }
  book.Root = root;
  book.Dialogs = &d;
  store::LoadTree(book);
  return true;
}

void Put(const std::string& s) { std::fwrite(s.data(), 1, s.size(), stdout); }

int Tree(store::TAllList& book) {
  const int width = 2 * book.Nodes.MaxLevel();
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    Put(store::GroupTreeText(*n->Group, width, false) + n->Caption + "\t" + n->Group->NickName + "\t" +
        std::to_string(n->Group->Count()) + "\n");
  }
  return 0;
}

int Cards(store::TAllList& book) {
  for (const store::TAddrRec* c : book.Cards()) {
    std::string groups;
    for (const store::TreeNode* n : book.Nodes.InOrder()) {
      if (!n->Group->Contains(c)) continue;
      if (!groups.empty()) groups += ";";
      groups += store::GroupDisplayPath(*n->Group);
    }
    Put(c->PrefEmail + "\t" + store::GetValue(c->FN, "") + "\t" + groups + "\n");
  }
  return 0;
}

int Resave(store::TAllList& book) {
  const std::vector<store::TreeNode*> nodes = book.Nodes.InOrder();
  int written = 0, failed = 0;
  for (store::TreeNode* n : nodes) {
    if (n->Level == 0) continue;
    n->Group->Modified = true;
    if (store::SaveGroup(book, n))
      ++written;
    else
      ++failed;
  }
  std::fprintf(stderr, "%d groups written\n", written);
  return failed ? 1 : 0;
}

// Writes each card as it is completed, after the one normalisation the book
// applies to every card it receives; no merging.
class RecodeSink : public store::CardSink {
 public:
  explicit RecodeSink(plat::TextWriter& out) : out_(out) {}
  store::TAddrRec* AddCard(store::CardPtr card, bool) override {
    store::TakeFirstEmailAsPref(*card);
    store::WriteCard(out_, *card);
    return nullptr;
  }

 private:
  plat::TextWriter& out_;
};

int Recode(const std::vector<std::string>& files) {
  plat::TextWriter out;
  out.Attach(STDOUT_FILENO);
  RecodeSink sink(out);
  int status = 0;
  for (const auto& f : files) {
    if (store::ReadAddressFile(sink, f) != store::ReadResult::Ok) {
      out.Close();  // keep stdout and stderr in file order
      out.Attach(STDOUT_FILENO);
      std::fprintf(stderr, "%s\nFile open error\n", f.c_str());
      status = 1;
    }
  }
  if (!out.Close()) {
    std::fprintf(stderr, "q7addr-cli: write error on standard output\n");
    return 1;
  }
  return status;
}

}  // namespace

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
