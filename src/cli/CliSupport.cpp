#include "cli/CliSupport.h"

#include <cstdio>

#include "platform/FileSystem.h"

namespace cli {

extern const char kUsage[] =
    "usage: q7addr-cli [--combine=0|1] COMMAND ARGS\n"
    "  recode FILE...   read address files and write their cards back to standard output\n"
    "  tree ROOT        the group tree of the book folder ROOT\n"
    "  cards ROOT       every card of the book: address, name, groups\n"
    "  resave ROOT      write every group below the top level back\n"
    "  search ROOT TEXT [--tags=Addr,Name,...] [--without] [--case]\n"
    "                   the cards a search in all data finds, as cards prints them;\n"
    "                   tags are the settings keys Addr Name Nic Rem URL Key Zip Adr\n"
    "                   Tel Org Bday Other (default Addr,Name,Nic,Rem,Adr);\n"
    "                   --without: cards without TEXT; --case: case counts\n"
    "  export ROOT [--section=Print|Export] [--format=Simple|Normal|Detail] [--ini=FILE]\n"
    "                   the text export of the groups checked in FILE's section Group\n"
    "                   (CP932, CR LF) in the layout FILE stores (default: section\n"
    "                   Export, the stored format; no FILE: the default layouts)\n"
    "  print ROOT --pdf=OUT.pdf [--section=Print|Export] [--format=Simple|Normal|Detail]\n"
    "        [--ini=FILE] [--copies=N] [--collate] [--from=N] [--to=N]\n"
    "                   print the same groups as export, with page titles, into the\n"
    "                   PDF file OUT.pdf as the print window does (default: section\n"
    "                   Print); copies, collation and the page range as its dialog\n"
    "  import ROOT [--template=N] [--map=SRC:TARGET,...] [--encoding=auto|cp932|utf-8]\n"
    "              FILE_OR_FOLDER\n"
    "                   import another program's address book into \"(New Imported)\"\n"
    "                   and save the changed groups; N: 0 any CSV (default), 1 Outlook\n"
    "                   Express 4, 2 Netscape 4, 3 version-1 folder, 4 AL-Mail32 file,\n"
    "                   5 EdMax folder, 6 Datula file, 7 vCard file; --map (template\n"
    "                   0): CSV column SRC (from 0) to target TARGET (index 0-28 or\n"
    "                   its label)\n"
    "  export-vcard ROOT [--version=3.0|4.0] [--all] [--ini=FILE]\n"
    "                   the cards of the groups checked in FILE's section Group\n"
    "                   (default: ROOT/Q7Addr.ini; --all: every card) as a UTF-8\n"
    "                   vCard file on standard output (default version 3.0)\n"
    "  export-csv ROOT [--encoding=cp932|utf-8] [--all] [--ini=FILE]\n"
    "                   the same cards as CSV with a header line of the CSV\n"
    "                   import's targets (default CP932; UTF-8 with a byte-order\n"
    "                   mark); import it again with --map=0:1,1:2,...,27:28\n";

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

void PutCard(const store::TAllList& book, const store::TAddrRec* c) {
  std::string groups;
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    if (!n->Group->Contains(c)) continue;
    if (!groups.empty()) groups += ";";
    groups += store::GroupDisplayPath(*n->Group);
  }
  Put(c->PrefEmail + "\t" + store::GetValue(c->FN, "") + "\t" + groups + "\n");
}

}  // namespace cli
