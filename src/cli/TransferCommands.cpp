// The commands that move cards in and out: import, the text export, printing
// to PDF, and the vCard and CSV exports.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "exchange/ExportFiles.h"
#include "import/ImportFormLogic.h"
#include "mainwin/MainFormLogic.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "print/PrintSetupLogic.h"
#ifdef Q7ADDR_CLI_PRINT
#include "cli/PdfPrint.h"
#endif
#include "store/Save.h"

namespace cli {

// import ROOT [--template=N] [--map=SRC:TARGET,...] [--encoding=...] FILE_OR_FOLDER:
// what the import dialog does with the same choices, then "Save".
int Import(const std::vector<std::string>& args, int combine) {
  std::vector<std::string> pos;
  int tmpl = 0;
  std::string map;
  imp::Encoding enc = imp::Encoding::Auto;
  auto bad = [](const std::string& what) { return BadUsage(what); };
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
  if (pos.size() != 2) return BadUsage("import needs ROOT and FILE_OR_FOLDER");
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

namespace {

// Loads the book in root and builds the job of the layouts stored in ini
// (none given: the defaults), as the print window would. 0, or the exit
// status of the failure (already reported).
int BuildJob(const std::string& root, const std::string& ini, const std::string& section, int format,
             bool exportMode, int combine, dlg::Dialogs& d, store::TAllList& book, print::TPrintData& job) {
  std::string iniPath;
  if (!ini.empty()) {
    iniPath = plat::fs::FromDiskPath(ini);
    if (!plat::fs::FileExists(iniPath)) {
      std::fprintf(stderr, "q7addr-cli: no such settings file: %s\n", ini.c_str());
      return 1;
    }
  }
  book.AdrCompFlg = combine;
  if (!LoadBook(book, root, d)) return 1;
  std::string error;
  if (!print::BuildJobFromSettings(book, iniPath, section, format, exportMode, job, error)) {
    std::fprintf(stderr, "q7addr-cli: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

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
      return BadUsage("unknown option '" + a + "'");
    }
    if (!ok) {
      return BadUsage("bad value in '" + a + "'");
    }
  }
  if (pos.size() != 1) return BadUsage("print needs one ROOT");
  if (pdf.empty()) return BadUsage("print needs --pdf=OUT.pdf");
  if (choice.FromPage != 0 && choice.ToPage != 0 && choice.ToPage < choice.FromPage) {
    return BadUsage("--to must not be below --from");
  }
#ifdef Q7ADDR_CLI_PRINT
  ConsoleDialogs d;
  store::TAllList book;
  print::TPrintData job;
  if (const int status = BuildJob(pos[0], ini, section, format, false, combine, d, book, job)) return status;
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
        return BadUsage("--section must be Print or Export");
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
        return BadUsage("--format must be Simple, Normal or Detail");
      }
    } else if (a.rfind("--ini=", 0) == 0) {
      ini = a.substr(6);
      if (ini.empty()) {
        return BadUsage("--ini needs a file name");
      }
    } else if (a.rfind("--", 0) == 0) {
      return BadUsage("unknown option '" + a + "'");
    } else {
      pos.push_back(a);
    }
  }
  if (pos.size() != 1) return BadUsage("export needs one ROOT");
  ConsoleDialogs d;
  store::TAllList book;
  print::TPrintData job;
  if (const int status = BuildJob(pos[0], ini, section, format, true, combine, d, book, job)) return status;
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
  auto bad = [](const std::string& what) { return BadUsage(what); };
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
  if (pos.size() != 1) return BadUsage(std::string(vcard ? "export-vcard" : "export-csv") + " needs one ROOT");
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

}  // namespace cli
