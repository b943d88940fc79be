// Tests of the main window's logic on books written into
// a temporary folder.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "mainwin/LogicFixture.h"
#include "platform/IniFile.h"

using namespace logictest;
using mainwin::TQ7AdrMan;
using testsupport::ReadBytes;
using Strings = std::vector<std::string>;


// ---- start-up, settings, shutdown --------------------------------

TEST_F(MainLogic, StartUpLoadsTheBookAndShowsEverything) {
  StartStandard();
  EXPECT_EQ(main->Caption, "Ostra(Q7) Address Book Manager");
  EXPECT_TRUE(main->Enabled);
  EXPECT_TRUE(View().Enabled);
  EXPECT_TRUE(View().Visible);
  EXPECT_EQ(Book().Root, Root());
  EXPECT_EQ(main->SettingsFolder, ProgDir());
  EXPECT_EQ(main->Captions.EndBtn, "Quit(&Q)");
  EXPECT_EQ(main->Captions.AddAddr, "Add Address");
  EXPECT_EQ(main->Captions.WaitMsg, "Wait a moment");
  EXPECT_EQ(main->Captions.SaveOrder, "Save Address Order");
  EXPECT_EQ(main->Captions.UpLabel, "(&U)" + kUp);
  EXPECT_EQ(main->Captions.DnLabel, kDown + "(&L)");
  // Titles: "  \" and the full-width space before each name.
  EXPECT_EQ(main->Tbl.Cell(0, 0), "  \\");
  EXPECT_EQ(main->Tbl.Cell(0, 1), kZenSpace + "Mail Address");
  EXPECT_EQ(main->Tbl.Cell(0, 4), kZenSpace + "NicName");
  EXPECT_EQ(main->Tbl.ColWidths[0], 30);
  // Both groups checked (no keys): the book view, in address order.
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "c@x", "w1@x"}));
  EXPECT_EQ(Column(0), (Strings{"1", "2", "3", "4"}));
  EXPECT_EQ(Column(2), (Strings{"Alice", "BOB", "bob", "Zed"}));
  EXPECT_EQ(main->Tbl.Cell(3, 3), "n-c");
  EXPECT_EQ(main->Tbl.Cell(3, 4), "cc");
  EXPECT_EQ(main->SubTot, "     4");
  EXPECT_EQ(main->Total, "     4");
  EXPECT_FALSE(main->UpDownPnlVisible);
  EXPECT_FALSE(main->SaveOrderEnabled);
  EXPECT_EQ(main->Tbl.Row, 1);
  ASSERT_NE(View().CurCard, nullptr);
  EXPECT_EQ(View().CurCard->PrefEmail, "a@x");
  EXPECT_EQ(View().Addr, "a@x");
  EXPECT_EQ(View().EntryGroup.size(), 3u);
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(MainLogic, MissingBookFolderGivesAnEmptyTreeAndGrid) {
  Start();
  EXPECT_EQ(Book().Nodes.Count(), 0);
  EXPECT_EQ(main->Tbl.RowCount(), 2);
  EXPECT_EQ(main->Tbl.Cell(1, 1), "No Hit Address");
  EXPECT_EQ(main->Tbl.Cell(1, 0), "");
  EXPECT_EQ(main->SubTot, "     0");
  EXPECT_EQ(View().CurCard, nullptr);
}

TEST_F(MainLogic, DataDirWithoutSlashIsJoinedWithoutSeparator) {
  std::filesystem::create_directories(ProgDir());
  mainwin::StartOptions o;
  o.Config = plat::PlatformConfig{tmp.path() + "data", "/opt/q7/", "mailer %1", ""};
  o.ProgramDir = ProgDir();
  o.CurrentDir = CurDir();
  TQ7AdrMan m(dlg, o);
  m.FormCreate();
  EXPECT_EQ(m.Book->Root, tmp.path() + "dataAddrBook/");
  EXPECT_EQ(m.Book->InstallPath, "/opt/q7/");
  EXPECT_EQ(m.Book->MailtoCmd, "mailer %1");
}

TEST_F(MainLogic, EmptyDataDirDefaultsToTheCurrentDirectory) {
  std::filesystem::create_directories(ProgDir());
  mainwin::StartOptions o;
  o.Config = plat::PlatformConfig{"", "", "", ""};
  o.ProgramDir = ProgDir();
  o.CurrentDir = CurDir();
  TQ7AdrMan m(dlg, o);
  m.FormCreate();
  EXPECT_EQ(m.Book->Root, CurDir() + "/AddrBook/");
}

