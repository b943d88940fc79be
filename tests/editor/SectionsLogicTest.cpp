// Tests of the card editor's extended page (sections) and of read-only
// cards, driven through the main window's logic on a book in a temporary
// folder.
#include "mainwin/LogicFixture.h"

using namespace logictest;
using editor::Page;
using store::GetValue;
using Strings = std::vector<std::string>;

namespace {

enum Sec { kEmail = 0, kFN = 1, kN = 2, kNote = 3, kAdr = 6, kTZ = 7, kTel = 8, kOrg = 9, kTitle = 10, kOthers = 17 };

// Top-level folder Home (its own file holds t@x, which stands in no group)
// with the group G1 holding k@x and the rich card m@x.
class Sections : public LogicFixture {
 protected:
  void SetUp() override {
    Bab("Home/top.bab", Vcard("t@x", "Top", {"TZ:+00:00"}));
    Bab("Home/G1/g1.bab",
        Vcard("k@x", "Ken") +
            Vcard("m@x", "Taro",
                  {"EMAIL;HOME:h@x", "EMAIL:o@x", "N:Yamada;Taro;Q;Mr;Jr", "NOTE:note1", "TEL;WORK:03",
                   "ADR;WORK:PB;Ext;Street;City;Region;123-4567;Japan", "TZ:+09:00", "ORG:Acme;Sales",
                   "X-FOO;A=b:foo", "TZ;X-A:+01:00", "TITLE:Boss"}));
  }
  // Starts, shows m@x (or the given card) and turns to the extended page.
  void Open(const std::string& addr = "m@x") {
    Start();
    for (int r = 1; r < main->Tbl.RowCount(); ++r)
      if (main->Tbl.Cell(r, 1) == addr) main->TblSelectCell(r);
    ASSERT_TRUE(View().CurCard);
    ASSERT_EQ(View().CurCard->PrefEmail, addr);
    View().FormActivate();
    View().PagePanelChanging();
    View().PagePanelChange(Page::ExtTab);
  }
  void Choose(int section) {
    View().RadioSecsIndex = section;
    View().RadioSecsClick();
  }
  void ClickRow(int row) {
    View().SecViewIndex = row;
    View().SecViewClick();
  }
  Strings Captions() {
    Strings v;
    for (const auto& r : View().SecViewRows) v.push_back(r.at(0));
    return v;
  }
  Strings Row(int i) { return View().SecViewRows.at(static_cast<std::size_t>(i)); }
  store::TAddrRec& Card() { return *View().CurCard; }
  Strings OtherLines() {
    Strings v;
    for (const auto& e : Card().Other) v.push_back(e.Name + ";" + e.Params + ":" + e.Values.Join(";"));
    return v;
  }
};

}  // namespace

TEST_F(Sections, EverySectionHasItsKeyAndColumns) {
  Open();
  struct Want {
    int index;
    const char* key;
    Strings columns;
  };
  const Want wants[] = {
      {0, "EMAIL", {"Spec", "Data"}},
      {2, "N", {"Spec", "Family", "Last Name", "Mid Name"}},
      {6, "ADR", {"Spec", "ZIP", "Country", "Prefecture", "City", "Number", "Office", "Ext"}},
      {9, "ORG", {"Spec", "Company/Team", "Post"}},
      {12, "BDAY", {"Spec", "Data"}},
      {16, "PHOTO", {"Spec", "Data"}},
      {17, "OTHERS", {"Sec Name", "Spec", "Data"}},
  };
  for (const Want& w : wants) {
    Choose(w.index);
    EXPECT_EQ(View().SecName, w.key);
    EXPECT_EQ(View().SecViewColumns, w.columns) << w.key;
    EXPECT_EQ(View().RadioSecsItems.at(static_cast<std::size_t>(w.index)).empty(), false);
  }
  // The extended keys are exactly the extended properties.
  for (int i = 0; i < 18; ++i) {
    Choose(i);
    const bool ext = i == 7 || (i >= 9 && i <= 11) || (i >= 13 && i <= 16);
    EXPECT_EQ(store::IsExtProp(View().SecName), ext) << View().SecName;
  }
}

