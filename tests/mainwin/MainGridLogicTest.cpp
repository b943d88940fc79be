// Tests of the main window's grid, sorting, tree clicks and card order on
// books written into a temporary folder.
#include <numeric>

#include "mainwin/LogicFixture.h"

using namespace logictest;
using mainwin::TQ7AdrMan;
using testsupport::ReadBytes;
using Strings = std::vector<std::string>;

// ---- grid, sorting, tree ------------------------------------------

TEST_F(MainLogic, NoGroupCheckedShowsNoHitAddress) {
  StartStandard();
  main->DeSelectClick();
  CheckOnly({});
  EXPECT_EQ(main->Tbl.RowCount(), 2);
  EXPECT_EQ(main->Tbl.Cell(1, 1), "No Hit Address");
  EXPECT_EQ(main->Tbl.Cell(1, 2), "");
  EXPECT_EQ(main->SubTot, "     0");
  EXPECT_EQ(main->Total, "     4");
  EXPECT_FALSE(main->UpDownPnlVisible);
  EXPECT_EQ(main->Tbl.Row, 1);
}

TEST_F(MainLogic, NameSortKeepsTiesInSourceOrderAndReversesThemDescending) {
  StartStandard();
  main->SortKey = 4;
  main->TblRedraw(-1);
  // "BOB" (b@x) and "bob" (c@x) are equal after upper-casing.
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "c@x", "w1@x"}));
  EXPECT_EQ(main->Tbl.Cell(0, 2), kDown + "Name");
  EXPECT_EQ(main->Tbl.Cell(0, 1), kZenSpace + "Mail Address");
  main->SortKey = 5;
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"w1@x", "c@x", "b@x", "a@x"}));
  EXPECT_EQ(main->Tbl.Cell(0, 2), kUp + "Name");
  // Column 0 keeps naming the source position.
  EXPECT_EQ(Column(0), (Strings{"4", "3", "2", "1"}));
}

TEST_F(MainLogic, TiesAcrossManyCardsMatchTheInsertionSort) {
  // Names cycle through three case variants of two values; the expected
  // orders are computed by the design's insertion into the display list.
  std::string bytes;
  const char* names[] = {"x", "Y", "X", "y", "x", "Y", "X"};
  for (int i = 0; i < 7; ++i) bytes += Vcard("m" + std::to_string(i) + "@x", names[i]);
  Bab("T/G/g.bab", bytes);
  Start();
  auto insertion = [&](bool asc) {
    std::vector<int> disp;
    for (int i = 0; i < 7; ++i) {
      const std::string v = mainwin::GridSortKey(names[i]);
      auto it = disp.begin();
      for (; it != disp.end(); ++it) {
        const std::string d = mainwin::GridSortKey(names[*it]);
        if (asc ? d > v : d <= v) break;
      }
      disp.insert(it, i);
    }
    Strings out;
    for (int i : disp) out.push_back("m" + std::to_string(i) + "@x");
    return out;
  };
  main->SortKey = 4;
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), insertion(true));
  main->SortKey = 5;
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), insertion(false));
}

TEST_F(MainLogic, SortKeyStepsOverDoubleByteCharacters) {
  // ヂ (trail 'a') stands before ア (trail 'A') in the source; a plain
  // byte upper-casing would make them equal and keep that order.
  Bab("T/G/g.bab", Vcard("p@x", kDi) + Vcard("q@x", kA));
  Start();
  main->SortKey = 4;
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"q@x", "p@x"}));
  EXPECT_EQ(mainwin::GridSortKey("ab" + kDi + "c"), "AB" + kDi + "C");
}

TEST_F(MainLogic, SortIsByUnsignedBytes) {
  // A double-byte name (lead byte 0x83) sorts after ASCII names; a prefix
  // sorts first.
  Bab("T/G/g.bab", Vcard("p@x", kA) + Vcard("q@x", "abc") + Vcard("r@x", "AB"));
  Start();
  main->SortKey = 4;
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"r@x", "q@x", "p@x"}));
}