TEST_F(MainLogic, SwitchCInAnyCaseReadsBookAndSettingsFromTheCurrentDirectory) {
  testsupport::WriteBytes(CurDir() + "/Top/Grp/g.bab", Vcard("z@x", "Zoe"));
  testsupport::WriteBytes(CurDir() + "/Q7Addr.ini", "[Option]\r\nSortKey=5\r\n");
  Ini("[Option]\r\nSortKey=2\r\n");  // the program folder's file is not read
  args = {"-x", "/c", "other"};
  Start();
  EXPECT_EQ(Book().Root, CurDir() + "/");  // no "AddrBook/" appended
  EXPECT_EQ(main->SettingsFolder, CurDir() + "/");
  EXPECT_EQ(main->SortKey, 5);
  EXPECT_EQ(Column(1), Strings{"z@x"});
  main->SortKey = 3;
  main->FormClose();
  plat::IniFile cur(CurDir() + "/Q7Addr.ini");
  EXPECT_EQ(cur.ReadInteger("Option", "SortKey", -1), 3);
  plat::IniFile prog(IniPath());
  EXPECT_EQ(prog.ReadInteger("Option", "SortKey", -1), 2);
}

TEST_F(MainLogic, SwitchMustBeExactlySlashC) {
  args = {"/CC", "C", "-c"};
  StartStandard();
  EXPECT_EQ(Book().Root, Root());
  EXPECT_EQ(main->SettingsFolder, ProgDir());
}

TEST_F(MainLogic, SettingsRangesAndReplacements) {
  Ini("[Q7Addr]\r\nLeft=-5\r\nTop=1019\r\nHeight=100\r\nWidth=2000\r\n"
      "ViewLeft=0\r\nViewTop=1020\r\nViewHeight=1999\r\nViewWidth=99\r\nViewGroup=49\r\n"
      "AddrWidth=501\r\nSignWidth=5\r\nRemWidth=4\r\nNicWidth=500\r\n"
      "[Option]\r\nAdrCompFlg=2\r\nAdrSendMode=7\r\nSortKey=12\r\n");
  StartStandard();
  const TQ7AdrMan fresh(dlg);
  EXPECT_EQ(main->Left, fresh.Left);    // -5 ignored
  EXPECT_EQ(main->Top, 1019);
  EXPECT_EQ(main->Height, 100);
  EXPECT_EQ(main->Width, fresh.Width);  // 2000 ignored
  const editor::TView freshView(*main);
  EXPECT_EQ(View().Left, 0);
  EXPECT_EQ(View().Top, freshView.Top);
  EXPECT_EQ(View().Height, 1999);
  EXPECT_EQ(View().Width, freshView.Width);
  EXPECT_EQ(View().GroupPnlWidth, freshView.GroupPnlWidth);
  EXPECT_EQ(main->Tbl.ColWidths[1], 130);  // 501 replaced
  EXPECT_EQ(main->Tbl.ColWidths[2], 5);
  EXPECT_EQ(main->Tbl.ColWidths[3], 80);  // 4 replaced
  EXPECT_EQ(main->Tbl.ColWidths[4], 500);
  EXPECT_EQ(Book().AdrCompFlg, 0);
  EXPECT_EQ(Book().AdrSendMode, 2);
  EXPECT_EQ(main->SortKey, 12);
}

TEST_F(MainLogic, MissingSettingsGiveTheDefaults) {
  StartStandard();
  EXPECT_EQ(main->Tbl.ColWidths[1], 130);
  EXPECT_EQ(main->Tbl.ColWidths[2], 80);
  EXPECT_EQ(main->Tbl.ColWidths[3], 80);
  EXPECT_EQ(main->Tbl.ColWidths[4], 40);
  EXPECT_EQ(Book().AdrCompFlg, 0);
  EXPECT_EQ(Book().AdrSendMode, 2);
  EXPECT_EQ(main->SortKey, 0);
}

TEST_F(MainLogic, AdrCompFlgOneCombinesSameAddressesOnLoading) {
  Ini("[Option]\r\nAdrCompFlg=1\r\n");
  Bab("T/G/g.bab", Vcard("a@x", "One") + Vcard("a@x", "Two"));
  Start();
  EXPECT_EQ(Book().AdrCompFlg, 1);
  EXPECT_EQ(Book().Count(), 1u);
}

