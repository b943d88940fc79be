// q7addr-cli: the book's logic without a window, for scripts and checks.
#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "exchange/ExportFiles.h"
#include "import/ImportFormLogic.h"
#include "mainwin/MainFormLogic.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "print/PrintSetupLogic.h"
#ifdef Q7ADDR_CLI_PRINT
#include "cli/PdfPrint.h"
#endif
#include "search/SearchLogic.h"
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
    "                   mark); import it again with --map=0:1,1:2,...,27:28";

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

// One line of `cards`: address TAB name TAB the groups holding the card.
void PutCard(const store::TAllList& book, const store::TAddrRec* c) {
  std::string groups;
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    if (!n->Group->Contains(c)) continue;
    if (!groups.empty()) groups += ";";
    groups += store::GroupDisplayPath(*n->Group);
  }
  Put(c->PrefEmail + "\t" + store::GetValue(c->FN, "") + "\t" + groups + "\n");
}

int Cards(store::TAllList& book) {
  for (const store::TAddrRec* c : book.Cards()) PutCard(book, c);
  return 0;
}

bool ValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      len = 2, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3, cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4, cp = b & 0x07;
    } else {
      return false;
    }
    if (i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

// The CP932 bytes of UTF-8 text, or nothing when some character has none.
std::optional<std::string> Utf8ToCp932(const std::string& s) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(s.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(s.data());
  std::size_t inLeft = s.size();
  char* op = out.data();
  std::size_t outLeft = out.size();
  const bool ok = iconv(cd, &in, &inLeft, &op, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &op, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
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
        std::fprintf(stderr, "q7addr-cli: --tags needs at least one tag\n%s", kUsage);
        return 2;
      }
      std::size_t from = 0;
      while (from <= list.size()) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos) comma = list.size();
        const std::string key = list.substr(from, comma - from);
        const int tag = search::TagByKey(key);
        if (tag < 0) {
          std::fprintf(stderr, "q7addr-cli: unknown tag '%s'\n%s", key.c_str(), kUsage);
          return 2;
        }
        rule.Tags[static_cast<std::size_t>(tag)] = true;
        from = comma + 1;
      }
    } else {
      std::fprintf(stderr, "q7addr-cli: unknown option '%s'\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (pos.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // Typed text is UTF-8; bytes that are not are taken as CP932 already.
  if (ValidUtf8(pos[1])) {
    auto text = Utf8ToCp932(pos[1]);
    if (!text) {
      std::fprintf(stderr, "q7addr-cli: the search text '%s' holds characters CP932 cannot hold\n",
                   pos[1].c_str());
      return 2;
    }
    rule.Text = *text;
  } else {
    rule.Text = pos[1];
  }
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, pos[0], d)) return 1;
  search::MarkMatches(book, rule, search::Area::All, true);
  for (const store::TAddrRec* c : book.Cards())
    if (c->Mark == 1) PutCard(book, c);
  return 0;
}