TEST_F(MainLogic, OtherSortColumns) {
  StartStandard();
  main->SortKey = 3;  // address descending
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"w1@x", "c@x", "b@x", "a@x"}));
  EXPECT_EQ(main->Tbl.Cell(0, 1), kUp + "Mail Address");
  main->SortKey = 6;  // note ascending: empty notes first, in source order
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"a@x", "w1@x", "b@x", "c@x"}));
  EXPECT_EQ(main->Tbl.Cell(0, 3), kDown + "Note");
  main->SortKey = 9;  // nickname descending
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"c@x", "w1@x", "b@x", "a@x"}));
  EXPECT_EQ(main->Tbl.Cell(0, 4), kUp + "NicName");
}

TEST_F(MainLogic, SortKey12FromTheSettingsReversesWithPlainTitles) {
  Ini("[Option]\r\nSortKey=12\r\n");
  StartStandard();
  EXPECT_EQ(Column(1), (Strings{"w1@x", "c@x", "b@x", "a@x"}));
  for (int c = 1; c < 5; ++c) EXPECT_EQ(main->Tbl.Cell(0, c).substr(0, 2), kZenSpace) << c;
  // The target position starts as 0: the row of source position 0 is current.
  EXPECT_EQ(CurrentAddr(), "a@x");
}

TEST_F(MainLogic, TitleClicks) {
  StartStandard();
  main->TblTitleClick(2);
  EXPECT_EQ(main->SortKey, 4);
  main->TblTitleClick(2);
  EXPECT_EQ(main->SortKey, 5);
  main->TblTitleClick(2);
  EXPECT_EQ(main->SortKey, 4);
  main->TblTitleClick(4);
  EXPECT_EQ(main->SortKey, 8);
  main->TblTitleClick(0);
  EXPECT_EQ(main->SortKey, 0);
  main->TblTitleClick(0);
  EXPECT_EQ(main->SortKey, 1);
  EXPECT_EQ(Column(1), (Strings{"w1@x", "c@x", "b@x", "a@x"}));
  main->TblTitleClick(0);
  EXPECT_EQ(main->SortKey, 0);
  main->TblTitleClick(1);
  EXPECT_EQ(main->SortKey, 2);
  main->TblTitleClick(3);
  EXPECT_EQ(main->SortKey, 6);
  main->TblTitleClick(3);
  EXPECT_EQ(main->SortKey, 7);
}

TEST_F(MainLogic, TitleClickKeepsTheCurrentCard) {
  StartStandard();
  Select("c@x");
  main->TblTitleClick(0);  // reversed
  EXPECT_EQ(CurrentAddr(), "c@x");
  EXPECT_EQ(main->Tbl.Row, 2);
  EXPECT_EQ(View().CurCard->PrefEmail, "c@x");
}

TEST_F(MainLogic, MouseDownHitTestsRowsAndTitleColumns) {
  StartStandard();
  main->Tbl.ColWidths = {30, 100, 80, 80, 40};
  main->TblMouseDown(10, 5);  // column 0 title
  EXPECT_EQ(main->SortKey, 1);
  main->TblMouseDown(30 + 100 + 5, 5);  // column 2 title
  EXPECT_EQ(main->SortKey, 4);
  main->TblMouseDown(29 + 100, 5);  // still column 1
  EXPECT_EQ(main->SortKey, 2);
  main->SortKey = 0;
  main->TblRedraw(-1);
  main->TblMouseDown(50, 3 * 17 + 2);  // y / 17 = 3: row 3 - 1 + 1 = 3
  EXPECT_EQ(main->Tbl.Row, 3);
  EXPECT_EQ(View().CurCard->PrefEmail, "c@x");
  main->TblMouseDown(50, 20 * 17);  // below the last row: nothing
  EXPECT_EQ(main->Tbl.Row, 3);
}