TEST_F(MainLogic, GroupStateIsReadAndWrittenPerDisplayPath) {
  Bab("Personal/Friends/f.bab", Vcard("f@x", "F"));
  Bab("Personal/Friends/School/s.bab", Vcard("s@x", "S"));
  Bab("Personal/Work/w.bab", Vcard("w@x", "W"));
  Ini("[Group]\r\nPersonalWork=0\r\n[GroupExpand]\r\nPersonal=1\r\n");
  Start();
  EXPECT_EQ(NodeNamed("Personal")->ImageIndex, 2);
  EXPECT_EQ(NodeNamed("Work")->ImageIndex, 0);
  EXPECT_EQ(NodeNamed("Work")->SelectedIndex, 0);
  EXPECT_EQ(NodeNamed("Friends")->ImageIndex, 1);  // no key: checked
  EXPECT_EQ(NodeNamed("School")->ImageIndex, 1);
  EXPECT_TRUE(NodeNamed("Personal")->Expanded);
  EXPECT_FALSE(NodeNamed("Friends")->Expanded);  // no key: collapsed
  EXPECT_EQ(Column(1), (Strings{"f@x", "s@x"}));
  NodeNamed("School")->ImageIndex = 0;
  NodeNamed("Friends")->Expanded = true;
  main->FormClose();
  plat::IniFile ini(IniPath());
  EXPECT_EQ(ini.ReadSection("Group"), (Strings{"PersonalFriends", "PersonalFriends\\School", "PersonalWork"}));
  EXPECT_EQ(ini.ReadInteger("Group", "PersonalFriends\\School", -1), 0);
  EXPECT_EQ(ini.ReadInteger("Group", "PersonalFriends", -1), 1);
  EXPECT_EQ(ini.ReadSection("GroupExpand"), (Strings{"Personal", "PersonalFriends"}));
  EXPECT_TRUE(ini.ReadBool("GroupExpand", "PersonalFriends", false));
  EXPECT_EQ(ini.ReadInteger("Q7Addr", "AddrWidth", -1), 130);
  EXPECT_EQ(ini.ReadInteger("Option", "AdrSendMode", -1), 2);
  EXPECT_FALSE(View().Visible);
}

TEST_F(MainLogic, WriteSettingsKeepsOtherSectionsAndRoundTrips) {
  Ini("[Search]\r\nText=abc\r\n[Group]\r\nGone=1\r\n");
  StartStandard();
  main->Left = 11;
  main->Width = 700;
  View().GroupPnlWidth = 99;
  main->Tbl.ColWidths = {30, 140, 90, 70, 50};
  main->SortKey = 7;
  Book().AdrSendMode = 1;
  EXPECT_TRUE(main->WriteSettings());
  plat::IniFile ini(IniPath());
  EXPECT_EQ(ini.ReadString("Search", "Text", ""), "abc");
  EXPECT_FALSE(ini.ValueExists("Group", "Gone"));
  EXPECT_EQ(ini.ReadSection("Q7Addr"),
            (Strings{"Left", "Top", "Height", "Width", "ViewLeft", "ViewTop", "ViewHeight", "ViewWidth", "ViewGroup",
                     "AddrWidth", "SignWidth", "RemWidth", "NicWidth"}));
  main.reset();
  Start();
  EXPECT_EQ(main->Left, 11);
  EXPECT_EQ(main->Width, 700);
  EXPECT_EQ(View().GroupPnlWidth, 99);
  EXPECT_EQ(main->Tbl.ColWidths[1], 140);
  EXPECT_EQ(main->Tbl.ColWidths[4], 50);
  EXPECT_EQ(main->SortKey, 7);
  EXPECT_EQ(Book().AdrSendMode, 1);
}

TEST_F(MainLogic, CloseWithoutChangesAsksNothing) {
  StartStandard();
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(MainLogic, CloseQuestionOkSavesAndCloses) {
  StartStandard();
  Group("Work").Modified = true;
  const std::string before = ReadBytes(Root() + "Personal/Work/work.bab");
  dlg.answers = {dlg::Button::Ok};
  EXPECT_TRUE(main->FormCloseQuery());
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "Data Modified\rAre you save?");
  EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Warning);
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Ignore}));
  EXPECT_FALSE(Group("Work").Modified);
  EXPECT_TRUE(testsupport::Exists(Root() + "Personal/Work/work.bak"));
  EXPECT_EQ(ReadBytes(Root() + "Personal/Work/work.bak"), before);
}

