// Tests of the card editor's standard page driven through the
// main window's logic on a book in a temporary folder.
#include "mainwin/LogicFixture.h"

using namespace logictest;
using editor::Page;
using editor::ViewFocus;
using store::GetValue;
using Strings = std::vector<std::string>;

namespace {

// The book: top-level folder Home (its own file holds t@x) with the groups
// G1 (k@x, m@x) and G2 (z@x and the same m@x). m@x is the rich card.
// Book order: k, m, t, z; shown (G1 and G2 checked): k, m, z.
class ViewLogic : public LogicFixture {
 protected:
  void SetUp() override {
    Bab("Home/top.bab", Vcard("t@x", "Top"));
    Bab("Home/G1/g1.bab",
        Vcard("k@x", "Ken") + Vcard("m@x", "Taro",
                                    {"FN;CHARSET=SHIFT_JIS:\x91\xbe\x98\x59",  // 太郎
                                     "URL:http://u", "KEY:k1", "NOTE;ENCODING=QUOTED-PRINTABLE:line1=0d=0aline2",
                                     "TEL;WORK:03", "TEL;HOME:05", "TEL;FAX:04", "TEL;WORK;FAX:06",
                                     "ADR;HOME:PB;Ext;HomeSt;HCity;HReg;111;JP",
                                     "ADR;WORK:;;Street;City;Region;123-4567;Japan", "X-OSTRA-NICKNAME:tx"}));
    Bab("Home/G2/g2.bab", Vcard("z@x", "Zoe") + Vcard("m@x", "Taro"));
  }
  void StartAndSelect(const std::string& addr) {
    Start();
    SelectRow(addr);
  }
  void SelectRow(const std::string& addr) {
    for (int r = 1; r < main->Tbl.RowCount(); ++r)
      if (main->Tbl.Cell(r, 1) == addr) {
        main->TblSelectCell(r);
        return;
      }
    ADD_FAILURE() << "no row " << addr;
  }
  store::TAddrRec& Card() { return *View().CurCard; }
  static Strings Params(const store::TvCard& list) {
    Strings v;
    for (const auto& e : list) v.push_back(e.Params + "=" + e.Values.Join(";"));
    return v;
  }
  std::vector<int> Images() {
    std::vector<int> v;
    for (const auto& r : View().EntryGroup) v.push_back(r.ImageIndex);
    return v;
  }
  int RowIndex(const std::string& caption) {
    for (std::size_t i = 0; i < View().EntryGroup.size(); ++i)
      if (View().EntryGroup[i].Text == caption) return static_cast<int>(i);
    return -1;
  }
};

}  // namespace

TEST_F(ViewLogic, CreationSetsCaptionsAndSections) {
  Start();
  EXPECT_EQ(View().Caption, "Ostra Address Book Manager ViewWindow");
  EXPECT_EQ(View().Captions.Label13, "Entry Group");
  EXPECT_EQ(View().Captions.StdTab, "(&S)Std");
  EXPECT_EQ(View().Captions.ExtTab, "(&V)Ext");
  EXPECT_EQ(View().Captions.ViewOK, "(&K) OK");
  EXPECT_EQ(View().Captions.Label3, "Mail Addr");
  EXPECT_EQ(View().Captions.Label5, "Public-Key");
  EXPECT_EQ(View().Captions.Label8, "Note");
  EXPECT_EQ(View().Captions.AddSec, "Add(&A)");
  ASSERT_EQ(View().RadioSecsItems.size(), 18u);
  EXPECT_EQ(View().RadioSecsItems[0], "Mail Address");
  EXPECT_EQ(View().RadioSecsItems[9], "Company/Team");
  EXPECT_EQ(View().RadioSecsItems[17], "Others");
  EXPECT_EQ(View().RadioSecsIndex, 0);
  EXPECT_EQ(View().ActivePage, Page::StdTab);
}