TEST_F(MainLogic, FormResizeSpreadsTheWidthProportionally) {
  StartStandard();
  main->Tbl.ColWidths = {30, 130, 0, 80, 40};  // column 2 dragged to 0
  main->TblClientWidth = 434;                  // 434 - 30 - 4 = 400 for 255 units
  main->FormResize();
  EXPECT_EQ(main->Tbl.ColWidths[1], 203);
  EXPECT_EQ(main->Tbl.ColWidths[2], 7);
  EXPECT_EQ(main->Tbl.ColWidths[3], 125);
  EXPECT_EQ(main->Tbl.ColWidths[4], 62);
  EXPECT_EQ(main->Tbl.ColWidths[0], 30);
  main->Enabled = false;
  main->Tbl.ColWidths[1] = 10;
  main->FormResize();
  EXPECT_EQ(main->Tbl.ColWidths[1], 10);  // only while enabled
  main->Enabled = true;
  main->TblMouseUp(20);  // below the title row: nothing
  EXPECT_EQ(main->Tbl.ColWidths[1], 10);
  main->TblMouseUp(10);
  EXPECT_NE(main->Tbl.ColWidths[1], 10);
}

TEST_F(MainLogic, SingleGroupViewShowsTheGroupWithItsPositions) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  EXPECT_EQ(Book().SingleGroup, &Group("Friends"));
  EXPECT_TRUE(main->UpDownPnlVisible);
  EXPECT_TRUE(main->SaveOrderEnabled);
  EXPECT_EQ(Column(1), (Strings{"c@x", "a@x", "b@x"}));
  EXPECT_EQ(Column(0), (Strings{"1", "2", "3"}));
  EXPECT_EQ(main->SubTot, "     3");
  EXPECT_EQ(main->Total, "     4");
}

TEST_F(MainLogic, GroupTreeClickTogglesTheCheckAndRedraws) {
  StartStandard();
  main->Selected = NodeNamed("Work");
  main->GroupTreeDblClick();
  EXPECT_EQ(NodeNamed("Work")->ImageIndex, 0);
  EXPECT_EQ(NodeNamed("Work")->SelectedIndex, 0);
  EXPECT_EQ(main->FocusRequest, mainwin::FocusTarget::TreeRepaint);
  EXPECT_EQ(Book().SingleGroup, &Group("Friends"));
  EXPECT_EQ(Column(1), (Strings{"c@x", "a@x", "b@x"}));
  main->Selected = NodeNamed("Personal");  // top-level folders cannot be checked
  main->GroupTreeDblClick();
  EXPECT_EQ(NodeNamed("Personal")->ImageIndex, 2);
  main->Selected = NodeNamed("Work");
  EXPECT_TRUE(main->GroupTreeKeyPress('\r'));
  EXPECT_EQ(NodeNamed("Work")->ImageIndex, 1);
  EXPECT_TRUE(main->GroupTreeKeyPress('a'));  // swallowed, nothing happens
  EXPECT_EQ(NodeNamed("Work")->ImageIndex, 1);
  EXPECT_EQ(Book().SingleGroup, nullptr);
  EXPECT_EQ(Column(1).size(), 4u);
}

TEST_F(MainLogic, SelectAllAndDeSelectLeaveTheBookView) {
  Bab("T/Only/o.bab", Vcard("o@x", "O") + Vcard("p@x", "P"));
  Start();
  EXPECT_EQ(Book().SingleGroup, &Group("Only"));
  main->SelectAllClick();
  EXPECT_EQ(Book().SingleGroup, nullptr);
  EXPECT_FALSE(main->UpDownPnlVisible);
  EXPECT_EQ(Column(1), (Strings{"o@x", "p@x"}));
  main->DeSelectClick();
  EXPECT_EQ(NodeNamed("Only")->ImageIndex, 0);
  EXPECT_EQ(Book().SingleGroup, nullptr);
  EXPECT_EQ(main->Tbl.Cell(1, 1), "No Hit Address");
}

TEST_F(MainLogic, UpAndDownMoveInsideTheGroup) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  Select("a@x");  // position 2 of c, a, b
  main->UpLabelClick();
  EXPECT_EQ(main->FocusRequest, mainwin::FocusTarget::Grid);
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"a@x", "c@x", "b@x"}));
  EXPECT_EQ(Column(1), (Strings{"a@x", "c@x", "b@x"}));
  EXPECT_EQ(CurrentAddr(), "a@x");  // the moved card stays current
  EXPECT_TRUE(Group("Friends").Modified);
  main->DnLabelClick();
  main->DnLabelClick();
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "b@x", "a@x"}));
  EXPECT_EQ(CurrentAddr(), "a@x");
}