TEST_F(MainLogic, CloseQuestionIgnoreClosesWithoutSaving) {
  StartStandard();
  Group("Work").Modified = true;
  dlg.answers = {dlg::Button::Ignore};
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_TRUE(Group("Work").Modified);
  EXPECT_FALSE(testsupport::Exists(Root() + "Personal/Work/work.bak"));
}

TEST_F(MainLogic, CloseQuestionCancelKeepsTheWindowOpen) {
  StartStandard();
  Group("Work").Modified = true;
  dlg.answers = {dlg::Button::Cancel};
  EXPECT_FALSE(main->FormCloseQuery());
  EXPECT_TRUE(Group("Work").Modified);
  EXPECT_FALSE(testsupport::Exists(Root() + "Personal/Work/work.bak"));
}

TEST_F(MainLogic, CloseQuestionComesBackWhileASaveFails) {
  StartStandard();
  Group("Work").Modified = true;
  // The mail client rewrote the file after loading: SaveGroup asks, Cancel.
  const auto future = std::filesystem::file_time_type::clock::now() + std::chrono::hours(1);
  std::filesystem::last_write_time(Root() + "Personal/Work/work.bab", future);
  dlg.answers = {dlg::Button::Ok, dlg::Button::Cancel, dlg::Button::Cancel};
  EXPECT_FALSE(main->FormCloseQuery());
  ASSERT_EQ(dlg.boxes.size(), 3u);
  EXPECT_EQ(dlg.boxes[1].text, "Work\r\nGroup is modified by Q7\r\nAre you reload?");
  EXPECT_EQ(dlg.boxes[2].text, "Data Modified\rAre you save?");
  EXPECT_TRUE(Group("Work").Modified);
}

// Fault mended: a modified top-level folder is never written by the save
// command; the design asked again after every OK for ever.
TEST_F(MainLogic, CloseQuestionDoesNotLoopOnAModifiedTopLevelFolder) {
  StartStandard();
  Group("Personal").Modified = true;
  Group("Work").Modified = true;
  dlg.answers = {dlg::Button::Ok, dlg::Button::Cancel};
  EXPECT_TRUE(main->FormCloseQuery());
  EXPECT_EQ(dlg.boxes.size(), 1u);  // asked once, then closed
  EXPECT_FALSE(Group("Work").Modified);
  EXPECT_TRUE(Group("Personal").Modified);  // never saved by this command
  // A top-level folder alone still asks the first time.
  dlg.boxes.clear();
  dlg.answers = {dlg::Button::Cancel};
  EXPECT_FALSE(main->FormCloseQuery());
  EXPECT_EQ(dlg.boxes.size(), 1u);
}

// ---- commands ------------------------------------------------------

TEST_F(MainLogic, PopupCaptions) {
  StartStandard();
  main->Selected = NodeNamed("Friends");
  main->MainPopupPopup();
  EXPECT_EQ(main->SendMailCaption, "Send to \"a@x\"");
  EXPECT_EQ(main->SendGroupMailCaption, "Send to \"Friends\"");
  main->GroupTreeMouseDown(NodeNamed("Personal"));
  EXPECT_EQ(main->Selected, NodeNamed("Personal"));
  main->MainPopupPopup();
  EXPECT_EQ(main->SendGroupMailCaption, "- - - - -");
  main->Selected = nullptr;
  main->MainPopupPopup();
  EXPECT_EQ(main->SendGroupMailCaption, "- - - - -");
  EXPECT_TRUE(main->CsvExportEnabled);  // the CSV export is real
}

TEST_F(MainLogic, SaveWritesModifiedGroupsBelowTheTopLevelOnly) {
  Bab("Personal/top.bab", Vcard("t@x", "Top"));
  StartStandard();
  Group("Personal").Modified = true;
  Group("Friends").Modified = true;
  main->SaveClick();
  EXPECT_FALSE(Group("Friends").Modified);
  EXPECT_TRUE(Group("Personal").Modified);
  EXPECT_TRUE(testsupport::Exists(Root() + "Personal/Friends/friends.bak"));
  EXPECT_FALSE(testsupport::Exists(Root() + "Personal/top.bak"));
  EXPECT_FALSE(testsupport::Exists(Root() + "Personal/Work/work.bak"));
}

namespace {
struct RecordingHost : mainwin::MainHost {
  TQ7AdrMan* m = nullptr;
  int waits = 0, closes = 0;
  bool visibleAtWait = true;
  void WaitShown() override {
    ++waits;
    visibleAtWait = m->TblVisible;
  }
  void CloseRequested() override { ++closes; }
};
}  // namespace

