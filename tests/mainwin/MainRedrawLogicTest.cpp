// Changes of the book's order or content behind the grid's back are
// followed by a redraw on the same card: every row's position names the
// card the row shows, so a click or "Del" acts on that card.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "mainwin/LogicFixture.h"

namespace {

using dlg::Button;
using logictest::Vcard;

class MainRedraw : public logictest::MainLogic {
 protected:
  void ExpectRowsNameTheirCards() {
    for (int r = 1; r < main->Tbl.RowCount(); ++r) {
      const int p = main->Tbl.Col0Number(r) - 1;
      if (p < 0) continue;
      EXPECT_EQ(main->SourceAt(static_cast<std::size_t>(p))->PrefEmail, main->Tbl.Cell(r, 1)) << "row " << r;
    }
  }
  // The mail client rewrites Friends' file with two more cards, one of them
  // sorting before every card of the book.
  void MailClientWritesFriends() {
    const std::string path = Root() + "Personal/Friends/friends.bab";
    testsupport::WriteBytes(path, Vcard("c@x", "bob") + Vcard("a@x", "Alice") + Vcard("b@x", "BOB") +
                                      Vcard("0@x", "First") + Vcard("bb@x", "Between"));
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
  }
};

TEST_F(MainRedraw, MergeOnSaveRebuildsTheGridOnTheSameCard) {
  StartStandard();
  Select("c@x");
  ASSERT_EQ(View().CurCard->PrefEmail, "c@x");
  Group("Friends").Modified = true;
  MailClientWritesFriends();
  dlg.answers = {Button::Yes};  // merge the outside change
  main->SaveClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "Friends\r\nGroup is modified by Q7\r\nAre you reload?");
  // The merged cards are shown (Friends is checked), in book order.
  EXPECT_EQ(Column(1), (std::vector<std::string>{"0@x", "a@x", "b@x", "bb@x", "c@x", "w1@x"}));
  EXPECT_EQ(CurrentAddr(), "c@x");
  EXPECT_EQ(main->Tbl.CardAt(main->Tbl.Row), View().CurCard);
  ExpectRowsNameTheirCards();

  // "Del" asks about and deletes the card the row shows.
  dlg.boxes.clear();
  dlg.answers = {Button::Yes};
  main->DelAddressClick();
  EXPECT_EQ(Column(1), (std::vector<std::string>{"0@x", "a@x", "b@x", "bb@x", "w1@x"}));
  ExpectRowsNameTheirCards();
}

TEST_F(MainRedraw, MergeInTheSingleGroupViewKeepsTheCard) {
  StartStandard();
  CheckOnly({"Friends"});
  Select("b@x");
  Group("Friends").Modified = true;
  MailClientWritesFriends();
  dlg.answers = {Button::Yes};
  main->SaveClick();
  // The group's own order: file order, the merged cards appended.
  EXPECT_EQ(Column(1), (std::vector<std::string>{"c@x", "a@x", "b@x", "0@x", "bb@x"}));
  EXPECT_EQ(CurrentAddr(), "b@x");
  EXPECT_EQ(main->Tbl.CardAt(main->Tbl.Row), View().CurCard);
  ExpectRowsNameTheirCards();
  // A row chosen afterwards loads the card it shows.
  main->TblSelectCell(4);
  EXPECT_EQ(View().CurCard->PrefEmail, "0@x");
}

TEST_F(MainRedraw, SaveBeforeGroupMailRedrawsAfterAMerge) {
  StartStandard();
  CheckOnly({"Friends"});
  main->Selected = NodeNamed("Friends");
  Select("a@x");
  Group("Friends").Modified = true;
  MailClientWritesFriends();
  dlg.answers = {Button::Yes, Button::Yes};  // save first; merge the outside change
  main->SendGroupMailClick();
  EXPECT_EQ(Column(1), (std::vector<std::string>{"c@x", "a@x", "b@x", "0@x", "bb@x"}));
  EXPECT_EQ(CurrentAddr(), "a@x");
  ExpectRowsNameTheirCards();
}

TEST_F(MainRedraw, OverwriteOrCancelLeavesTheRowsAsTheyAre) {
  StartStandard();
  Select("c@x");
  const std::vector<std::string> before = Column(1);
  Group("Friends").Modified = true;
  MailClientWritesFriends();
  dlg.answers = {Button::Cancel};
  main->SaveClick();
  EXPECT_EQ(Column(1), before);
  EXPECT_EQ(CurrentAddr(), "c@x");
  EXPECT_TRUE(Group("Friends").Modified);
  ExpectRowsNameTheirCards();
}

}  // namespace