TEST_F(Sections, RowsShowTheLinesOfEachSection) {
  Open();
  Choose(kEmail);  // the preferred address belongs to the standard page only
  EXPECT_EQ(Captions(), (Strings{"HOME", ""}));
  EXPECT_EQ(Row(0), (Strings{"HOME", "h@x"}));
  Choose(kAdr);
  EXPECT_EQ(Row(0), (Strings{"WORK", "123-4567", "Japan", "Region", "City", "Street", "Ext", "PB"}));
  Choose(kTZ);
  EXPECT_EQ(View().SecViewRows, (std::vector<Strings>{{"", "+09:00"}, {"X-A", "+01:00"}}));
  Choose(kOrg);
  EXPECT_EQ(Row(0), (Strings{"", "Acme;Sales"}));
  Choose(kOthers);
  EXPECT_EQ(View().SecViewRows, (std::vector<Strings>{{"X-FOO", "A=B", "foo"}}));
  // The chosen section stays when another card is shown.
  main->TblSelectCell(1);
  EXPECT_EQ(View().CurCard->PrefEmail, "k@x");
  EXPECT_EQ(View().SecName, "OTHERS");
  EXPECT_TRUE(View().SecViewRows.empty());
}

TEST_F(Sections, NewAdrAndTelLinesProposeWork) {
  Open();
  for (int s : {kEmail, kFN, kN, kAdr, kTZ, kTel, kOrg, kOthers}) {
    Choose(s);
    View().AddSecClick();
    EXPECT_TRUE(View().EdPanelVisible);
    EXPECT_TRUE(View().AddSecOKVisible);
    EXPECT_FALSE(View().DelSecVisible);
    EXPECT_EQ(View().Ed01, (s == kAdr || s == kTel) ? "WORK" : "") << View().SecName;
    EXPECT_EQ(View().Lb00, View().SecName);
    EXPECT_EQ(View().FocusRequest, editor::ViewFocus::EdPanel);
    View().FocusRequest = editor::ViewFocus::None;
  }
}

TEST_F(Sections, PanelLabelsAndEditsFollowTheSection) {
  Open();
  Choose(kAdr);
  ClickRow(0);
  EXPECT_EQ(View().Lb01, "Spec");
  EXPECT_EQ(View().Lb[0], "ZIP");
  EXPECT_EQ(View().Lb[6], "Ext");
  EXPECT_EQ(View().Ed[6], "PB");
  EXPECT_TRUE(View().EdShown[6]);
  Choose(kOrg);
  ClickRow(0);
  EXPECT_EQ(View().Lb[0], "Company");
  EXPECT_EQ(View().Lb[1], "Post");
  EXPECT_TRUE(View().EdShown[1]);
  EXPECT_FALSE(View().EdShown[2]);
  Choose(kOthers);
  ClickRow(0);
  EXPECT_EQ(View().Lb01, "Sec Name");
  EXPECT_EQ((Strings{View().Ed01, View().Ed[0], View().Ed[1]}), (Strings{"X-FOO", "A=B", "foo"}));
  Choose(kTel);
  ClickRow(0);
  EXPECT_EQ(View().Lb[0], "Data");
  EXPECT_EQ(View().Lb[1], "");
  EXPECT_FALSE(View().EdShown[1]);
  EXPECT_TRUE(View().DelSecVisible);
  EXPECT_FALSE(View().AddSecOKVisible);
  ClickRow(-1);  // no row: the panel closes
  EXPECT_FALSE(View().EdPanelVisible);
}

TEST_F(Sections, AddingFromACopyStoresItWhenOnlyOkIsPressed) {
  Open();
  Choose(kTel);
  View().SecViewIndex = 0;
  View().AddSecClick();
  EXPECT_EQ(View().Ed01, "WORK");
  EXPECT_EQ(View().Ed[0], "03");
  View().AddSecOKClick();
  EXPECT_FALSE(View().EdPanelVisible);
  ASSERT_EQ(Card().Tel.size(), 2u);
  EXPECT_EQ(Card().Tel[1].Params, "WORK");
  EXPECT_EQ(Card().Tel[1].Values.Join(";"), "03");
  EXPECT_TRUE(View().CardChanged);
  EXPECT_EQ(Captions(), (Strings{"WORK", "WORK"}));
  EXPECT_EQ(View().SecViewIndex, -1);
}

TEST_F(Sections, ANewLineWithNothingInItOrLeftByFocusIsDropped) {
  Open();
  Choose(kFN);
  View().AddSecClick();
  View().AddSecOKClick();  // identifier and data empty
  EXPECT_EQ(Card().FN.size(), 1u);
  EXPECT_FALSE(View().CardChanged);
  View().AddSecClick();
  View().Ed[0] = "Dropped";
  View().EdPanelExit();  // leaving the panel while adding
  EXPECT_EQ(Card().FN.size(), 1u);
  EXPECT_FALSE(View().EdPanelVisible);
  EXPECT_FALSE(View().CardChanged);
}