TEST_F(MainLogic, ReloadBringsBackADeletedCardAndAddsNewFolders) {
  StartStandard();
  RecordingHost host;
  host.m = main.get();
  main->Host = &host;
  Select("c@x");
  main->DelAddressClick();
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "w1@x"}));
  Bab("Personal/New/n.bab", Vcard("n@x", "New"));
  main->ReLoadClick();
  EXPECT_EQ(host.waits, 1);
  EXPECT_FALSE(host.visibleAtWait);
  EXPECT_TRUE(main->TblVisible);
  // c@x is back; the new group's node starts unchecked (only start-up
  // reads the group state), so n@x is loaded but not shown.
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "c@x", "w1@x"}));
  EXPECT_EQ(main->Total, "     5");
  EXPECT_EQ(NodeNamed("New")->ImageIndex, 0);
  EXPECT_EQ(View().EntryGroup.size(), 4u);
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"a@x", "b@x", "c@x"}));  // c@x appended by the merge
  main->EndBtnClick();
  EXPECT_EQ(host.closes, 1);
}

TEST_F(MainLogic, AddAddressOnNoHitRowCreatesAnEmptyShownCard) {
  StartStandard();
  CheckOnly({});
  main->Selected = nullptr;
  main->AddAddressClick();
  EXPECT_EQ(Book().Count(), 5u);
  ASSERT_EQ(main->Tbl.RowCount(), 2);
  EXPECT_EQ(main->Tbl.Cell(1, 0), "1");
  EXPECT_EQ(main->Tbl.Cell(1, 1), "");
  ASSERT_NE(View().CurCard, nullptr);
  EXPECT_EQ(View().CurCard, Book().At(0));
  EXPECT_TRUE(View().CurCard->FN.empty());
  EXPECT_EQ(View().CurCard->Mark, 1);
  EXPECT_EQ(main->FocusRequest, mainwin::FocusTarget::EditorAddr);
  EXPECT_FALSE(Group("Friends").Modified);
}

TEST_F(MainLogic, AddAddressInTheBookViewCopiesTheCurrentPerson) {
  StartStandard();
  main->SortKey = 4;
  main->TblRedraw(-1);
  Select("a@x");  // Alice, TEL;WORK:03-1, in Friends and Work
  main->Selected = NodeNamed("Work");
  main->AddAddressClick();
  store::TAddrRec* card = Book().At(0);
  EXPECT_EQ(card->PrefEmail, "");
  EXPECT_TRUE(card->Email.empty());
  EXPECT_EQ(store::GetValue(card->FN, ""), "Alice");
  EXPECT_EQ(store::GetValue(card->Tel, "WORK"), "03-1");
  EXPECT_EQ(card->NickName, "");
  EXPECT_EQ(Group("Work").Cards().back(), card);
  EXPECT_EQ(main->Selected, NodeNamed("Work"));
  EXPECT_EQ(View().CurCard, card);
  EXPECT_EQ(main->Tbl.Cell(main->Tbl.Row, 0), "1");
  EXPECT_EQ(main->Tbl.Row, 1);  // the empty address sorts first by name "Alice" too
  EXPECT_FALSE(Group("Work").Modified);
}

TEST_F(MainLogic, AddAddressWithAFolderSelectedGoesIntoTheCheckedGroup) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  Select("b@x");
  main->Selected = NodeNamed("Personal");
  main->AddAddressClick();
  EXPECT_EQ(main->Selected, NodeNamed("Friends"));
  ASSERT_EQ(Group("Friends").Count(), 4u);
  store::TAddrRec* card = Group("Friends").At(3);
  EXPECT_EQ(store::GetValue(card->FN, ""), "BOB");
  EXPECT_EQ(store::GetValue(card->Note, ""), "n-b");
  EXPECT_EQ(Book().At(0), card);
  EXPECT_EQ(main->Tbl.Row, 4);
  EXPECT_EQ(main->Tbl.Cell(4, 0), "4");
  EXPECT_EQ(View().CurCard, card);
}

TEST_F(MainLogic, AddedCardWithoutAddressIsNeverWritten) {
  StartStandard();
  main->AddAddressClick();
  EXPECT_EQ(Book().Count(), 5u);
  main->SaveClick();  // nothing modified: nothing written
  Group("Friends").Modified = true;
  main->SaveClick();
  const std::string file = ReadBytes(Root() + "Personal/Friends/friends.bab");
  EXPECT_EQ(file.find("BEGIN:VCARD\r\nEND:VCARD"), std::string::npos);
}