// import ROOT [--template=N] [--map=SRC:TARGET,...] [--encoding=...] FILE_OR_FOLDER:
// what the import dialog does with the same choices, then "Save".
int Import(const std::vector<std::string>& args, int combine) {
  std::vector<std::string> pos;
  int tmpl = 0;
  std::string map;
  imp::Encoding enc = imp::Encoding::Auto;
  auto bad = [](const std::string& what) {
    std::fprintf(stderr, "q7addr-cli: %s\n", what.c_str());
    return 2;
  };
  for (const std::string& a : args) {
    if (a.rfind("--template=", 0) == 0) {
      const std::string v = a.substr(11);
      if (v.size() != 1 || v[0] < '0' || v[0] > '7') return bad("bad template '" + v + "' (0 to 7)");
      tmpl = v[0] - '0';
    } else if (a.rfind("--map=", 0) == 0) {
      map = a.substr(6);
    } else if (a.rfind("--encoding=", 0) == 0) {
      const std::string v = a.substr(11);
      if (v == "auto") enc = imp::Encoding::Auto;
      else if (v == "cp932" || v == "shift-jis" || v == "sjis") enc = imp::Encoding::Cp932;
      else if (v == "utf-8" || v == "utf8") enc = imp::Encoding::Utf8;
      else return bad("bad encoding '" + v + "' (auto, cp932 or utf-8)");
    } else if (a.rfind("--", 0) == 0) {
      return bad("unknown option '" + a + "'");
    } else {
      pos.push_back(a);
    }
  }
  if (pos.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (!map.empty() && tmpl != 0) return bad("--map applies to template 0 only");
  const bool folder = tmpl == 3 || tmpl == 5;
  std::string source = plat::fs::FromDiskPath(pos[1]);
  if (folder ? !plat::fs::DirExists(source) : !plat::fs::FileExists(source)) {
    std::fprintf(stderr, "q7addr-cli: no such %s: %s\n", folder ? "folder" : "file", pos[1].c_str());
    return 1;
  }
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, pos[0], d)) return 1;
  if (book.Nodes.Count() == 0) {
    std::fprintf(stderr, "q7addr-cli: the book has no folder to import into: %s\n", pos[0].c_str());
    return 1;
  }
  imp::TImportForm form;
  form.Init(book, d);
  form.EncodingWanted = enc;
  form.Template = tmpl;
  form.SetTemplateMode();
  if (folder) {
    form.SetFolder(source);
  } else {
    form.FileChosen(source);
    if (tmpl <= 2 && !form.OptionPnlEnabled) return 1;  // the preview failed (reported)
  }
  // SRC:TARGET pairs; TARGET is an index or a label of the mapping list.
  std::size_t start = 0;
  while (start < map.size()) {
    std::size_t end = map.find(',', start);
    if (end == std::string::npos) end = map.size();
    const std::string pair = map.substr(start, end - start);
    start = end + 1;
    const std::size_t colon = pair.find(':');
    if (colon == std::string::npos || colon == 0) return bad("bad map '" + pair + "' (SRC:TARGET)");
    char* stop = nullptr;
    const long src = std::strtol(pair.c_str(), &stop, 10);
    if (stop != pair.c_str() + colon || src < 0) return bad("bad map '" + pair + "': bad column");
    const std::string tgt = pair.substr(colon + 1);
    int target = -1;
    for (int i = 0; i < imp::kTargetCount; ++i)
      if (tgt == imp::kTargetLabels[static_cast<std::size_t>(i)]) target = i;
    if (target < 0 && !tgt.empty() && tgt.find_first_not_of("0123456789") == std::string::npos && tgt.size() <= 2)
      target = std::stoi(tgt);
    if (target < 0 || target >= imp::kTargetCount) return bad("bad map '" + pair + "': bad target");
    if (!form.MapColumn(static_cast<int>(src), target))
      return bad("bad map '" + pair + "': the file's first line has no column " + std::to_string(src));
  }
  form.ExectClick();
  const bool ok = form.OptionPnlEnabled;
  int failed = 0;
  for (store::TreeNode* n : book.Nodes.InOrder())
    if (n->Level > 0 && n->Group->Modified && !store::SaveGroup(book, n)) ++failed;
  std::fprintf(stderr, "%d cards and %d groups added\n", form.CardsAdded, form.GroupsAdded);
  return ok && failed == 0 ? 0 : 1;
}

