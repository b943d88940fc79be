// Which groups another program changed while the program runs, and the
// merge the live notice offers.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "mainwin/LogicFixture.h"

namespace {

using logictest::Vcard;

class OutsideChange : public logictest::MainLogic {
 protected:
  // A write by another program, stamped later than anything loaded or saved.
  void Outside(const std::string& rel, const std::string& bytes) {
    const std::string path = Root() + rel;
    testsupport::WriteBytes(path, bytes);
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
  }
  std::vector<std::string> Changed(const std::string& folder = {}) {
    std::vector<std::string> v;
    for (const auto& c : main->OutsideChanged(folder)) v.push_back(c.Node->Caption);
    return v;
  }
};

TEST_F(OutsideChange, WrittenAddedOrSavedHere) {
  StartStandard();
  EXPECT_TRUE(Changed().empty());
  // Rewritten in place, and a new file in another group.
  Outside("Personal/Friends/friends.bab", Vcard("c@x", "bob") + Vcard("n@x", "New"));
  Outside("Personal/Work/more.bab", Vcard("m@x", "More"));
  EXPECT_EQ(Changed(), (std::vector<std::string>{"Friends", "Work"}));
  EXPECT_EQ(Changed(Group("Work").Path), (std::vector<std::string>{"Work"}));
  const auto changes = main->OutsideChanged();
  EXPECT_GT(changes[0].Newest, Group("Friends").FileAge);
  // Nothing is merged by asking.
  EXPECT_EQ(GroupAddrs("Friends"), (std::vector<std::string>{"c@x", "a@x", "b@x"}));

  // The program's own save (overwriting, "Ignore") leaves nothing to report.
  Group("Friends").Modified = true;
  dlg.answers = {dlg::Button::Ignore};
  main->SaveClick();
  EXPECT_EQ(Changed(), (std::vector<std::string>{"Work"}));
  // Nor does a plain save without an outside change.
  Group("Friends").Modified = true;
  main->SaveClick();
  EXPECT_EQ(dlg.boxes.size(), 1u);  // only the first save asked
  EXPECT_EQ(Changed(), (std::vector<std::string>{"Work"}));
}

TEST_F(OutsideChange, TopLevelFoldersAreNotReported) {
  StartStandard();
  Outside("Personal/top.bab", Vcard("t@x", "Top"));
  EXPECT_TRUE(Changed().empty());
}

TEST_F(OutsideChange, MergeKeepsTheCurrentCardAndShowsTheNewCards) {
  StartStandard();
  CheckOnly({"Friends"});
  Select("b@x");
  Outside("Personal/Friends/friends.bab",
          Vcard("c@x", "bob") + Vcard("a@x", "Alice") + Vcard("b@x", "BOB") + Vcard("0@x", "First"));
  main->MergeOutsideChange(NodeNamed("Friends"));
  EXPECT_EQ(GroupAddrs("Friends"), (std::vector<std::string>{"c@x", "a@x", "b@x", "0@x"}));
  EXPECT_EQ(Column(1), (std::vector<std::string>{"c@x", "a@x", "b@x", "0@x"}));
  EXPECT_EQ(CurrentAddr(), "b@x");
  EXPECT_EQ(main->Tbl.CardAt(main->Tbl.Row), View().CurCard);
  EXPECT_TRUE(Changed().empty());
  // A merge only reads: nothing is written, no question asked.
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_FALSE(testsupport::Exists(Root() + "Personal/Friends/friends.bak"));
}

TEST_F(OutsideChange, RemovedFileIsReportedAndItsCardsSurviveTheMerge) {
  StartStandard();
  Outside("Personal/Friends/more.bab", Vcard("m@x", "More"));
  main->MergeOutsideChange(NodeNamed("Friends"));
  ASSERT_TRUE(Changed().empty());
  std::filesystem::remove(Root() + "Personal/Friends/more.bab");
  const auto changes = main->OutsideChanged();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].Node->Caption, "Friends");
  EXPECT_EQ(changes[0].Removed, 1u);
  EXPECT_EQ(changes[0].Newest, 0);
  // Merging deletes nothing from memory; the notice has nothing more to say.
  main->MergeOutsideChange(NodeNamed("Friends"));
  EXPECT_TRUE(Changed().empty());
  const auto friends = GroupAddrs("Friends");
  EXPECT_NE(std::find(friends.begin(), friends.end(), "m@x"), friends.end());
  // The next save writes the card back into the group's remaining file.
  Group("Friends").Modified = true;
  main->SaveClick();
  EXPECT_NE(testsupport::ReadBytes(Root() + "Personal/Friends/friends.bab").find("m@x"), std::string::npos);
  EXPECT_TRUE(Changed().empty());
}

TEST_F(OutsideChange, WatchPathsAreTheGroupFoldersAndTheirFiles) {
  StartStandard();
  const auto paths = main->OutsideWatchPaths();
  auto has = [&](const std::string& p) { return std::find(paths.begin(), paths.end(), p) != paths.end(); };
  EXPECT_TRUE(has(Root() + "Personal/Friends/"));
  EXPECT_TRUE(has(Root() + "Personal/Friends/friends.bab"));
  EXPECT_TRUE(has(Root() + "Personal/Work/work.bab"));
  EXPECT_FALSE(has(Root() + "Personal/"));
}

}  // namespace
