// Every reader on small, realistic files: tests/data/import/<case>/ holds
// the input, case.txt (the choices a user makes) and expected.txt (the
// mapping rows, the book's groups with their cards as written to the
// address files, and the message boxes shown). Set Q7_UPDATE_GOLDEN=1 to
// rewrite expected.txt after a deliberate change, then review the diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "import/ImportTestSupport.h"

namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  const char* name;
  const char* what;
};

const GoldenCase kCases[] = {
    {"oe4_30cols", "Outlook Express 4 export with its header line, 30 columns, CP932 CR LF"},
    {"oe4_20cols", "Outlook Express 4 table on 20 columns: pairs from place 20 on are not applied"},
    {"ns4", "Netscape 4 export, LF line ends"},
    {"csv_any_utf8_bom", "any CSV with a hand mapping, UTF-8 with BOM, a group path, a lost character"},
    {"csv_any_utf8_nobom", "any CSV, UTF-8 without BOM, priority of rows, short lines"},
    {"csv_twice_combine0", "the same CSV twice, cards combined only with the same name"},
    {"csv_twice_combine1", "the same CSV twice, cards combined by address"},
    {"v1_book", "version-1 book folder: nicknames, markers, '.' fields, a name needing cleaning"},
    {"edmax", "EdMax folder: sub-groups per name, a short last record"},
    {"almail", "AL-Mail32 address file with nested groups and every item form"},
    {"datula", "Datula file with all seven fields, merging into a card of the book"},
};

std::map<std::string, std::string> ReadCaseFile(const std::string& path) {
  std::map<std::string, std::string> kv;
  std::istringstream in(testsupport::ReadBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) kv[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return kv;
}

imp::Encoding ParseEncoding(const std::string& s) {
  if (s == "utf-8") return imp::Encoding::Utf8;
  if (s == "cp932") return imp::Encoding::Cp932;
  return imp::Encoding::Auto;
}

std::string RunCase(const std::string& dir, const std::string& tmp) {
  std::map<std::string, std::string> kv = ReadCaseFile(dir + "case.txt");
  const int tmpl = std::stoi(kv["template"]);
  const int runs = kv.count("runs") ? std::stoi(kv["runs"]) : 1;
  const int combine = kv.count("combine") ? std::stoi(kv["combine"]) : 0;
  fs::copy(dir, tmp + "in", fs::copy_options::recursive);
  const std::string root = tmp + "book/";
  importtest::WriteSmallBook(root);
  testsupport::ScriptedDialogs d;
  store::TAllList book;
  importtest::LoadBook(book, root, d, combine);

  imp::TImportForm form;
  form.Init(book, d);
  form.EncodingWanted = ParseEncoding(kv["encoding"]);
  form.Template = tmpl;
  form.SetTemplateMode();
  const std::string input = tmp + "in/" + kv["input"];
  std::string out;
  if (tmpl == 3 || tmpl == 5) {
    form.SetFolder(input);
  } else {
    form.FileChosen(input);
  }
  // map=SRC:TARGET,... as the user sets the rows by hand; "order" moves
  // a row up N times: row:N,...
  std::istringstream maps(kv["map"]);
  std::string pair;
  while (std::getline(maps, pair, ',')) {
    const std::size_t c = pair.find(':');
    if (c == std::string::npos) continue;
    EXPECT_TRUE(form.MapColumn(std::stoi(pair.substr(0, c)), std::stoi(pair.substr(c + 1)))) << pair;
  }
  std::istringstream ups(kv["up"]);
  while (std::getline(ups, pair, ',')) {
    if (pair.empty()) continue;
    form.SelectedRow = std::stoi(pair);
    form.UpBtnClick();
  }
  out += "encoding " + std::string(imp::EncodingName(form.EncodingChosen)) + "\n";
  out += importtest::DumpRows(form);
  for (int r = 0; r < runs; ++r) {
    form.ExectClick();
    out += "run " + std::to_string(r + 1) + ": " + std::to_string(form.CardsAdded) + " cards, " +
           std::to_string(form.GroupsAdded) + " groups added\n";
  }
  out += importtest::Dump(book);
  // The file system decides the order of a folder's files: sort the boxes.
  std::vector<std::string> boxes;
  for (const auto& b : d.boxes) boxes.push_back(b.text);
  std::sort(boxes.begin(), boxes.end());
  for (const std::string& b : boxes) {
    std::string t = b;
    std::replace(t.begin(), t.end(), '\r', '|');
    std::replace(t.begin(), t.end(), '\n', '|');
    out += "box: " + t + "\n";
  }
  return out;
}

TEST(ImportGolden, EveryCaseMatchesItsExpectedOutput) {
  const bool update = std::getenv("Q7_UPDATE_GOLDEN") != nullptr;
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.what);
    const std::string dir = std::string(Q7_TEST_DATA_DIR) + "/import/" + c.name + "/";
    ASSERT_TRUE(fs::exists(dir + "case.txt")) << dir;
    testsupport::TempDir tmp;
    const std::string got = RunCase(dir, tmp.path());
    if (update) {
      testsupport::WriteBytes(dir + "expected.txt", got);
      continue;
    }
    ASSERT_TRUE(fs::exists(dir + "expected.txt")) << dir;
    EXPECT_EQ(testsupport::ReadBytes(dir + "expected.txt"), got);
  }
}

}  // namespace
