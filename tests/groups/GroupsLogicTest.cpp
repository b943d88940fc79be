// The group dialog's logic on a book in a temporary folder: the table, add,
// delete with its three questions and the files on disk, rename with the
// folders below it, nicknames, and what the main window keeps pointing at.
#include "groups/GroupsLogic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "mainwin/LogicFixture.h"
#include "platform/FileSystem.h"
#include "store/Save.h"

namespace {

using dlg::Button;
using groups::TGrpView;
using logictest::Vcard;
namespace fs = std::filesystem;

// Personal/ (top level) with Friends (cards c, a, b) and Work (w1, a);
// Friends has School below it, and School has Class below it.
class GroupsLogic : public logictest::MainLogic {
 protected:
  void StartNested() {
    WriteStandardBook();
    Bab("Personal/Friends/School/school.bab", Vcard("s@x", "Sam"));
    Bab("Personal/Friends/School/Class/class.bab", Vcard("k@x", "Kim"));
    Start();
  }
  int RowOf(TGrpView& v, const std::string& caption) {
    for (std::size_t r = 0; r < v.Rows.size(); ++r)
      if (v.Rows[r].Cols[1] == caption) return static_cast<int>(r);
    ADD_FAILURE() << "no row " << caption;
    return -1;
  }
  std::vector<std::string> Col(TGrpView& v, int c) {
    std::vector<std::string> out;
    for (const auto& r : v.Rows) out.push_back(r.Cols[static_cast<std::size_t>(c)]);
    return out;
  }
  // The table must stand for the tree row by row.
  void ExpectRowsFollowTree(TGrpView& v) {
    ASSERT_EQ(v.Rows.size(), static_cast<std::size_t>(Book().Nodes.Count()) + 1);
    for (int i = 0; i < Book().Nodes.Count(); ++i)
      EXPECT_EQ(v.Rows[static_cast<std::size_t>(i) + 1].Cols[1], Book().Nodes.Node(i)->Caption) << i;
  }
  // Nothing of the main window may point at a node or group that is gone.
  void ExpectMainWindowFollows() {
    const auto& order = Book().Nodes.InOrder();
    if (main->Selected) {
      EXPECT_NE(std::find(order.begin(), order.end(), main->Selected), order.end());
    }
    for (store::TGrpList* g : {Book().SingleGroup, Book().CurGroup}) {
      if (g) {
        EXPECT_NE(g->Node, nullptr);
      }
    }
    ASSERT_EQ(View().EntryGroup.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(View().EntryGroup[i].Text, order[i]->Caption);
    for (int r = 1; r < main->Tbl.RowCount(); ++r) {
      const int p = main->Tbl.Position(r);
      if (p < 0) continue;
      EXPECT_EQ(main->Tbl.CardAt(r), main->SourceAt(static_cast<std::size_t>(p))) << "row " << r;
    }
  }
};

TEST_F(GroupsLogic, TableDrawsTheTreeWithNamesNicknamesAndMarks) {
  WriteStandardBook();
  testsupport::WriteBytes(Root() + "Personal/Work/Group.ini", "[Settings]\r\nNickName=\x8e\x64\x8e\x96\r\n");  // 仕事
  Start();
  Group("Friends").Modified = true;
  TGrpView v(*main);
  EXPECT_EQ(v.Caption, "Ostra Address Book Manager Group Window");
  EXPECT_EQ(v.Titles, (std::array<std::string, 4>{"", "GroupName", "NicName", "Edit"}));
  EXPECT_EQ(v.ColWidths[3], 40);
  EXPECT_EQ(v.ItemIndex, 0);
  // Width 2 * deepest level + 2 = 4; the top folder has children: no padding.
  EXPECT_EQ(Col(v, 0), (std::vector<std::string>{"+-", "|-+-", "| |-", "| *-"}));
  EXPECT_EQ(Col(v, 1), (std::vector<std::string>{"AddrBook", "Personal", "Friends", "Work"}));
  EXPECT_EQ(Col(v, 2), (std::vector<std::string>{"", "", "", "\x8e\x64\x8e\x96"}));
  EXPECT_EQ(Col(v, 3), (std::vector<std::string>{"", "", " #", ""}));
}

TEST_F(GroupsLogic, AddCleansSelectsExistingAndMarksTheNewGroup) {
  StartStandard();
  TGrpView v(*main);
  const auto treeBefore = main->TreeRevision;

  // An existing child's name in other case selects it and adds nothing.
  v.ItemIndex = RowOf(v, "Personal");
  dlg.inputs = {std::string("fRiEnDs")};
  v.AddGroupClick();
  EXPECT_EQ(v.ItemIndex, RowOf(v, "Friends"));
  EXPECT_EQ(Book().Nodes.Count(), 3);

  // Forbidden characters are taken out; the new group is written later.
  v.ItemIndex = RowOf(v, "Personal");
  dlg.inputs = {std::string("Cl:ub")};
  v.AddGroupClick();
  ASSERT_EQ(Book().Nodes.Count(), 4);
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[1], "Club");
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[3], " #");
  EXPECT_TRUE(Group("Club").Modified);
  EXPECT_FALSE(fs::exists(Root() + "Personal/Club"));
  EXPECT_EQ(Col(v, 0), (std::vector<std::string>{"+-", "|-+-", "| |-", "| |-", "| *-"}));
  ExpectRowsFollowTree(v);
  EXPECT_GT(main->TreeRevision, treeBefore);
  ExpectMainWindowFollows();

