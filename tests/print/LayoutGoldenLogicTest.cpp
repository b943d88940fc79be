// Golden files of the text layouts. Every folder under tests/data/print/ is
// one case:
//   book/          the book folder (group folders with .bab files, CP932)
//   Q7Addr.ini     the settings (optional: without it the defaults hold)
//   case.ini       [Case] Section=Print|Export, Format=Simple|Normal|Detail|stored,
//                  Mode=export|print
//   expected.txt   the job's Lines, each followed by CR LF: in export mode
//                  exactly the bytes of the text file
//   header.txt     print mode only: the page titles, each followed by CR LF
// The job is built as the setup window builds it for the target "All Data
// Every Group" over the groups checked in Q7Addr.ini. A new case is a new
// folder. Q7_UPDATE_GOLDEN=1 rewrites the expected files from the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "print/PrintSetupLogic.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;

std::string DataDir() { return std::string(Q7_TEST_DATA_DIR) + "/print/"; }

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(DataDir()))
    if (e.is_directory()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

// Shows where two texts part, line by line, readable in a failure message.
std::string FirstDifference(const std::string& want, const std::string& got) {
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  const std::size_t from = want.rfind('\n', i == 0 ? 0 : i - 1);
  const std::size_t start = from == std::string::npos ? 0 : from + 1;
  return "byte " + std::to_string(i) + "\n want: [" + want.substr(start, i - start + 40) + "]\n  got: [" +
         got.substr(start, i - start + 40) + "]";
}

class LayoutGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(LayoutGolden, ExportBytesMatch) {
  const std::string dir = DataDir() + GetParam() + "/";
  plat::IniFile spec(dir + "case.ini");
  const std::string section = spec.ReadString("Case", "Section", "Export");
  const std::string format = spec.ReadString("Case", "Format", "stored");
  const bool exportMode = spec.ReadString("Case", "Mode", "export") == "export";
  int f = -1;
  if (format == "Simple") f = print::kSimple;
  if (format == "Normal") f = print::kNormal;
  if (format == "Detail") f = print::kDetail;

  dlg::NullDialogs quiet;
  store::TAllList book;
  book.Dialogs = &quiet;
  book.Root = dir + "book/";
  store::LoadTree(book);
  ASSERT_GT(book.Nodes.Count(), 0) << "case " << GetParam() << " has no groups";

  print::TPrintData job;
  std::string error;
  ASSERT_TRUE(print::BuildJobFromSettings(book, dir + "Q7Addr.ini", section, f, exportMode, job, error)) << error;
  EXPECT_EQ(job.TopMargin, exportMode ? 130 : 100);
  EXPECT_EQ(job.LeftMargin, 100);

  const std::string lines = Joined(job.Lines);
  const std::string header = Joined(job.Header);
  if (std::getenv("Q7_UPDATE_GOLDEN")) {
    testsupport::WriteBytes(dir + "expected.txt", lines);
    if (!exportMode) testsupport::WriteBytes(dir + "header.txt", header);
    GTEST_SKIP() << "rewrote " << dir;
  }
  const std::string want = ReadBytes(dir + "expected.txt");
  EXPECT_EQ(lines, want) << FirstDifference(want, lines);
  if (exportMode) {
    EXPECT_TRUE(job.Header.empty());
  } else {
    const std::string wantHeader = ReadBytes(dir + "header.txt");
    EXPECT_EQ(header, wantHeader) << FirstDifference(wantHeader, header);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LayoutGolden, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& p) {
                           std::string n = p.param;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

}  // namespace
