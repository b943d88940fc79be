// The first start without a book folder: the user is asked for the mail
// client's data folder, the choice is remembered in q7addr.ini, and a
// refusal leaves an empty book with nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mainwin/MainFormLogic.h"
#include "platform/PlatformConfig.h"
#include "support/TestSupport.h"

namespace {

using dlg::Button;

class FirstStart : public ::testing::Test {
 protected:
  testsupport::TempDir tmp;
  testsupport::ScriptedDialogs dlg;
  std::unique_ptr<mainwin::TQ7AdrMan> main;

  std::string IniPath() const { return tmp.path() + "config/q7addr/q7addr.ini"; }
  std::string Missing() const { return tmp.path() + "nowhere/"; }
  std::string CurDir() const { return tmp.path() + "cur/"; }
  // A mail client data folder whose book holds one group.
  std::string MailDir() {
    const std::string d = tmp.path() + "mail data/";
    testsupport::WriteBytes(d + "AddrBook/Top/Group/a.bab",
                            "BEGIN:VCARD\r\nEMAIL;PREF:a@example.jp\r\nFN:A\r\nEND:VCARD\r\n");
    return d;
  }

  void Start(const std::string& dataDir, std::vector<std::string> args = {}) {
    std::filesystem::create_directories(tmp.path() + "prog");
    std::filesystem::create_directories(CurDir());
    mainwin::StartOptions o;
    o.Args = std::move(args);
    o.Config = plat::PlatformConfig{dataDir, "", "", ""};
    o.ProgramDir = tmp.path() + "prog/";
    o.CurrentDir = CurDir();
    o.ConfigFile = IniPath();
    main = std::make_unique<mainwin::TQ7AdrMan>(dlg, o);
    main->FormCreate();
  }

  // DataDir as the next start reads it from the remembered file.
  std::string RememberedDataDir() const {
    plat::ConfigSources s;
    s.env = [](const std::string&) { return std::optional<std::string>(); };
    s.iniPath = IniPath();
    s.currentDir = "(default)";
    return plat::LoadPlatformConfig(s).DataDir;
  }

  bool HasGroup() const {
    for (auto* n : main->Book->Nodes.InOrder())
      if (n->Caption == "Group") return true;
    return false;
  }
};

TEST_F(FirstStart, ChosenFolderOpensAndIsRememberedForTheNextStart) {
  const std::string mail = MailDir();
  dlg.answers = {Button::Yes};
  dlg.inputs = {tmp.path() + "mail data"};  // the chooser gives no trailing '/'
  Start(Missing());

  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, std::string(mainwin::kNoBookFolderMsg) + "\r" + Missing() + "AddrBook/");
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{Button::Yes, Button::No}));
  EXPECT_EQ(main->Book->Root, mail + "AddrBook/");
  EXPECT_TRUE(HasGroup());
  EXPECT_EQ(RememberedDataDir(), mail);

  // The next start finds the remembered folder and asks nothing.
  dlg.boxes.clear();
  Start(RememberedDataDir());
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_TRUE(HasGroup());
}

TEST_F(FirstStart, ChoosingTheBookFolderItselfMeansItsDataFolder) {
  const std::string mail = MailDir();
  dlg.answers = {Button::Yes};
  dlg.inputs = {mail + "AddrBook"};
  Start(Missing());
  EXPECT_EQ(main->Book->Root, mail + "AddrBook/");
  EXPECT_EQ(RememberedDataDir(), mail);
}

TEST_F(FirstStart, FolderWithoutBookAsksAgainNamingIt) {
  const std::string mail = MailDir();
  std::filesystem::create_directories(tmp.path() + "empty");
  dlg.answers = {Button::Yes, Button::Yes};
  dlg.inputs = {tmp.path() + "empty", mail};
  Start(Missing());
  ASSERT_EQ(dlg.boxes.size(), 2u);
  EXPECT_EQ(dlg.boxes[1].text, std::string(mainwin::kNoBookFolderMsg) + "\r" + tmp.path() + "empty/AddrBook/");
  EXPECT_EQ(RememberedDataDir(), mail);
  EXPECT_TRUE(HasGroup());
}

// Every way of declining: nothing is written and the (empty) book of the
// configured folder stays.
TEST_F(FirstStart, DeclinedLeavesAnEmptyBookAndWritesNothing) {
  struct Case {
    const char* name;
    std::vector<Button> answers;
    std::vector<std::optional<std::string>> inputs;
  };
  const std::vector<Case> cases = {
      {"No at the question", {Button::No}, {}},
      {"box closed", {Button::Cancel}, {}},
      {"chooser cancelled", {Button::Yes}, {std::nullopt}},
      {"asked again, then No", {Button::Yes, Button::No}, {tmp.path()}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dlg.boxes.clear();
    dlg.answers.assign(c.answers.begin(), c.answers.end());
    dlg.inputs.assign(c.inputs.begin(), c.inputs.end());
    Start(Missing());
    EXPECT_FALSE(dlg.boxes.empty());
    EXPECT_TRUE(dlg.answers.empty() && dlg.inputs.empty()) << "not every scripted answer was asked for";
    EXPECT_EQ(main->Book->Root, Missing() + "AddrBook/");
    EXPECT_TRUE(main->Book->Nodes.InOrder().empty());
    EXPECT_FALSE(testsupport::Exists(IniPath()));
    EXPECT_TRUE(main->Enabled);
  }
}

TEST_F(FirstStart, SlashCAndAnExistingFolderAskNothing) {
  Start(Missing(), {"/c"});
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_EQ(main->Book->Root, CurDir());
  EXPECT_FALSE(testsupport::Exists(IniPath()));

  Start(MailDir());
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_TRUE(HasGroup());
  EXPECT_FALSE(testsupport::Exists(IniPath()));
}

TEST_F(FirstStart, RememberingKeepsOtherSettingsAndQuotedPaths) {
  testsupport::WriteBytes(IniPath(), "[Settings]\r\nMailtoCmd=xdg-open \"%1\"\r\nDataDir=/old/\r\n");
  ASSERT_TRUE(plat::SaveDataDir(IniPath(), "/new/"));
  EXPECT_EQ(testsupport::ReadBytes(IniPath()), "[Settings]\r\nMailtoCmd=xdg-open \"%1\"\r\nDataDir=/new/\r\n");
  // A path in quotes survives the profile file's unquoting.
  ASSERT_TRUE(plat::SaveDataDir(IniPath(), "\"odd\"/"));
  EXPECT_EQ(RememberedDataDir(), "\"odd\"/");
  ASSERT_TRUE(plat::SaveDataDir(IniPath(), "'odd'"));
  EXPECT_EQ(RememberedDataDir(), "'odd'");
}

}  // namespace