TEST_F(MainLogic, DeleteWithNothingShownSaysNoHitAddress) {
  StartStandard();
  CheckOnly({});
  main->DelAddressClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "No Hit Address");
  EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Confirmation);
  EXPECT_EQ(dlg.boxes[0].buttons, dlg::Buttons{dlg::Button::Ok});
  EXPECT_EQ(Book().Count(), 4u);
}

TEST_F(MainLogic, DeleteAsksWithAddressAndNameAndNoKeepsTheCard) {
  StartStandard();
  Select("b@x");
  dlg.answers = {dlg::Button::No};
  main->DelAddressClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "b@x\rBOB\rAddress Delete Okay?");
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{dlg::Button::Yes, dlg::Button::No}));
  EXPECT_EQ(Book().Count(), 4u);
  EXPECT_FALSE(Group("Friends").Modified);
}

TEST_F(MainLogic, DeleteInTheBookViewRemovesTheCardEverywhere) {
  StartStandard();
  Select("a@x");  // in Friends and Work
  const store::TAddrRec* gone = View().CurCard;
  main->DelAddressClick();
  EXPECT_EQ(Book().Count(), 3u);
  EXPECT_FALSE(Book().Contains(gone));
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "b@x"}));
  EXPECT_EQ(GroupAddrs("Work"), (Strings{"w1@x"}));
  EXPECT_TRUE(Group("Friends").Modified);
  EXPECT_TRUE(Group("Work").Modified);
  EXPECT_FALSE(Group("Personal").Modified);
  // The card that moved up into position 0 is current, and the editor's.
  EXPECT_EQ(CurrentAddr(), "b@x");
  ASSERT_NE(View().CurCard, nullptr);
  EXPECT_EQ(View().CurCard->PrefEmail, "b@x");
  EXPECT_EQ(View().Addr, "b@x");
}

TEST_F(MainLogic, DeleteInTheSingleGroupViewRemovesFromThatGroupOnly) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  Select("a@x");
  main->DelAddressClick();
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "b@x"}));
  EXPECT_EQ(GroupAddrs("Work"), (Strings{"w1@x", "a@x"}));
  EXPECT_EQ(Book().Count(), 4u);
  EXPECT_TRUE(Group("Friends").Modified);
  EXPECT_FALSE(Group("Work").Modified);
  EXPECT_EQ(CurrentAddr(), "b@x");
  CheckOnly({"Friends", "Work"});
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "c@x", "w1@x"}));
}

TEST_F(MainLogic, DeleteOfTheLastRowMakesTheNewLastRowCurrent) {
  StartStandard();
  Select("w1@x");
  main->DelAddressClick();
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "c@x"}));
  EXPECT_EQ(main->Tbl.Row, 3);
  EXPECT_EQ(View().CurCard->PrefEmail, "c@x");
}

// Fault mended: deleting in the book view frees the card; the editor must
// not keep it, also when the grid becomes empty.
TEST_F(MainLogic, DeletingTheOnlyCardLeavesNoHitAddressAndNoEditorCard) {
  Bab("T/G/g.bab", Vcard("only@x", "Only", {"TEL;WORK:1"}));
  Dir("T/H");  // a second checked group: the book view
  Start();
  ASSERT_EQ(Book().SingleGroup, nullptr);
  ASSERT_NE(View().CurCard, nullptr);
  main->DelAddressClick();
  EXPECT_EQ(Book().Count(), 0u);
  EXPECT_EQ(main->Tbl.Cell(1, 1), "No Hit Address");
  EXPECT_EQ(View().CurCard, nullptr);
  EXPECT_EQ(View().Addr, "");
  EXPECT_EQ(View().Tel, "");
  // Handlers that read the card do nothing now.
  View().Sign = "changed";
  View().FormLostFocus();
  main->MainPopupPopup();
  EXPECT_EQ(main->SendMailCaption, "Send to \"\"");
  main->DelAddressClick();
  EXPECT_EQ(dlg.boxes.back().text, "No Hit Address");
}