  // Row 0 adds a top-level folder; a name that cleans to nothing adds nothing.
  v.ItemIndex = 0;
  dlg.inputs = {std::string("Archive"), std::string("::")};
  v.AddGroupClick();
  EXPECT_EQ(NodeNamed("Archive")->Level, 0);
  EXPECT_EQ(NodeNamed("Archive")->ImageIndex, store::kImgFolder);
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[1], "Archive");
  v.AddGroupClick();
  EXPECT_EQ(Book().Nodes.Count(), 5);
  ExpectRowsFollowTree(v);
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_EQ(dlg.prompts.front(), "Add New Group|Enter Group New Name");
}

TEST_F(GroupsLogic, DotNamesAreRefusedInAddAndRename) {
  StartStandard();
  TGrpView v(*main);
  for (const std::string name : {".", "..", "./", "..\\", "\"..\""}) {
    dlg.boxes.clear();
    v.ItemIndex = RowOf(v, "Personal");
    dlg.inputs = {name};
    v.AddGroupClick();
    ASSERT_EQ(dlg.boxes.size(), 1u) << name;
    EXPECT_EQ(dlg.boxes[0].text, "Group<" + name + ">can not be used as a folder name.");
    EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Error);

    dlg.boxes.clear();
    v.ItemIndex = RowOf(v, "Friends");
    dlg.inputs = {name};
    v.RenameBtnClick();
    EXPECT_EQ(dlg.boxes.size(), 1u) << name;
  }
  EXPECT_EQ(Book().Nodes.Count(), 3);
  EXPECT_EQ(Group("Friends").Path, Root() + "Personal/Friends/");
  EXPECT_TRUE(fs::is_directory(Root() + "Personal/Friends"));
  // The main window's own "Add Group" refuses them too.
  dlg.boxes.clear();
  main->SelectNode(0);
  dlg.inputs = {std::string("..")};
  main->AddGroupClick();
  EXPECT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(Book().Nodes.Count(), 3);
  // More dots are an ordinary name.
  v.ItemIndex = RowOf(v, "Personal");
  dlg.inputs = {std::string("...")};
  v.AddGroupClick();
  EXPECT_EQ(Book().Nodes.Count(), 4);
}

TEST_F(GroupsLogic, DeleteRefusesAGroupWithChildren) {
  StartNested();
  TGrpView v(*main);
  v.ItemIndex = RowOf(v, "Friends");
  v.DelGroupClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "Friends\r\nhas Chiled Group. Can net Delete.");
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{Button::Ok}));
  EXPECT_EQ(Book().Nodes.Count(), 5);
  EXPECT_TRUE(fs::exists(Root() + "Personal/Friends/friends.bab"));
}