TEST_F(ViewLogic, RedrawFillsTheStandardPage) {
  StartAndSelect("m@x");
  EXPECT_EQ(View().Addr, "m@x");
  EXPECT_EQ(View().Sign, "Taro");  // the FN line without parameters
  EXPECT_EQ(View().Key, "k1");
  EXPECT_EQ(View().URL, "http://u");
  EXPECT_EQ(View().Nic, "tx");
  EXPECT_EQ(View().Adr, "123-4567;Japan;Region;City;Street;;");  // the WORK line only, stored order
  EXPECT_EQ(View().Tel, "03");
  EXPECT_EQ(View().Fax, "04");  // not the WORK;FAX line
  EXPECT_EQ(View().PHS, "");
  EXPECT_EQ(View().Rem, "line1\r\nline2");
  EXPECT_FALSE(View().EdPanelVisible);
}

TEST_F(ViewLogic, ParameterisedLinesAreNotShown) {
  Bab("Home/G1/g1.bab", Vcard("p@x", "", {"FN;CHARSET=SHIFT_JIS:Kanji", "TEL;WORK;FAX:06", "ADR;HOME:a;b;c;d;e;f;g"}));
  StartAndSelect("p@x");
  EXPECT_EQ(View().Sign, "");
  EXPECT_EQ(View().Fax, "");
  EXPECT_EQ(View().Tel, "");
  EXPECT_EQ(View().Adr, "");
  // Typing a name adds a second FN line with empty parameters.
  View().Sign = "Name";
  View().StdTabExit();
  EXPECT_EQ(Params(Card().FN), (Strings{"CHARSET=SHIFT_JIS=Kanji", "=Name"}));
  EXPECT_TRUE(View().CardChanged);
}

TEST_F(ViewLogic, ChangingOneFieldRewritesAllSevenAtTheEndOfTheirLists) {
  StartAndSelect("m@x");
  View().Fax = "09";
  View().Key = "";  // an empty field removes its line
  View().StdTabExit();
  // FN: the empty-parameter line moved behind the CHARSET line.
  EXPECT_EQ(Params(Card().FN), (Strings{"CHARSET=SHIFT_JIS=\x91\xbe\x98\x59", "=Taro"}));
  EXPECT_TRUE(Card().Key.empty());
  EXPECT_EQ(Params(Card().URL), Strings{"=http://u"});
  EXPECT_EQ(Params(Card().Note), Strings{"=line1\r\nline2"});
  // TEL: WORK then FAX rewritten at the end; PHS empty adds nothing.
  EXPECT_EQ(Params(Card().Tel), (Strings{"HOME=05", "WORK;FAX=06", "WORK=03", "FAX=09"}));
  // ADR is shown only, never written.
  EXPECT_EQ(Card().Adr.size(), 2u);
  EXPECT_TRUE(View().CardChanged);
  // The grid's current row shows the page's texts.
  const int row = main->Tbl.Row;
  EXPECT_EQ(main->Tbl.Cell(row, 1), "m@x");
  EXPECT_EQ(main->Tbl.Cell(row, 2), "Taro");
  EXPECT_EQ(main->Tbl.Cell(row, 3), "line1\r\nline2");
  EXPECT_EQ(main->Tbl.Cell(row, 0), "2");
  // Nothing marked modified until the window is deactivated.
  EXPECT_FALSE(Group("G1").Modified);
}

TEST_F(ViewLogic, EmptiedFieldsRemoveTheirLines) {
  StartAndSelect("m@x");
  View().Sign = View().URL = View().Rem = View().Tel = View().Fax = "";
  View().StdTabExit();
  EXPECT_EQ(Params(Card().FN), Strings{"CHARSET=SHIFT_JIS=\x91\xbe\x98\x59"});
  EXPECT_TRUE(Card().URL.empty());
  EXPECT_TRUE(Card().Note.empty());
  EXPECT_EQ(Params(Card().Tel), (Strings{"HOME=05", "WORK;FAX=06"}));
  EXPECT_EQ(Params(Card().Key), Strings{"=k1"});
}