TEST_F(Sections, ANLineWithFivePartsKeepsTheTwoItDoesNotShow) {
  Open();
  Choose(kN);
  EXPECT_EQ(Row(0), (Strings{"", "Yamada", "Taro", "Q", "Mr", "Jr"}));
  ClickRow(0);
  EXPECT_EQ((Strings{View().Ed[0], View().Ed[1], View().Ed[2]}), (Strings{"Yamada", "Taro", "Q"}));
  EXPECT_FALSE(View().EdShown[3]);
  View().Ed[1] = "Jiro";
  View().EdPanelExit();
  ASSERT_EQ(Card().N.size(), 1u);
  EXPECT_EQ(Card().N[0].Values.ToVector(), (Strings{"Yamada", "Jiro", "Q", "Mr", "Jr"}));
  EXPECT_TRUE(View().CardChanged);
  EXPECT_FALSE(View().EdPanelVisible);
}

TEST_F(Sections, ChangingThePageTakesTheOpenPanelOver) {
  Open();
  Choose(kTel);
  ClickRow(0);
  View().Ed[0] = "03-0000";
  View().PagePanelChanging();
  View().PagePanelChange(Page::StdTab);
  EXPECT_EQ(GetValue(Card().Tel, "WORK"), "03-0000");
  EXPECT_EQ(View().Tel, "03-0000");
  EXPECT_FALSE(View().EdPanelVisible);
}

TEST_F(Sections, AnUnchangedLineIsNotStored) {
  Open();
  Choose(kTZ);
  ClickRow(1);
  View().EdPanelExit();
  EXPECT_FALSE(View().CardChanged);
  EXPECT_EQ(OtherLines().at(3), "TZ;X-A:+01:00");
}

TEST_F(Sections, UpperCasingNeverTouchesADoubleByteCharacter) {
  Open();
  // ヂ is 0x83 0x61: its trail byte is 'a'.
  Choose(kTel);
  View().AddSecClick();
  View().Ed01 = "home;x-" + kDi + "b";
  View().Ed[0] = "05";
  View().AddSecOKClick();
  EXPECT_EQ(Card().Tel.back().Params, "HOME;X-" + kDi + "B");
  Choose(kTZ);
  ClickRow(0);
  View().Ed01 = "x-" + kDi;
  View().EdPanelExit();
  EXPECT_EQ(OtherLines().at(0), "TZ;X-" + kDi + ":+09:00");
  Choose(kOthers);
  View().AddSecClick();
  View().Ed01 = "x-" + kDi + "z";
  View().Ed[0] = "charset=" + kDi;
  View().Ed[1] = "value " + kDi;  // the value keeps its case
  View().AddSecOKClick();
  EXPECT_EQ(OtherLines().back(), "X-" + kDi + "Z;CHARSET=" + kDi + ":value " + kDi);
}

TEST_F(Sections, AnOthersLineRenamedToOrgMovesToTheOrgSection) {
  Open();
  Choose(kOthers);
  ClickRow(0);
  View().Ed01 = "org";
  View().EdPanelExit();
  EXPECT_TRUE(View().SecViewRows.empty());
  Choose(kOrg);
  EXPECT_EQ(View().SecViewRows, (std::vector<Strings>{{"", "Acme;Sales"}, {"A=B", "foo"}}));
}

TEST_F(Sections, AnOthersLineNeedsAName) {
  Open();
  Choose(kOthers);
  View().AddSecClick();
  View().Ed[1] = "data";
  View().AddSecOKClick();
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_TRUE(View().EdPanelVisible);  // left open to mend it
  EXPECT_EQ(Card().Other.size(), 5u);
  View().Ed01 = "x-a:b";
  View().AddSecOKClick();
  EXPECT_EQ(dlg.boxes.size(), 2u);
  View().Ed01 = "x-bar";
  View().AddSecOKClick();
  EXPECT_FALSE(View().EdPanelVisible);
  EXPECT_EQ(OtherLines().back(), "X-BAR;:data");
}