// export ROOT [--section=...] [--format=...] [--ini=FILE]: what the setup
// window's file button writes for the target "All Data Every Group".
// print ROOT --pdf=OUT.pdf ...: the job the print window would build from
// the settings, printed onto a PDF by the program's printer.
int Print(const std::vector<std::string>& args, int combine) {
  std::vector<std::string> pos;
  std::string pdf, section = print::kSectionPrint, ini;
  int format = -1;
  print::TPrintDialogState choice;
  // A page or copy count: 1..999.
  const auto count = [](const std::string& text, int& out) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(text);
    return out >= 1;
  };
  for (const std::string& a : args) {
    const auto value = [&a](const char* opt) { return a.substr(std::strlen(opt)); };
    bool ok = true;
    if (a.rfind("--", 0) != 0) {
      pos.push_back(a);
    } else if (a.rfind("--pdf=", 0) == 0) {
      pdf = value("--pdf=");
      ok = !pdf.empty();
    } else if (a.rfind("--section=", 0) == 0) {
      section = value("--section=");
      ok = section == print::kSectionPrint || section == print::kSectionExport;
    } else if (a.rfind("--format=", 0) == 0) {
      const std::string f = value("--format=");
      format = f == "Simple" ? print::kSimple : f == "Normal" ? print::kNormal : f == "Detail" ? print::kDetail : -2;
      ok = format >= 0;
    } else if (a.rfind("--ini=", 0) == 0) {
      ini = value("--ini=");
      ok = !ini.empty();
    } else if (a.rfind("--copies=", 0) == 0) {
      ok = count(value("--copies="), choice.Copies);
    } else if (a == "--collate") {
      choice.Collate = true;
    } else if (a.rfind("--from=", 0) == 0) {
      ok = count(value("--from="), choice.FromPage);
    } else if (a.rfind("--to=", 0) == 0) {
      ok = count(value("--to="), choice.ToPage);
    } else {
      std::fprintf(stderr, "q7addr-cli: unknown option '%s'\n%s", a.c_str(), kUsage);
      return 2;
    }
    if (!ok) {
      std::fprintf(stderr, "q7addr-cli: bad value in '%s'\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (pos.size() != 1 || pdf.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (choice.FromPage != 0 && choice.ToPage != 0 && choice.ToPage < choice.FromPage) {
    std::fprintf(stderr, "q7addr-cli: --to must not be below --from\n%s", kUsage);
    return 2;
  }
#ifdef Q7ADDR_CLI_PRINT
  std::string iniPath;
  if (!ini.empty()) {
    iniPath = plat::fs::FromDiskPath(ini);
    if (!plat::fs::FileExists(iniPath)) {
      std::fprintf(stderr, "q7addr-cli: no such settings file: %s\n", ini.c_str());
      return 1;
    }
  }
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, pos[0], d)) return 1;
  print::TPrintData job;
  std::string error;
  if (!print::BuildJobFromSettings(book, iniPath, section, format, false, job, error)) {
    std::fprintf(stderr, "q7addr-cli: %s\n", error.c_str());
    return 1;
  }
  job.PrintDialog = choice;
  return cli::PrintJobToPdf(job, pdf, d);
#else
  (void)combine;
  std::fputs("q7addr-cli: this build has no printing (built without Qt)\n", stderr);
  return 1;
#endif
}

int Export(const std::vector<std::string>& args, int combine) {
  std::vector<std::string> pos;
  std::string section = print::kSectionExport;
  int format = -1;
  std::string ini;
  for (const std::string& a : args) {
    if (a.rfind("--section=", 0) == 0) {
      section = a.substr(10);
      if (section != print::kSectionPrint && section != print::kSectionExport) {
        std::fprintf(stderr, "q7addr-cli: --section must be Print or Export\n%s", kUsage);
        return 2;
      }
    } else if (a.rfind("--format=", 0) == 0) {
      const std::string f = a.substr(9);
      if (f == "Simple") {
        format = print::kSimple;
      } else if (f == "Normal") {
        format = print::kNormal;
      } else if (f == "Detail") {
        format = print::kDetail;
      } else {
        std::fprintf(stderr, "q7addr-cli: --format must be Simple, Normal or Detail\n%s", kUsage);
        return 2;
      }
    } else if (a.rfind("--ini=", 0) == 0) {
      ini = a.substr(6);
      if (ini.empty()) {
        std::fprintf(stderr, "q7addr-cli: --ini needs a file name\n%s", kUsage);
        return 2;
      }
    } else if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "q7addr-cli: unknown option '%s'\n%s", a.c_str(), kUsage);
      return 2;
    } else {
      pos.push_back(a);
    }
  }
  if (pos.size() != 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string iniPath;
  if (!ini.empty()) {
    iniPath = plat::fs::FromDiskPath(ini);
    if (!plat::fs::FileExists(iniPath)) {
      std::fprintf(stderr, "q7addr-cli: no such settings file: %s\n", ini.c_str());
      return 1;
    }
  }
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, pos[0], d)) return 1;
  print::TPrintData job;
  std::string error;
  if (!print::BuildJobFromSettings(book, iniPath, section, format, true, job, error)) {
    std::fprintf(stderr, "q7addr-cli: %s\n", error.c_str());
    return 1;
  }
  plat::TextWriter out;
  out.Attach(STDOUT_FILENO);
  for (const std::string& line : job.Lines) out.WriteLine(line);
  if (!out.Close()) {
    std::fprintf(stderr, "q7addr-cli: write error on standard output\n");
    return 1;
  }
  return 0;
}

