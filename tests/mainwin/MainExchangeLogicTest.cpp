// The main window's exchange commands without widgets: the marked cards
// only, nothing shown -> a box and no file, a cancelled file dialog writes
// nothing, a file that cannot be created is reported and the old one stays.
#include "mainwin/LogicFixture.h"

namespace {

using logictest::Vcard;

class MainExchange : public logictest::LogicFixture {
 protected:
  void SetUp() override {
    Bab("Top/Friends/f.bab", Vcard("a@x.jp", "A") + Vcard("b@x.jp", "B"));
    Bab("Top/Work/w.bab", Vcard("c@x.jp", "C"));
    Ini("[Group]\r\nTopWork=0\r\n");
    Start();
  }
  std::string Out(const std::string& name) { return tmp.path() + name; }
};

TEST_F(MainExchange, VcardExportWritesTheMarkedCardsOnly) {
  dlg.inputs.push_back(Out("out.vcf"));
  main->VcardExportClick();
  const std::string vcf = testsupport::ReadBytes(Out("out.vcf"));
  EXPECT_NE(vcf.find("EMAIL;TYPE=INTERNET,PREF:a@x.jp\r\n"), std::string::npos);
  EXPECT_NE(vcf.find("CATEGORIES:Friends\r\n"), std::string::npos);
  EXPECT_EQ(vcf.find("c@x.jp"), std::string::npos);  // Work is unchecked
  ASSERT_FALSE(dlg.boxes.empty());
  EXPECT_EQ(dlg.boxes.back().text, "2 cards written to\r\n" + Out("out.vcf"));
}

TEST_F(MainExchange, NothingMarkedOrCancelledWritesNothing) {
  main->DeSelectClick();
  dlg.inputs.push_back(Out("none.vcf"));
  main->VcardExportClick();
  EXPECT_FALSE(testsupport::Exists(Out("none.vcf")));
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "No card is shown: check the groups to export first.");

  main->SelectAllClick();
  dlg.inputs.push_back(std::nullopt);  // the file dialog cancelled
  main->CsvExportClick();
  dlg.answers.push_back(dlg::Button::Cancel);  // the encoding question cancelled
  dlg.inputs.push_back(Out("x.csv"));
  main->CsvExportClick();
  EXPECT_FALSE(testsupport::Exists(Out("x.csv")));
}

TEST_F(MainExchange, AFileThatCannotBeWrittenIsReportedAndTheOldOneStays) {
  std::filesystem::create_directories(Out("blocked.csv"));  // a folder where the file would go
  dlg.answers.push_back(dlg::Button::No);
  dlg.inputs.push_back(Out("blocked.csv"));
  main->CsvExportClick();
  ASSERT_FALSE(dlg.boxes.empty());
  EXPECT_NE(dlg.boxes.back().text.find("File create error"), std::string::npos) << dlg.boxes.back().text;
  EXPECT_TRUE(std::filesystem::is_directory(Out("blocked.csv")));
}

}  // namespace