TEST_F(Sections, DeletingTheSecondTzLineCountsOnlyTzLines) {
  Open();
  Choose(kTZ);
  ClickRow(1);
  dlg.answers = {dlg::Button::No};
  View().DelSecClick();
  EXPECT_EQ(Card().Other.size(), 5u);
  EXPECT_TRUE(View().EdPanelVisible);  // No leaves the panel as it is
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_EQ(dlg.boxes[0].text, "Delete this section. Okay?");
  EXPECT_EQ(dlg.boxes[0].type, dlg::BoxType::Warning);
  EXPECT_EQ(dlg.boxes[0].buttons, (dlg::Buttons{dlg::Button::Ok, dlg::Button::No}));
  dlg.answers = {dlg::Button::Ok};
  View().DelSecClick();
  EXPECT_EQ(OtherLines(), (Strings{"TZ;:+09:00", "ORG;:Acme;Sales", "X-FOO;A=B:foo", "TITLE;:Boss"}));
  EXPECT_EQ(Captions(), (Strings{""}));
  EXPECT_FALSE(View().EdPanelVisible);
  EXPECT_TRUE(View().CardChanged);
}

TEST_F(Sections, NameAndNoteChangesReachTheGridAtOnce) {
  Open();
  const int row = main->Tbl.Row;
  Choose(kFN);
  ClickRow(0);
  View().Ed[0] = "Hanako";
  View().EdPanelExit();
  EXPECT_EQ(main->Tbl.Cell(row, 2), "Hanako");
  Choose(kNote);
  ClickRow(0);
  View().DelSecClick();
  EXPECT_TRUE(Card().Note.empty());
  EXPECT_EQ(main->Tbl.Cell(row, 3), "");
  // Deactivation marks the group and redraws on the same card.
  View().FormLostFocus();
  EXPECT_TRUE(Group("G1").Modified);
  EXPECT_EQ(main->Tbl.Cell(main->Tbl.Row, 1), "m@x");
}

TEST_F(Sections, AClosedPanelNeverStoresOldTexts) {
  Open();
  Choose(kFN);
  ClickRow(0);
  View().Ed[0] = "Typed";
  View().EdPanelCancel();  // Esc
  View().SecViewIndex = 0;  // row selected by keys, panel closed
  View().FormLostFocus();
  EXPECT_EQ(GetValue(Card().FN, ""), "Taro");
  EXPECT_FALSE(Group("G1").Modified);
  EXPECT_TRUE(View().EdPanelKeyPress('\r'));
  EXPECT_FALSE(View().EdPanelKeyPress('a'));
}

TEST_F(Sections, ARowThatNoLongerMatchesStoresAndDeletesNothing) {
  Open();
  Choose(kTZ);
  ClickRow(1);
  Card().Other.erase(Card().Other.begin() + 3);  // the second TZ line went away
  View().Ed[0] = "+02:00";
  View().EdPanelExit();
  EXPECT_FALSE(View().CardChanged);
  ClickRow(1);
  View().DelSecClick();
  EXPECT_EQ(Card().Other.size(), 4u);
  EXPECT_FALSE(View().CardChanged);
}

TEST_F(Sections, ACardInNoGroupBelowTheTopLevelIsReadOnly) {
  Open("m@x");
  EXPECT_FALSE(View().ReadOnly);
  EXPECT_TRUE(View().ReadOnlyReason.empty());
  // t@x stands only in the top-level folder Home.
  CheckOnly({});
  View().CurCard = Book().At(2);
  ASSERT_EQ(Card().PrefEmail, "t@x");
  View().ViewRedraw();
  EXPECT_TRUE(View().ReadOnly);
  EXPECT_FALSE(View().ReadOnlyReason.empty());
  EXPECT_EQ(View().ReadOnlyReason.find('\r'), std::string::npos);  // one line
  // No section edit, addition or deletion is taken.
  Choose(kTZ);
  ClickRow(0);
  View().Ed[0] = "+05:00";
  View().EdPanelExit();
  View().AddSecClick();
  EXPECT_FALSE(View().EdPanelVisible);
  ClickRow(0);
  View().DelSecClick();
  EXPECT_TRUE(dlg.boxes.empty());
  EXPECT_EQ(OtherLines(), (Strings{"TZ;:+00:00"}));
  // Nor the standard page: the fields show the card again.
  View().PagePanelChange(Page::StdTab);
  View().Sign = "Changed";
  View().Addr = "new@x";
  View().FormLostFocus();
  EXPECT_EQ(GetValue(Card().FN, ""), "Top");
  EXPECT_EQ(Card().PrefEmail, "t@x");
  EXPECT_EQ(View().Sign, "Top");
  EXPECT_FALSE(View().CardChanged);
  // Putting it into a group makes it editable.
  View().EntryGroupIndex = 1;  // G1
  View().EntryGroupDblClick();
  EXPECT_FALSE(View().ReadOnly);
  View().Sign = "Kept";
  View().FormLostFocus();
  EXPECT_EQ(GetValue(Card().FN, ""), "Kept");
  EXPECT_TRUE(Group("G1").Modified);
}