TEST_F(GroupsLogic, DeleteWithCardsAsksAndKeepsTheCards) {
  StartStandard();
  TGrpView v(*main);
  const std::string ken = "\x20\x8c\x8f\x8f\x8a\x91\xae\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7";  // " 件所属しています"
  const std::string first = "\x90\xe6\x82\xc9\x8f\x8a\x91\xae\x82\xf0\x96\x95\x8f\xc1\x82\xb5\x82\xc4"
                            "\x89\xba\x82\xb3\x82\xa2\x81\x42";  // "先に所属を抹消して下さい。"

  // OK stops.
  v.ItemIndex = RowOf(v, "Friends");
  dlg.answers = {Button::Ok};
  v.DelGroupClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "Friends\r\nHas 3" + ken + "\r\n" + first);
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{Button::Ok, Button::Ignore}));
  EXPECT_EQ(Book().Nodes.Count(), 3);

  // Ignore, then No at the disk question, stops as well.
  dlg.boxes.clear();
  dlg.answers = {Button::Ignore, Button::No};
  v.DelGroupClick();
  ASSERT_EQ(dlg.boxes.size(), 2u);
  EXPECT_EQ(dlg.boxes[1].text, "Friends\r\nDelete from disk. Are you Okey?");
  EXPECT_EQ(Book().Nodes.Count(), 3);

  // Ignore, Yes: gone from disk and tree; the cards stay.
  dlg.boxes.clear();
  dlg.answers = {Button::Ignore, Button::Yes};
  v.DelGroupClick();
  EXPECT_EQ(Book().Nodes.Count(), 2);
  EXPECT_FALSE(fs::exists(Root() + "Personal/Friends"));
  EXPECT_EQ(Book().Count(), 4u);
  EXPECT_EQ(GroupAddrs("Work"), (std::vector<std::string>{"w1@x", "a@x"}));
  EXPECT_EQ(v.ItemIndex, RowOf(v, "Personal"));
  EXPECT_EQ(Col(v, 0), (std::vector<std::string>{"+-", "|-+-", "| *-"}));
  ExpectRowsFollowTree(v);
  ExpectMainWindowFollows();
}

TEST_F(GroupsLogic, DeleteOfAnEmptyGroupRemovesOnlyItsOwnFiles) {
  struct Case {
    const char* group;
    std::vector<std::string> files;  // in the group's folder
    std::vector<std::string> left;   // what stays; empty: the folder is gone
  };
  const std::vector<Case> cases = {
      {"Own", {"Group.idx", "Group.ini", "Address.ini", "x.bab", "X.BAK", "old.bak"}, {}},
      {"Foreign", {"Group.ini", "y.bab", "notes.txt"}, {"notes.txt"}},
      {"Hidden", {".hidden.bab", "y.bab", "notes.bak"}, {}},
  };
  for (const Case& c : cases)
    for (const auto& f : c.files) Bab(std::string("Top/") + c.group + "/" + f, "");
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.group);
    const int nodes = Book().Nodes.Count();
    TGrpView v(*main);
    v.ItemIndex = RowOf(v, c.group);
    dlg.boxes.clear();
    dlg.answers = {Button::Yes, Button::Yes};
    v.DelGroupClick();
    ASSERT_EQ(dlg.boxes.size(), 2u);
    EXPECT_EQ(dlg.boxes[0].text, std::string(c.group) + "\r\nto delete. Are you Okey?");
    EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{Button::Yes, Button::No}));
    EXPECT_EQ(Book().Nodes.Count(), nodes - 1);
    const std::string folder = Root() + "Top/" + c.group;
    EXPECT_EQ(fs::exists(folder), !c.left.empty());
    std::vector<std::string> left;
    if (fs::exists(folder))
      for (const auto& e : fs::directory_iterator(folder)) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, c.left);
  }
}

TEST_F(GroupsLogic, DeleteLeavesNothingPointingAtTheGroup) {
  StartStandard();
  CheckOnly({"Friends", "Work"});
  Select("a@x");
  store::TAddrRec* current = View().CurCard;
  ASSERT_EQ(current->PrefEmail, "a@x");
  main->Selected = NodeNamed("Friends");
  Book().CurGroup = &Group("Friends");
  {
    TGrpView v(*main);
    v.ItemIndex = RowOf(v, "Friends");
    dlg.answers = {Button::Ignore, Button::Yes};
    v.DelGroupClick();
    // While the dialog is still open the main window follows already.
    EXPECT_EQ(main->Selected, nullptr);
    EXPECT_EQ(Book().CurGroup, nullptr);
    // Only Work stays checked: it is the single group now.
    EXPECT_EQ(Book().SingleGroup, &Group("Work"));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"w1@x", "a@x"}));
    EXPECT_EQ(View().CurCard, current);
    EXPECT_EQ(CurrentAddr(), "a@x");
    ExpectMainWindowFollows();
  }
  // A single checked group deleted: no group view is left behind.
  CheckOnly({"Work"});
  ASSERT_EQ(Book().SingleGroup, &Group("Work"));
  TGrpView v(*main);
  v.ItemIndex = RowOf(v, "Work");
  dlg.answers = {Button::Ignore, Button::Yes};
  v.DelGroupClick();
  EXPECT_EQ(Book().SingleGroup, nullptr);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"No Hit Address"}));
  ExpectMainWindowFollows();
  // The editor's list has only the top folder; a click there changes nothing.
  View().EntryGroupIndex = 0;
  View().EntryGroupDblClick();
  EXPECT_EQ(View().EntryGroup[0].ImageIndex, 2);
}

