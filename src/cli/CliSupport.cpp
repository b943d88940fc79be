#include "cli/CliSupport.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Iconv.h"

namespace cli {

namespace {

struct CommandHelp {
  const char* name;
  const char* text;  // its lines of the usage, starting with the name
};

// One entry per command, in the order the whole usage lists them.
constexpr CommandHelp kCommands[] = {
    {"recode", "  recode FILE...   read address files and write their cards back to standard output\n"},
    {"tree", "  tree [--raw] ROOT  the group tree of the book folder ROOT\n"},
    {"cards", "  cards [--raw] ROOT  every card of the book: address, name, groups\n"},
    {"resave", "  resave ROOT      write every group below the top level back\n"},
    {"search", "  search [--raw] ROOT TEXT [--tags=Addr,Name,...] [--without] [--case]\n"
               "                   the cards a search in all data finds, as cards prints them;\n"
               "                   tags are the settings keys Addr Name Nic Rem URL Key Zip Adr\n"
               "                   Tel Org Bday Other (default Addr,Name,Nic,Rem,Adr);\n"
               "                   --without: cards without TEXT; --case: case counts\n"},
    {"export", "  export ROOT [--section=Print|Export] [--format=Simple|Normal|Detail] [--ini=FILE]\n"
               "                   the text export of the groups checked in FILE's section Group\n"
               "                   (CP932, CR LF) in the layout FILE stores (default: section\n"
               "                   Export, the stored format; no FILE: the default layouts)\n"},
    {"print", "  print ROOT --pdf=OUT.pdf [--section=Print|Export] [--format=Simple|Normal|Detail]\n"
              "        [--ini=FILE] [--copies=N] [--collate] [--from=N] [--to=N]\n"
              "                   print the same groups as export, with page titles, into the\n"
              "                   PDF file OUT.pdf as the print window does (default: section\n"
              "                   Print); copies, collation and the page range as its dialog\n"},
    {"import", "  import ROOT [--template=N] [--map=SRC:TARGET,...] [--encoding=auto|cp932|utf-8]\n"
               "              FILE_OR_FOLDER\n"
               "                   import another program's address book into \"(New Imported)\"\n"
               "                   and save the changed groups; N: 0 any CSV (default), 1 Outlook\n"
               "                   Express 4, 2 Netscape 4, 3 version-1 folder, 4 AL-Mail32 file,\n"
               "                   5 EdMax folder, 6 Datula file, 7 vCard file; --map (template\n"
               "                   0): CSV column SRC (from 0) to target TARGET (index 0-28 or\n"
               "                   its label)\n"},
    {"export-vcard", "  export-vcard ROOT [--version=3.0|4.0] [--all] [--ini=FILE]\n"
                     "                   the cards of the groups checked in FILE's section Group\n"
                     "                   (default: ROOT/Q7Addr.ini; --all: every card) as a UTF-8\n"
                     "                   vCard file on standard output (default version 3.0)\n"},
    {"export-csv", "  export-csv ROOT [--encoding=cp932|utf-8] [--all] [--ini=FILE]\n"
                   "                   the same cards as CSV with a header line of the CSV\n"
                   "                   import's targets (default CP932; UTF-8 with a byte-order\n"
                   "                   mark); import it again with --map=0:1,1:2,...,27:28\n"},
};

constexpr const char kUsageHead[] = "Usage: q7addr-cli [--combine=0|1] [--raw] COMMAND ARGS\n";

constexpr const char kUsageOptions[] =
    "\n"
    "Options:\n"
    "  --combine=0|1    1: cards with the same address are always one card; 0 (default):\n"
    "                   only when their names are equal too\n"
    "  --raw            listings (tree, cards, search) in the stored CP932 bytes; without\n"
    "                   it they are converted to UTF-8 when the locale's codeset is\n"
    "                   UTF-8 and left as stored under any other codeset\n"
    "  --help           this text; COMMAND --help: the usage of one command\n"
    "  --version        the program's version\n"
    "\n"
    "Exit status: 0 done, 1 failure (a folder or file that cannot be read or\n"
    "written), 2 bad usage.\n";

bool listingUtf8 = false;

}  // namespace

std::string Usage() {
  std::string s = kUsageHead;
  s += "\nCommands:\n";
  for (const CommandHelp& c : kCommands) s += c.text;
  return s + kUsageOptions;
}

std::string CommandUsage(const std::string& command) {
  for (const CommandHelp& c : kCommands)
    if (command == c.name) return std::string("Usage: q7addr-cli [--combine=0|1]") + (c.text + 1);
  return {};
}

int BadUsage(const std::string& what) {
  std::fprintf(stderr, "q7addr-cli: %s (see q7addr-cli --help)\n", what.c_str());
  return 2;
}

void SetListingUtf8(bool on) { listingUtf8 = on; }

bool LocaleIsUtf8() {
  if (!std::setlocale(LC_ALL, "")) return false;  // a locale that is not installed: the C locale
  const char* codeset = ::nl_langinfo(CODESET);
  const bool utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  // Back to "C": numbers and case must not change with the user's locale.
  std::setlocale(LC_ALL, "C");
  return utf8;
}

std::string Cp932ToUtf8Lenient(const std::string& in) {
  thread_local plat::Iconv conv("UTF-8", "CP932");
  if (!conv.ok()) return in;
  std::string out;
  out.reserve(in.size() + in.size() / 2);
  std::string_view rest(in);
  while (!rest.empty()) {
    rest.remove_prefix(conv.Run(rest, out));
    if (rest.empty()) break;
    out.push_back(rest.front());  // not CP932: kept as it is
    rest.remove_prefix(1);
  }
  return out;
}

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

void PutListing(const std::string& s) { Put(listingUtf8 ? Cp932ToUtf8Lenient(s) : s); }

CardGroups::CardGroups(const store::TAllList& book) {
  text_.reserve(book.Count());
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    if (!n->Group || n->Group->Count() == 0) continue;
    const std::string path = store::GroupDisplayPath(*n->Group);
    for (const store::TAddrRec* c : n->Group->Cards()) {
      Text& t = text_[c];
      if (t.lastNode == n->AbsIndex) continue;
      t.lastNode = n->AbsIndex;
      if (!t.joined.empty()) t.joined += ";";
      t.joined += path;
    }
  }
}

const std::string& CardGroups::Of(const store::TAddrRec* c) const {
  static const std::string none;
  const auto it = text_.find(c);
  return it == text_.end() ? none : it->second.joined;
}

void PutCard(const CardGroups& groups, const store::TAddrRec* c) {
  PutListing(c->PrefEmail + "\t" + store::GetValue(c->FN, "") + "\t" + groups.Of(c) + "\n");
}

}  // namespace cli