TEST_F(ViewLogic, UnchangedPageChangesNothing) {
  StartAndSelect("m@x");
  const store::TAddrRec before = Card();
  const auto rev = main->Tbl.Revision();
  View().StdTabExit();
  EXPECT_EQ(Card(), before);
  EXPECT_FALSE(View().CardChanged);
  EXPECT_EQ(main->Tbl.Revision(), rev);
}

TEST_F(ViewLogic, NickNameTakeOver) {
  StartAndSelect("m@x");
  const auto tel = Card().Tel;
  View().Nic = "new";
  View().StdTabExit();
  EXPECT_EQ(Card().NickName, "new");
  EXPECT_EQ(Card().Tel, tel);  // the seven fields did not differ
  EXPECT_EQ(main->Tbl.Cell(main->Tbl.Row, 4), "new");
  EXPECT_TRUE(View().CardChanged);
}

TEST_F(ViewLogic, EmptyAddressIsRefused) {
  StartAndSelect("m@x");
  const auto order = Book().Cards();
  const auto rev = main->Tbl.Revision();
  View().Addr = "";
  View().StdTabExit();
  EXPECT_EQ(View().Addr, "m@x");
  EXPECT_EQ(Card().PrefEmail, "m@x");
  EXPECT_FALSE(View().CardChanged);
  EXPECT_EQ(Book().Cards(), order);
  EXPECT_EQ(main->Tbl.Revision(), rev);
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(ViewLogic, AddressChangeResortsTheBook) {
  StartAndSelect("m@x");
  store::TAddrRec* card = View().CurCard;
  View().Addr = "a@x";
  View().StdTabExit();
  EXPECT_EQ(card->PrefEmail, "a@x");
  EXPECT_EQ(Book().At(0), card);
  EXPECT_EQ(Column(1), (Strings{"a@x", "k@x", "z@x"}));
  EXPECT_EQ(main->Tbl.Row, 1);
  EXPECT_EQ(View().CurCard, card);
  EXPECT_TRUE(View().CardChanged);
  // The case of the key is ignored: "Zz@x" sorts as "zz@x", after z@x.
  View().Addr = "Zz@x";
  View().StdTabExit();
  EXPECT_EQ(Column(1), (Strings{"k@x", "z@x", "Zz@x"}));
  EXPECT_EQ(main->Tbl.Row, 3);
}

TEST_F(ViewLogic, AddressChangeInTheSingleGroupViewKeepsTheCardCurrent) {
  Ini("[Group]\r\nHomeG1=0\r\n");
  Start();
  EXPECT_EQ(Column(1), (Strings{"z@x", "m@x"}));
  SelectRow("m@x");
  store::TAddrRec* card = View().CurCard;
  View().Addr = "a@x";
  View().StdTabExit();
  EXPECT_EQ(Column(1), (Strings{"z@x", "a@x"}));  // the group's order stays
  EXPECT_EQ(main->Tbl.Row, 2);
  EXPECT_EQ(View().CurCard, card);
  EXPECT_EQ(Book().At(0), card);
}

TEST_F(ViewLogic, TakeOverOnlyOnTheStandardPageAndWithACard) {
  StartAndSelect("m@x");
  View().PagePanelChanging();  // nothing changed yet
  View().PagePanelChange(Page::ExtTab);
  EXPECT_EQ(View().ActivePage, Page::ExtTab);
  View().Sign = "Other";
  View().StdTabExit();
  EXPECT_EQ(GetValue(Card().FN, ""), "Taro");
  SelectRow("k@x");  // the extended page does not fill the fields
  EXPECT_EQ(View().Sign, "Other");
  View().PagePanelChange(Page::StdTab);
  EXPECT_EQ(View().Sign, "Ken");
  View().CurCard = nullptr;
  View().Sign = "x";
  View().StdTabExit();
  View().ViewRedraw();
  EXPECT_EQ(View().Sign, "x");
}

TEST_F(ViewLogic, PageChangeTakesThePageOver) {
  StartAndSelect("m@x");
  View().Tel = "0000";
  View().PagePanelChanging();
  EXPECT_EQ(GetValue(Card().Tel, "WORK"), "0000");
}

TEST_F(ViewLogic, MembershipMarksFollowTheCard) {
  StartAndSelect("m@x");
  // Rows: Home (folder), G1, G2.
  EXPECT_EQ(Images(), (std::vector<int>{2, 1, 1}));
  SelectRow("k@x");
  EXPECT_EQ(Images(), (std::vector<int>{2, 1, 0}));
  // A top-level folder holding the card shows it as a member.
  View().CurCard = Book().At(2);  // t@x, only in Home
  ASSERT_EQ(View().CurCard->PrefEmail, "t@x");
  View().ViewRedraw();
  EXPECT_EQ(Images(), (std::vector<int>{1, 0, 0}));
}

TEST_F(ViewLogic, ClickingARowTogglesMembership) {
  StartAndSelect("m@x");
  store::TAddrRec* card = View().CurCard;
  View().EntryGroupIndex = RowIndex("G2");
  View().EntryGroupDblClick();
  EXPECT_EQ(Images(), (std::vector<int>{2, 1, 0}));
  EXPECT_FALSE(Group("G2").Contains(card));
  EXPECT_TRUE(Group("G1").Contains(card));
  EXPECT_TRUE(Book().Contains(card));
  EXPECT_TRUE(Group("G2").Modified);
  EXPECT_FALSE(Group("G1").Modified);
  EXPECT_TRUE(View().EntryGroupKeyPress('\r'));  // Enter toggles back
  EXPECT_EQ(Images(), (std::vector<int>{2, 1, 1}));
  ASSERT_EQ(Group("G2").Count(), 2u);
  EXPECT_EQ(Group("G2").At(1), card);  // appended at the end
  EXPECT_FALSE(View().CardChanged);
}

TEST_F(ViewLogic, RemovingAndAddingAgainPutsTheCardLast) {
  StartAndSelect("k@x");
  store::TAddrRec* card = View().CurCard;
  View().EntryGroupIndex = RowIndex("G1");  // k@x is first in G1
  View().EntryGroupDblClick();
  View().EntryGroupDblClick();
  ASSERT_EQ(Group("G1").Count(), 2u);
  EXPECT_EQ(Group("G1").At(0)->PrefEmail, "m@x");
  EXPECT_EQ(Group("G1").At(1), card);
}

TEST_F(ViewLogic, MembershipCannotChangeOnAFolderRowNorWithoutCardOrRow) {
  StartAndSelect("m@x");
  View().EntryGroupIndex = RowIndex("Home");
  View().EntryGroupDblClick();
  EXPECT_FALSE(Group("Home").Modified);
  EXPECT_EQ(Group("Home").Count(), 1u);
  View().EntryGroupIndex = -1;
  View().EntryGroupDblClick();
  View().EntryGroupIndex = RowIndex("G2");
  EXPECT_TRUE(View().EntryGroupKeyPress('a'));  // letters do nothing, swallowed
  EXPECT_FALSE(Group("G2").Modified);
  View().CurCard = nullptr;
  View().EntryGroupDblClick();
  EXPECT_FALSE(Group("G2").Modified);
}

TEST_F(ViewLogic, DeactivationMarksTheGroupsOfTheChangedCardAndRedraws) {
  StartAndSelect("m@x");
  View().FormActivate();
  View().Sign = "Taro Yamada";
  const auto rev = main->Tbl.Revision();
  View().FormLostFocus();
  EXPECT_TRUE(Group("G1").Modified);
  EXPECT_TRUE(Group("G2").Modified);
  EXPECT_FALSE(Group("Home").Modified);
  EXPECT_GT(main->Tbl.Revision(), rev);
  EXPECT_EQ(main->Tbl.Cell(main->Tbl.Row, 2), "Taro Yamada");
  // Reactivation clears the flag; an unchanged deactivation marks nothing.
  View().FormActivate();
  EXPECT_FALSE(View().CardChanged);
  Group("G1").Modified = Group("G2").Modified = false;
  View().FormLostFocus();
  EXPECT_FALSE(Group("G1").Modified);
  EXPECT_FALSE(Group("G2").Modified);
}

TEST_F(ViewLogic, ACardOfATopLevelFolderOnlyDoesNotMarkTheFolder) {
  Start();
  View().CurCard = Book().At(2);  // t@x
  View().ViewRedraw();
  View().FormActivate();
  View().Sign = "Changed";
  View().FormLostFocus();
  // Top-level folders are never saved: the card is read-only, nothing taken.
  EXPECT_EQ(GetValue(Book().At(2)->FN, ""), "Top");
  EXPECT_FALSE(Group("Home").Modified);
}

TEST_F(ViewLogic, FillEntryGroupDrawsTheTree) {
  Bab("Home/G1/Sub/s.bab", Vcard("s@x", "S"));
  Start();
  ASSERT_EQ(View().EntryGroup.size(), 4u);  // Home, G1, Sub, G2
  // d = 2 * greatest level (2) = 4.
  EXPECT_EQ(View().EntryGroup[0].Caption, "+-");
  EXPECT_EQ(View().EntryGroup[1].Caption, "|-+-");
  EXPECT_EQ(View().EntryGroup[2].Caption, "| *-");
  EXPECT_EQ(View().EntryGroup[3].Caption, "*---");
  for (int i = 0; i < 4; ++i) {
    const auto* n = Book().Nodes.Node(i);
    EXPECT_EQ(View().EntryGroup[i].Caption, store::GroupTreeText(*n->Group, 4, false));
    EXPECT_EQ(View().EntryGroup[i].Text, n->Caption);
  }
  EXPECT_EQ(View().EntryGroup[1].Text, "G1");
}

TEST_F(ViewLogic, LayoutOnlyWhileEnabled) {
  Start();
  View().Width = 400;
  View().PagePanelLeft = 120;
  View().Panel3Width = 70;
  View().Panel2Width = 250;
  View().AddSecWidth = 60;
  View().ViewOKWidth = 50;
  View().PagePanelResize();
  EXPECT_EQ(View().FieldWidth, 400 - 120 - 70 - 14);
  EXPECT_EQ(View().AddSecLeft, 250 - 60 - 1);
  EXPECT_EQ(View().ViewOKLeft, 400 - 50 - 10);
  View().Enabled = false;
  View().Width = 500;
  View().PagePanelResize();
  EXPECT_EQ(View().FieldWidth, 196);
}

TEST_F(ViewLogic, KeysAndOk) {
  Start();
  EXPECT_TRUE(View().DataEntKey('\r'));
  EXPECT_EQ(View().FocusRequest, ViewFocus::StdTab);
  View().FocusRequest = ViewFocus::None;
  EXPECT_FALSE(View().DataEntKey('a'));
  EXPECT_EQ(View().FocusRequest, ViewFocus::None);
  View().ViewOKClick();
  EXPECT_EQ(View().FocusRequest, ViewFocus::MainGrid);
}

// Fault mended (delete with the editor open): the editor's pending edits of a card that
// is deleted in the book view must not reach the freed card.
TEST_F(ViewLogic, DeletedCardIsNotWrittenByTheEditor) {
  StartAndSelect("m@x");
  View().Sign = "pending edit";
  main->DelAddressClick();  // Yes (the first button)
  ASSERT_NE(View().CurCard, nullptr);
  EXPECT_EQ(View().CurCard->PrefEmail, "z@x");  // moved up into position 1
  EXPECT_EQ(View().Sign, "Zoe");
  View().FormLostFocus();
  EXPECT_EQ(GetValue(View().CurCard->FN, ""), "Zoe");
  for (auto* c : Book().Cards()) EXPECT_NE(GetValue(c->FN, ""), "pending edit");
}