TEST_F(GroupsLogic, RenameRefusesSiblingsAndExistingEntries) {
  StartStandard();
  testsupport::WriteBytes(Root() + "Personal/readme.txt", "x");
  TGrpView v(*main);
  const int row = RowOf(v, "Friends");
  struct Case {
    std::string name;
    std::string box;  // empty: no box, nothing asked after
  };
  const std::vector<Case> cases = {
      {"FRIENDS", ""},                                   // the same name in other case
      {"wORK", "Group<wORK>is already exist."},          // a sibling
      {"readme.txt", "Group<readme.txt>is already exist."},  // a file in the parent folder
  };
  for (const Case& c : cases) {
    dlg.boxes.clear();
    v.ItemIndex = row;
    dlg.inputs = {c.name};
    v.RenameBtnClick();
    if (c.box.empty()) {
      EXPECT_TRUE(dlg.boxes.empty()) << c.name;
    } else {
      ASSERT_EQ(dlg.boxes.size(), 1u) << c.name;
      EXPECT_EQ(dlg.boxes[0].text, c.box);
      EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Error);
    }
    EXPECT_EQ(NodeNamed("Friends")->Group->Path, Root() + "Personal/Friends/");
    EXPECT_TRUE(fs::is_directory(Root() + "Personal/Friends"));
  }
  // A folder on disk that is no group yet counts too.
  Dir("Personal/Later");
  dlg.boxes.clear();
  v.ItemIndex = row;
  dlg.inputs = {std::string("Later")};
  v.RenameBtnClick();
  EXPECT_EQ(dlg.boxes.size(), 1u);
  // The top-level folder's name cannot change: nothing is even asked.
  dlg.prompts.clear();
  v.ItemIndex = RowOf(v, "Personal");
  v.RenameBtnClick();
  EXPECT_TRUE(dlg.prompts.empty());
}

TEST_F(GroupsLogic, RenameMovesTheFolderAndEveryPathBelowAndSavesThere) {
  StartNested();
  TGrpView v(*main);
  v.ItemIndex = RowOf(v, "Friends");
  // "友達" (friends), both bytes of each character kept.
  const std::string tomodachi = "\x97\x46\x92\x42";
  dlg.inputs = {tomodachi};
  v.RenameBtnClick();
  EXPECT_TRUE(dlg.boxes.empty());
  const std::string base = Root() + "Personal/" + tomodachi + "/";
  EXPECT_EQ(NodeNamed(tomodachi)->Group->Path, base);
  EXPECT_EQ(Group("School").Path, base + "School/");
  EXPECT_EQ(Group("Class").Path, base + "School/Class/");
  EXPECT_EQ(Group("Work").Path, Root() + "Personal/Work/");
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[1], tomodachi);
  EXPECT_FALSE(NodeNamed(tomodachi)->Group->Modified);  // complete on disk
  EXPECT_FALSE(fs::exists(Root() + "Personal/Friends"));
  EXPECT_TRUE(plat::fs::FileExists(base + "School/Class/class.bab"));
  EXPECT_EQ(store::GroupDisplayPath(Group("School")), "Personal" + tomodachi + "\\School");
  ExpectMainWindowFollows();

  // A save afterwards writes into the renamed folders.
  store::TGrpList& cls = Group("Class");
  cls.Append(Book().At(0));
  cls.Modified = true;
  ASSERT_TRUE(store::SaveGroup(Book(), cls.Node));
  const std::string written = testsupport::ReadBytes(plat::fs::ToDiskPath(base + "School/Class/class.bab"));
  EXPECT_NE(written.find("EMAIL;PREF:a@x"), std::string::npos);
  EXPECT_FALSE(fs::exists(Root() + "Personal/Friends"));

  // A reload finds the renamed folders known: no group twice.
  const int nodes = Book().Nodes.Count();
  main->ReLoadClick();
  EXPECT_EQ(Book().Nodes.Count(), nodes);
}