TEST_F(MainLogic, AddGroupCleansTheNameAndChecksTheNewGroup) {
  StartStandard();
  main->Selected = NodeNamed("Personal");
  dlg.inputs = {std::string("a:b")};
  main->AddGroupClick();
  ASSERT_EQ(dlg.prompts.size(), 1u);
  EXPECT_EQ(dlg.prompts[0], "Add Address Group|Enter Group Name");
  store::TreeNode* n = NodeNamed("ab");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(main->Selected, n);
  EXPECT_EQ(n->Level, 1);
  EXPECT_EQ(n->ImageIndex, 1);
  EXPECT_EQ(n->Group->Path, Root() + "Personal/ab/");
  EXPECT_FALSE(std::filesystem::exists(Root() + "Personal/ab"));
  // Three groups checked now: the book view.
  EXPECT_EQ(Book().SingleGroup, nullptr);
  // The editor's list follows the tree at once (a decision of ours).
  ASSERT_EQ(View().EntryGroup.size(), static_cast<std::size_t>(Book().Nodes.Count()));
  for (int i = 0; i < Book().Nodes.Count(); ++i)
    EXPECT_EQ(View().EntryGroup[i].Text, Book().Nodes.Node(i)->Caption);
}

TEST_F(MainLogic, AddGroupWithAnExistingNameSelectsIt) {
  StartStandard();
  main->Selected = NodeNamed("Personal");
  const int before = Book().Nodes.Count();
  dlg.inputs = {std::string("fRIENDS")};
  main->AddGroupClick();
  EXPECT_EQ(Book().Nodes.Count(), before);
  EXPECT_EQ(main->Selected, NodeNamed("Friends"));
  EXPECT_EQ(NodeNamed("Friends")->ImageIndex, 1);  // not toggled
}

TEST_F(MainLogic, AddGroupWithOnlyForbiddenCharactersOrCancelDoesNothing) {
  StartStandard();
  main->Selected = NodeNamed("Friends");
  const int before = Book().Nodes.Count();
  dlg.inputs = {std::string("::"), std::nullopt};
  main->AddGroupClick();
  main->AddGroupClick();
  EXPECT_EQ(Book().Nodes.Count(), before);
  EXPECT_EQ(main->Selected, NodeNamed("Friends"));
  EXPECT_EQ(dlg.prompts.size(), 2u);
}

TEST_F(MainLogic, AddGroupBelowTheDeepestLevelSaysSo) {
  StartStandard();
  int k = Book().Nodes.Node(0)->AbsIndex;
  while (Book().Nodes.Node(k)->Level < store::kMaxLevels - 1) k = store::AddGroup(Book(), "d", k);
  main->Selected = Book().Nodes.Node(k);
  const int before = Book().Nodes.Count();
  dlg.inputs = {std::string("deeper")};
  main->AddGroupClick();
  EXPECT_EQ(Book().Nodes.Count(), before);
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "Groups can not be nested more than 99 levels deep.");
  EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Error);
}

TEST_F(MainLogic, AddGroupWithoutSelectionAddsUnderNodeZero) {
  StartStandard();
  main->Selected = nullptr;
  dlg.inputs = {std::string("Zoo")};
  main->AddGroupClick();
  store::TreeNode* n = NodeNamed("Zoo");
  EXPECT_EQ(n->Parent, NodeNamed("Personal"));
  EXPECT_EQ(main->Selected, n);
}

// ---- sending mail ---------------------------------------------------

TEST_F(MainLogic, MailArgumentsByMode) {
  const std::string a = "taro@x";
  EXPECT_EQ(TQ7AdrMan::MailArgument(0, a, "Taro Yamada"), "mailto:taro@x");
  EXPECT_EQ(TQ7AdrMan::MailArgument(1, a, "Taro Yamada"), "\"mailto:taro@x (Taro Yamada)\"");
  EXPECT_EQ(TQ7AdrMan::MailArgument(2, a, "Taro Yamada"), "\"mailto:Taro Yamada <taro@x>\"");
  EXPECT_EQ(TQ7AdrMan::MailArgument(0, "", "x"), "mailto:");
  EXPECT_EQ(TQ7AdrMan::MailArgument(3, a, "x"), "");
}

TEST_F(MainLogic, GroupMailArgument) {
  const std::string g = TQ7AdrMan::GroupMailArgument("PersonalFriends\\Work");
  EXPECT_EQ(g, "\"mailto:P\"\"ersonalFriends\\Work\"\"\"");
  EXPECT_EQ(g.size(), 33u);
  EXPECT_EQ(TQ7AdrMan::GroupMailArgument("Q"), "\"mailto:Q\"\"\"\"\"");
}