// export-vcard / export-csv ROOT [...]: the cards of the groups the main
// window would show checked (its settings file in ROOT, as with /C), or all.
int ExportExchange(const std::vector<std::string>& args, int combine, bool vcard) {
  std::vector<std::string> pos;
  bool all = false;
  std::string ini;
  exch::VcardVersion version = exch::VcardVersion::V30;
  exch::CsvEncoding enc = exch::CsvEncoding::Cp932;
  auto bad = [](const std::string& what) {
    std::fprintf(stderr, "q7addr-cli: %s\n%s", what.c_str(), kUsage);
    return 2;
  };
  for (const std::string& a : args) {
    if (a == "--all") {
      all = true;
    } else if (a.rfind("--ini=", 0) == 0 && a.size() > 6) {
      ini = a.substr(6);
    } else if (vcard && a.rfind("--version=", 0) == 0) {
      const std::string v = a.substr(10);
      if (v == "3.0") version = exch::VcardVersion::V30;
      else if (v == "4.0") version = exch::VcardVersion::V40;
      else return bad("bad version '" + v + "' (3.0 or 4.0)");
    } else if (!vcard && a.rfind("--encoding=", 0) == 0) {
      const std::string v = a.substr(11);
      if (v == "cp932" || v == "shift-jis" || v == "sjis") enc = exch::CsvEncoding::Cp932;
      else if (v == "utf-8" || v == "utf8") enc = exch::CsvEncoding::Utf8;
      else return bad("bad encoding '" + v + "' (cp932 or utf-8)");
    } else if (a.rfind("--", 0) == 0) {
      return bad("unknown option '" + a + "'");
    } else {
      pos.push_back(a);
    }
  }
  if (pos.size() != 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  ConsoleDialogs d;
  store::TAllList book;
  book.AdrCompFlg = combine;
  if (!LoadBook(book, pos[0], d)) return 1;
  std::string iniPath = book.Root + mainwin::kSettingsFile;
  if (!ini.empty()) {
    iniPath = plat::fs::FromDiskPath(ini);
    if (!plat::fs::FileExists(iniPath)) {
      std::fprintf(stderr, "q7addr-cli: no such settings file: %s\n", ini.c_str());
      return 1;
    }
  }
  mainwin::ApplyGroupChecks(book, iniPath);
  store::RecalcMarks(book);
  const std::vector<const store::TAddrRec*> cards = exch::CardsToExport(book, all);
  plat::TextWriter out;
  out.Attach(STDOUT_FILENO);
  if (vcard)
    exch::WriteVcardFile(book, cards, version, out);
  else
    exch::WriteCsvFile(book, cards, enc, out);
  if (!out.Close()) {
    std::fprintf(stderr, "q7addr-cli: write error on standard output\n");
    return 1;
  }
  std::fprintf(stderr, "%zu cards exported\n", cards.size());
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