TEST_F(GroupsLogic, RenameOfANewGroupAndAFailedRename) {
  StartStandard();
  TGrpView v(*main);
  // A group not saved yet has no folder: only its name changes.
  v.ItemIndex = RowOf(v, "Personal");
  dlg.inputs = {std::string("New"), std::string("Newer")};
  v.AddGroupClick();
  v.RenameBtnClick();
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_EQ(Group("Newer").Path, Root() + "Personal/Newer/");
  EXPECT_TRUE(Group("Newer").Modified);

  // A folder rename the file system refuses (a name too long for it)
  // changes nothing.
  const std::string tooLong(300, 'x');
  v.ItemIndex = RowOf(v, "Friends");
  const auto tree = main->TreeRevision;
  dlg.inputs = {tooLong};
  v.RenameBtnClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, Root() + "Personal/Friends\r\nCan not rename folder.");
  EXPECT_EQ(NodeNamed("Friends")->Group->Path, Root() + "Personal/Friends/");
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[1], "Friends");
  EXPECT_EQ(main->TreeRevision, tree);
  EXPECT_TRUE(fs::is_directory(Root() + "Personal/Friends"));
}

TEST_F(GroupsLogic, NicknameChangesMarkTheGroupAndAreSaved) {
  StartStandard();
  TGrpView v(*main);
  v.ItemIndex = RowOf(v, "Work");
  // The same text changes nothing.
  dlg.inputs = {std::string("")};
  v.NicEditClick();
  EXPECT_FALSE(Group("Work").Modified);
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[3], "");
  EXPECT_EQ(dlg.prompts.back(), "Modify NicName|Enter NicName");
  // Cancel changes nothing either.
  v.NicEditClick();
  EXPECT_FALSE(Group("Work").Modified);
  // A new nickname ("職場", workplace) shows at once.
  const std::string shokuba = "\x90\x45\x8f\xea";
  dlg.inputs = {shokuba};
  v.NicEditClick();
  EXPECT_EQ(Group("Work").NickName, shokuba);
  EXPECT_TRUE(Group("Work").Modified);
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[2], shokuba);
  EXPECT_EQ(v.Rows[static_cast<std::size_t>(v.ItemIndex)].Cols[3], " #");
  // The top folder has no nickname to edit.
  dlg.prompts.clear();
  v.ItemIndex = RowOf(v, "Personal");
  v.NicEditClick();
  EXPECT_TRUE(dlg.prompts.empty());
  // The save writes it.
  main->SaveClick();
  EXPECT_NE(testsupport::ReadBytes(Root() + "Personal/Work/Group.ini").find("NickName=" + shokuba),
            std::string::npos);
}

// The main window's "Group Edit" runs the dialog through its host and
// refreshes the editor's list afterwards.
struct ScriptHost : mainwin::MainHost {
  std::function<void(TGrpView&)> script;
  int shown = 0;
  void ShowGroupDialog(TGrpView& v) override {
    ++shown;
    if (script) script(v);
  }
};

TEST_F(GroupsLogic, GroupEditClickRunsTheDialogAndRefreshes) {
  StartStandard();
  ScriptHost host;
  main->Host = &host;
  Select("a@x");
  host.script = [&](TGrpView& v) {
    v.ItemIndex = RowOf(v, "Personal");
    dlg.inputs = {std::string("Aaa")};
    v.AddGroupClick();
  };
  main->GroupEditClick();
  EXPECT_EQ(host.shown, 1);
  ExpectMainWindowFollows();
  // The editor shows the card's memberships on the new rows.
  std::vector<int> images;
  for (const auto& r : View().EntryGroup) images.push_back(r.ImageIndex);
  EXPECT_EQ(images, (std::vector<int>{2, 0, 1, 1}));  // Personal, Aaa, Friends, Work
  EXPECT_EQ(CurrentAddr(), "a@x");
}

TEST(GroupNames, DotNames) {
  for (const char* s : {".", "..", "./", "/..", ":.:", "\\.\\."}) EXPECT_TRUE(groups::IsDotName(s)) << s;
  for (const char* s : {"", "...", ".a", "a.", "::", "\x83\x2e"}) EXPECT_FALSE(groups::IsDotName(s)) << s;
}

}  // namespace
