// The commands over a loaded book: tree, cards, resave, search, and recode
// of single address files.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "import/ImportTextLogic.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "search/SearchLogic.h"
#include "store/AddressFile.h"
#include "store/Save.h"

namespace cli {

int Tree(store::TAllList& book) {
  const int width = 2 * book.Nodes.MaxLevel();
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    PutListing(store::GroupTreeText(*n->Group, width, false) + n->Caption + "\t" + n->Group->NickName + "\t" +
        std::to_string(n->Group->Count()) + "\n");
  }
  return 0;
}

int Cards(store::TAllList& book) {
  const CardGroups groups(book);
  for (const store::TAddrRec* c : book.Cards()) PutCard(groups, c);
  return 0;
}

// search ROOT TEXT [--tags=...] [--without] [--case]: "in all data" with
// "New", matched by the search dialog's own code.
int Search(const std::vector<std::string>& args, int combine) {
  std::vector<std::string> pos;
  search::SearchRule rule;  // the dialog's default tags, Include, Ignore Case
  bool optionsEnd = false;
  for (const std::string& a : args) {
    if (optionsEnd || a.rfind("--", 0) != 0) {
      pos.push_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (a == "--without") {
      rule.Include = false;
    } else if (a == "--case") {
      rule.IgnoreCase = false;
    } else if (a.rfind("--tags=", 0) == 0) {
      rule.Tags.fill(false);
      std::string list = a.substr(7);
      if (list.empty()) {
        return BadUsage("--tags needs at least one tag");
      }
      std::size_t from = 0;
      while (from <= list.size()) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos) comma = list.size();
        const std::string key = list.substr(from, comma - from);
        const int tag = search::TagByKey(key);
        if (tag < 0) {
          return BadUsage("unknown tag '" + key + "'");
        }
        rule.Tags[static_cast<std::size_t>(tag)] = true;
        from = comma + 1;
      }
    } else {
      return BadUsage("unknown option '" + a + "'");
    }
  }
  if (pos.size() != 2) return BadUsage("search needs ROOT and TEXT");
  // Typed text is UTF-8; bytes that are not are taken as CP932 already.
  if (imp::ValidUtf8(pos[1])) {
    std::string text;
    if (imp::Utf8ToCp932(pos[1], text) != 0) {
      std::fprintf(stderr, "q7addr-cli: the search text '%s' holds characters CP932 cannot hold\n",
                   pos[1].c_str());
      return 2;
    }
    rule.Text = std::move(text);
  } else {
    rule.Text = pos[1];
  }
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, pos[0], d)) return 1;
  search::MarkMatches(book, rule, search::Area::All, true);
  const CardGroups groups(book);
  for (const store::TAddrRec* c : book.Cards())
    if (c->Mark == 1) PutCard(groups, c);
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

namespace {

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

}  // namespace

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

}  // namespace cli