namespace {
// A fake mail program that writes its arguments, one a line, to a file.
std::string FakeMailer(const testsupport::TempDir& dir, const std::string& out, const std::string& name = "fakemail") {
  const std::string prog = dir / name;
  testsupport::WriteBytes(prog, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out +
                                    ".tmp' && mv '" + out + ".tmp' '" + out + "'\n");
  ::chmod(prog.c_str(), 0755);
  return prog;
}
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return std::filesystem::exists(path) ? ReadBytes(path) : std::string("<none>");
}
}  // namespace

TEST_F(MainLogic, SendMailStartsTheHandlerWithTheEditorsTexts) {
  const std::string out = tmp / "argv.txt";
  // The mail client's own program (InstallPath + "Q7") gets the design's
  // argument; a desktop handler would get a mailto: URI (MailLinkLogicTest).
  mailto = FakeMailer(tmp, out, "Q7") + " \"%1\"";
  StartStandard();
  Book().InstallPath = tmp.path();
  Select("b@x");
  View().Sign = "Taro Yamada";  // as it stands on the screen
  main->SendMailClick();
  EXPECT_EQ(WaitForFile(out), "mailto:Taro Yamada <b@x>\n");
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(MainLogic, SendMailFailureShowsTheErrorBox) {
  mailto = "/nonexistent/q7mailer %1";
  StartStandard();
  main->SendMailClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "/nonexistent/q7mailer %1 is not execute.");
  EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Error);
  EXPECT_EQ(dlg.boxes[0].buttons, dlg::Buttons{dlg::Button::Ok});
}

TEST_F(MainLogic, SendGroupMailOnATopLevelFolderDoesNothing) {
  mailto = "/nonexistent/q7mailer %1";  // a start would show an error box
  StartStandard();
  main->Selected = NodeNamed("Personal");
  main->SendGroupMailClick();
  main->Selected = nullptr;
  main->SendGroupMailClick();
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(MainLogic, SendGroupMailWithoutChangesAsksNothing) {
  const std::string out = tmp / "argv.txt";
  mailto = FakeMailer(tmp, out, "Q7") + " %1";  // the mail client's own program
  StartStandard();
  Book().InstallPath = tmp.path();
  main->Selected = NodeNamed("Friends");
  main->SendGroupMailClick();
  EXPECT_EQ(WaitForFile(out), "mailto:P\"ersonalFriends\"\n");
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(MainLogic, SendGroupMailOffersToSaveAModifiedGroup) {
  mailto = "/nonexistent/q7mailer %1";  // every start shows its error box
  StartStandard();
  main->Selected = NodeNamed("Work");
  Group("Work").Modified = true;
  dlg.answers = {dlg::Button::Cancel};
  main->SendGroupMailClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);  // no start
  EXPECT_EQ(dlg.boxes[0].text, "Data Modified\rAre you save?");
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{dlg::Button::Yes, dlg::Button::Cancel, dlg::Button::Ignore}));
  EXPECT_TRUE(Group("Work").Modified);

  dlg.boxes.clear();
  dlg.answers = {dlg::Button::Ignore};
  main->SendGroupMailClick();
  ASSERT_EQ(dlg.boxes.size(), 2u);
  EXPECT_EQ(dlg.boxes[1].text, "/nonexistent/q7mailer %1 is not execute.");
  EXPECT_TRUE(Group("Work").Modified);

  dlg.boxes.clear();
  dlg.answers = {dlg::Button::Yes};
  main->SendGroupMailClick();
  ASSERT_EQ(dlg.boxes.size(), 2u);
  EXPECT_FALSE(Group("Work").Modified);
  EXPECT_TRUE(testsupport::Exists(Root() + "Personal/Work/work.bak"));
}

TEST_F(MainLogic, SendGroupMailStopsWhenTheSaveFails) {
  mailto = "/nonexistent/q7mailer %1";
  StartStandard();
  main->Selected = NodeNamed("Work");
  Group("Work").Modified = true;
  const auto future = std::filesystem::file_time_type::clock::now() + std::chrono::hours(1);
  std::filesystem::last_write_time(Root() + "Personal/Work/work.bab", future);
  dlg.answers = {dlg::Button::Yes, dlg::Button::Cancel};  // save, then cancel the change question
  main->SendGroupMailClick();
  ASSERT_EQ(dlg.boxes.size(), 2u);  // no start
  EXPECT_TRUE(Group("Work").Modified);
}