TEST_F(MainLogic, UpOnTheFirstAndDownOnTheLastDoNothing) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  Select("c@x");
  main->UpLabelClick();
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "a@x", "b@x"}));
  EXPECT_FALSE(Group("Friends").Modified);
  Select("b@x");
  main->DnLabelClick();
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "a@x", "b@x"}));
  EXPECT_FALSE(Group("Friends").Modified);
}

TEST_F(MainLogic, UpAndDownDoNothingInTheBookView) {
  StartStandard();
  Select("b@x");
  main->UpLabelClick();
  EXPECT_EQ(main->FocusRequest, mainwin::FocusTarget::Grid);
  EXPECT_FALSE(Group("Friends").Modified);
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "a@x", "b@x"}));
}

TEST_F(MainLogic, UpUnderReversedOrderMovesInTheGroupOrder) {
  Ini("[Group]\r\nPersonalWork=0\r\n[Option]\r\nSortKey=1\r\n");
  StartStandard();
  EXPECT_EQ(Column(1), (Strings{"b@x", "a@x", "c@x"}));
  Select("b@x");
  main->UpLabelClick();  // group position 3 -> 2
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "b@x", "a@x"}));
  EXPECT_EQ(Column(1), (Strings{"a@x", "b@x", "c@x"}));
  EXPECT_EQ(CurrentAddr(), "b@x");
}

TEST_F(MainLogic, SaveOrderStoresTheShownOrder) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  Bab("Personal/Friends/friends.bab",
      Vcard("d@x", "Dan") + Vcard("b@x", "Bea") + Vcard("e@x", "Eve") + Vcard("a@x", "Ann") + Vcard("c@x", "Cy"));
  Bab("Personal/Work/work.bab", Vcard("w@x", "W"));
  Start();
  main->SortKey = 4;
  main->TblRedraw(-1);
  Select("e@x");
  main->SaveOrderClick();
  EXPECT_EQ(main->FocusRequest, mainwin::FocusTarget::Grid);
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"a@x", "b@x", "c@x", "d@x", "e@x"}));
  EXPECT_EQ(Column(0), (Strings{"1", "2", "3", "4", "5"}));
  EXPECT_TRUE(Group("Friends").Modified);
  EXPECT_EQ(CurrentAddr(), "e@x");
  main->SortKey = 3;  // address descending
  main->TblRedraw(-1);
  main->SaveOrderClick();
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"e@x", "d@x", "c@x", "b@x", "a@x"}));
  // Saved to disk in that order.
  main->SaveClick();
  const std::string file = ReadBytes(Root() + "Personal/Friends/friends.bab");
  EXPECT_LT(file.find("e@x"), file.find("a@x"));
}

TEST_F(MainLogic, SaveOrderUnderSourceOrderChangesNothingButMarksModified) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  main->SaveOrderClick();
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "a@x", "b@x"}));
  EXPECT_TRUE(Group("Friends").Modified);
}

TEST_F(MainLogic, SaveOrderDoesNothingInTheBookView) {
  StartStandard();
  main->SortKey = 4;
  main->TblRedraw(-1);
  main->SaveOrderClick();
  EXPECT_FALSE(Group("Friends").Modified);
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"c@x", "a@x", "b@x"}));
}

TEST_F(MainLogic, SaveOrderWithUnshownCardsKeepsEveryCardOnce) {
  Ini("[Group]\r\nPersonalWork=0\r\n");
  StartStandard();
  // An unshown card (its mark cleared, as a search would) in the group.
  Group("Friends").At(0)->Mark = 0;  // c@x
  main->SortKey = 5;                 // names descending: b (BOB), a (Alice)
  main->TblRedraw(-1);
  EXPECT_EQ(Column(1), (Strings{"b@x", "a@x"}));
  main->SaveOrderClick();
  // b@x to 0, a@x to 1 by following the cycles; c@x takes the free place.
  EXPECT_EQ(GroupAddrs("Friends"), (Strings{"b@x", "a@x", "c@x"}));
}
