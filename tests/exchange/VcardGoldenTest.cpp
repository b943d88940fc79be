// The vCard import on small, realistic files: tests/data/exchange/<case>.vcf
// is imported into the small test book through the import dialog's logic
// (template 7) and <case>.expected holds the book's groups with their cards
// as the address files hold them, then the report the run showed. Set
// Q7_UPDATE_GOLDEN=1 to rewrite the expected files after a deliberate
// change, then review the diff.
#include <gtest/gtest.h>

#include <cstdlib>

#include "import/ImportTestSupport.h"

namespace {

struct GoldenCase {
  const char* name;
  const char* what;
};

const GoldenCase kCases[] = {
    {"phone21_sjis_qp",
     "2.1 from a Japanese phone: CHARSET=SHIFT_JIS, quoted-printable with soft breaks, bare types, "
     "TYPE=PREF on the second address; an ISO-8859-1 card"},
    {"book30_escapes",
     "3.0 from another address book: escapes, item1. groups, TYPE in two spellings, folded lines, "
     "a base64 photo, a nested category"},
    {"card40_tel_uri", "4.0: tel: URIs with VALUE=uri, PREF=1 on the second address, quoted TYPE list"},
    {"no_email", "cards without any e-mail address are reported by name and left out"},
    {"lost_char", "characters CP932 cannot hold become ? and are reported with the card's name"},
};

std::string Lf(std::string s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out.push_back(s[i]);
  return out;
}

std::string RunCase(const std::string& input, const std::string& tmp) {
  const std::string root = tmp + "book/";
  importtest::WriteSmallBook(root);
  testsupport::ScriptedDialogs d;
  store::TAllList book;
  importtest::LoadBook(book, root, d);
  imp::TImportForm form;
  form.Init(book, d);
  d.inputs.push_back(input);  // the file dialog's answer
  form.TemplateSelClick(7);
  EXPECT_EQ(form.FileName, input);
  EXPECT_TRUE(form.MemoVisible);
  EXPECT_NE(form.Memo.find("BEGIN:VCARD"), std::string::npos);
  form.ExectClick();
  std::string out = importtest::Dump(book);
  out += "-- cards added " + std::to_string(form.CardsAdded) + ", groups added " + std::to_string(form.GroupsAdded) +
         "\n-- report\n" + Lf(form.LossReportText()) + "\n";
  return out;
}

TEST(VcardGolden, EveryCase) {
  const bool update = std::getenv("Q7_UPDATE_GOLDEN") != nullptr;
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.what);
    testsupport::TempDir tmp;
    const std::string base = std::string(Q7_TEST_DATA_DIR) + "/exchange/" + c.name;
    const std::string got = RunCase(base + ".vcf", tmp / "");
    if (update) {
      testsupport::WriteBytes(base + ".expected", got);
      continue;
    }
    EXPECT_EQ(got, testsupport::ReadBytes(base + ".expected"));
  }
}

}  // namespace
