// The search dialog's logic and its matching: tags, case and character
// rules, the three areas with Add/New, settings and the main window's Find.
#include <functional>

#include "mainwin/LogicFixture.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "search/SearchLogic.h"

using namespace logictest;
using search::Area;
using search::CardMatcher;
using search::SearchRule;
using search::TSearchDlg;
using Strings = std::vector<std::string>;

namespace {

// "ヂ" 0x83 0x61 and "ア" 0x83 0x41 come from LogicFixture.h; "表" 0x95 0x5C
// has a backslash as trail byte.
const std::string kHyou = "\x95\x5c";

SearchRule Rule(const std::string& text, std::initializer_list<int> tags, bool include = true,
                bool ignoreCase = true) {
  SearchRule r;
  r.Text = text;
  r.Tags.fill(false);
  for (int t : tags) r.Tags[static_cast<std::size_t>(t)] = true;
  r.Include = include;
  r.IgnoreCase = ignoreCase;
  return r;
}

store::TCardRec Entry(std::initializer_list<std::string_view> values, std::string params = "") {
  store::TCardRec e;
  e.Params = std::move(params);
  e.Values = store::TValues(values);
  return e;
}

store::TOtherRec OtherEntry(std::string name, std::string_view value) {
  store::TOtherRec e;
  e.Name = std::move(name);
  e.Values = store::TValues{value};
  return e;
}

// One card with a text of its own in every searched field.
store::TAddrRec FullCard() {
  store::TAddrRec c;
  c.PrefEmail = "pref@mail";
  c.Email.push_back(Entry({"second@mail"}));
  c.FN.push_back(Entry({"fnone"}));
  c.FN.push_back(Entry({"fntwo"}, "X-ALT"));
  c.N.push_back(Entry({"Family", "Given"}));
  c.Note.push_back(Entry({"note text"}));
  c.NickName = "nicky";
  c.URL.push_back(Entry({"http://urlvalue"}));
  c.Key.push_back(Entry({"keyvalue"}));
  // Display order: postal, country, region, locality, street, extended, PO box.
  c.Adr.push_back(Entry({"150-0001", "Japan", "Tokyo", "Shibuya", "Street 1", "Ext", "Box9"}));
  c.Tel.push_back(Entry({"03-5555-1234"}, "WORK"));
  c.BDay.push_back(Entry({"1970-01-02"}));
  c.Other.push_back(OtherEntry("ORG", "OrgValue"));
  c.Other.push_back(OtherEntry("TITLE", "TitleValue"));
  return c;
}

}  // namespace

// ---- the character-boundary find ----------------------------------------------

TEST(SjisFindChars, HitsStartAndEndOnCharacterBoundaries) {
  struct Case {
    std::string hay, needle;
    bool ignoreCase;
    std::size_t want;
  };
  const std::size_t npos = std::string_view::npos;
  const Case cases[] = {
      {"abc", "BC", true, 1},
      {"abc", "BC", false, npos},
      {"abc", "bc", false, 1},
      {"x" + kA, "A", true, npos},         // the trail byte of ア is 'A'
      {"x" + kA, "A", false, npos},
      {"x" + kDi, "A", true, npos},        // nor is ヂ's 'a' a letter
      {kDi, kA, true, npos},               // upper-casing never makes ヂ into ア
      {kDi, kA, false, npos},
      {"a" + kA + "A", "A", true, 0},      // the letters around it still count
      {kA + "a", "A", true, 2},
      {kA + kA, kA, true, 0},
      {"\x83" + kA, kA, false, npos},      // inside a run of lead bytes: no boundary at 1
      {kHyou + "\\", "\\", false, 2},      // a trail-byte backslash is no backslash
      {kA, "\x83", false, npos},           // half a character is never a hit
      {"ab" + kA, "b\x83", false, npos},
      {"", "", true, 0},
      {"abc", "abcd", true, npos},
  };
  for (const Case& c : cases)
    EXPECT_EQ(sjis::FindChars(c.hay, c.needle, c.ignoreCase), c.want)
        << "hay " << testing::PrintToString(c.hay) << " needle " << testing::PrintToString(c.needle);
}

// ---- matching -----------------------------------------------------------------

TEST(SearchMatch, EachTagSearchesItsOwnFields) {
  const store::TAddrRec card = FullCard();
  struct Case {
    int tag;
    std::string text;
  };
  // Each text is found by its tag and by no other.
  const Case cases[] = {
      {search::kTagAddr, "PREF@"},         {search::kTagAddr, "second@"},
      {search::kTagName, "fnone"},         {search::kTagName, "FNTWO"},
      {search::kTagNic, "nicky"},          {search::kTagRem, "note text"},
      {search::kTagUrl, "urlvalue"},       {search::kTagKey, "keyvalue"},
      {search::kTagZip, "150-0001"},       {search::kTagAdr, "TokyoShibuya"},
      {search::kTagAdr, "Box9"},           {search::kTagTel, "5555"},
      {search::kTagOrg, "OrgValue"},       {search::kTagBday, "1970-01"},
      {search::kTagOther, "FamilyGiven"},  {search::kTagOther, "TitleValue"},
  };
  for (const Case& c : cases) {
    for (int t = 0; t < search::kTagCount; ++t) {
      const CardMatcher m(Rule(c.text, {t}));
      EXPECT_EQ(m.Matches(card), t == c.tag) << c.text << " under " << search::kTagKeys[t];
    }
  }
  // The joins have no separator, and the postal code is not part of the
  // address text.
  EXPECT_FALSE(CardMatcher(Rule("Tokyo Shibuya", {search::kTagAdr})).Matches(card));
  EXPECT_FALSE(CardMatcher(Rule("150-0001Japan", {search::kTagAdr})).Matches(card));
  EXPECT_FALSE(CardMatcher(Rule("Family;Given", {search::kTagOther})).Matches(card));
}

TEST(SearchMatch, PublicKeyItemSearchesUrlAndUrlItemSearchesKey) {
  EXPECT_EQ(std::string(search::kTagItems[4]), "Public-Key");
  EXPECT_EQ(std::string(search::kTagKeys[4]), "URL");
  EXPECT_EQ(std::string(search::kTagItems[5]), "URL");
  EXPECT_EQ(std::string(search::kTagKeys[5]), "Key");
  EXPECT_EQ(search::TagByKey("url"), search::kTagUrl);
  EXPECT_EQ(search::TagByKey("KEY"), search::kTagKey);
  EXPECT_EQ(search::TagByKey("Bday"), search::kTagBday);
  EXPECT_EQ(search::TagByKey("Mail"), -1);
}

TEST(SearchMatch, EmptyTextFindsNothingAndWithOutThenMatchesEverything) {
  const store::TAddrRec card = FullCard();
  EXPECT_FALSE(CardMatcher(Rule("", {search::kTagAddr, search::kTagName})).Matches(card));
  EXPECT_TRUE(CardMatcher(Rule("", {search::kTagAddr, search::kTagName}, false)).Matches(card));
  // No tag checked: nothing is found, so WithOut matches.
  EXPECT_FALSE(CardMatcher(Rule("pref", {})).Matches(card));
  EXPECT_TRUE(CardMatcher(Rule("pref", {}, false)).Matches(card));
  EXPECT_FALSE(CardMatcher(Rule("pref", {search::kTagAddr}, false)).Matches(card));
}

TEST(SearchMatch, CaseRules) {
  store::TAddrRec lower, title, upper;
  lower.FN.push_back(Entry({"taro"}));
  title.FN.push_back(Entry({"Taro"}));
  upper.FN.push_back(Entry({"TARO"}));
  const CardMatcher noCase(Rule("TARO", {search::kTagName}));
  EXPECT_TRUE(noCase.Matches(lower));
  EXPECT_TRUE(noCase.Matches(title));
  EXPECT_TRUE(noCase.Matches(upper));
  // The text is upper-cased too.
  EXPECT_TRUE(CardMatcher(Rule("tArO", {search::kTagName})).Matches(upper));
  const CardMatcher exact(Rule("TARO", {search::kTagName}, true, false));
  EXPECT_FALSE(exact.Matches(lower));
  EXPECT_FALSE(exact.Matches(title));
  EXPECT_TRUE(exact.Matches(upper));
}

TEST(SearchMatch, KanaWhoseTrailBytesAreLettersAreNotLetters) {
  store::TAddrRec a, di, mixed;
  a.FN.push_back(Entry({kA + kA}));      // アア
  di.FN.push_back(Entry({"x" + kDi}));    // xヂ
  mixed.FN.push_back(Entry({kA + "a"}));  // アa
  auto hits = [&](const std::string& text, bool ignoreCase) {
    const CardMatcher m(Rule(text, {search::kTagName}, true, ignoreCase));
    return std::vector<bool>{m.Matches(a), m.Matches(di), m.Matches(mixed)};
  };
  EXPECT_EQ(hits("a", true), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(hits("A", false), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(hits("a", false), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(hits(kA, true), (std::vector<bool>{true, false, true}));  // ア does not find ヂ
  EXPECT_EQ(hits(kDi, true), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(hits(kA + "A", true), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(hits("\x83", true), (std::vector<bool>{false, false, false}));
}

// ---- the dialog on a book -------------------------------------------------------

namespace {

// Personal/Friends: taro@x (Taro), hanako@x (Hanako), jiro@x (ヂロー);
// Personal/Work: boss@x (Boss, note "taro's boss"), taro@x;
// Other/Club: club@x (Club Taro).
class SearchDialog : public LogicFixture {
 protected:
  void StartBook() {
    Bab("Personal/Friends/f.bab", Vcard("taro@x", "Taro") + Vcard("hanako@x", "Hanako") +
                                      Vcard("jiro@x", kDi + "\x83\x8d\x81\x5b"));
    Bab("Personal/Work/w.bab", Vcard("boss@x", "Boss", {"NOTE:taro's boss"}) + Vcard("taro@x", "Taro"));
    Bab("Other/Club/c.bab", Vcard("club@x", "Club Taro"));
    Start();
  }
  Strings Shown() { return Column(1); }
  Strings Marked() {
    Strings v;
    for (auto* c : Book().Cards())
      if (c->Mark == 1) v.push_back(c->PrefEmail);
    return v;
  }
  // A dialog with only the Name tag checked and the given text.
  std::unique_ptr<TSearchDlg> NameDialog(const std::string& text) {
    auto d = std::make_unique<TSearchDlg>(*main);
    for (auto& f : d->Filter) f.Checked = false;
    d->Filter[search::kTagName].Checked = true;
    d->FindText = text;
    return d;
  }
  static void SetArea(TSearchDlg& d, Area a) {
    d.Radio_and = a == Area::Previous;
    d.Radio_all = a == Area::All;
    d.Radio_grp = a == Area::Group;
    d.Show_Func();
  }
  static void SetNew(TSearchDlg& d, bool isNew) {
    d.Radio_new = isNew;
    d.Radio_add = !isNew;
  }
};

}  // namespace

TEST_F(SearchDialog, DefaultsWithoutSettings) {
  StartBook();
  main->LastSearchText = "prev";
  TSearchDlg d(*main);
  EXPECT_EQ(d.Captions.Caption, "Ostra Address Book Manager");
  EXPECT_EQ(d.Captions.Label1, "String(&S)");
  EXPECT_EQ(d.Captions.SearchBtn, "Search(&G)");
  EXPECT_EQ(d.Captions.CancelBtn, "Cancel(&C)");
  EXPECT_EQ(d.Captions.tags, "Tag Select(&T)");
  EXPECT_EQ(d.Captions.Area, "Search Area(&A)");
  EXPECT_EQ(d.Captions.Radio_and, "Search in previous");
  EXPECT_EQ(d.Captions.Radio_all, "in all data");
  EXPECT_EQ(d.Captions.Radio_grp, "in default group");
  EXPECT_EQ(d.Captions.Func, "Process");
  EXPECT_EQ(d.Captions.GroupBox2, "Character(&J)");
  EXPECT_EQ(d.Captions.Radio_Not_inc, "WithOut");
  EXPECT_EQ(d.Captions.NoCase, "&U\x81\x46Ignore Case");
  Strings items;
  Strings checked;
  for (const auto& f : d.Filter) {
    items.push_back(f.Text);
    if (f.Checked) checked.push_back(f.Text);
  }
  EXPECT_EQ(items, (Strings{"Mail Address", "Name", "Nic Name", "Note", "Public-Key", "URL", "ZIP", "Address",
                            "Tel,Fax", "Organization", "Birthday", "Others"}));
  EXPECT_EQ(checked, (Strings{"Mail Address", "Name", "Nic Name", "Note", "Address"}));
  EXPECT_TRUE(d.Radio_all);
  EXPECT_FALSE(d.Radio_and || d.Radio_grp);
  EXPECT_TRUE(d.Radio_new);
  EXPECT_FALSE(d.Radio_add);
  EXPECT_TRUE(d.Radio_inc);
  EXPECT_FALSE(d.Radio_Not_inc);
  EXPECT_TRUE(d.NoCase);
  EXPECT_TRUE(d.FuncVisible);
  EXPECT_EQ(d.FindText, "prev");
  EXPECT_EQ(d.Result, search::ModalResult::None);
}

TEST_F(SearchDialog, SettingsAreReadAsStoredAndOddValuesFallBack) {
  Ini("[Search]\r\nArea=7\r\nFunc=3\r\nChr_Inc=0\r\nNoCase=0\r\nAddr=0\r\nKey=1\r\nOther=1\r\n");
  StartBook();
  TSearchDlg d(*main);
  EXPECT_TRUE(d.Radio_and);  // any other area value: "Search in previous"
  EXPECT_FALSE(d.FuncVisible);
  EXPECT_TRUE(d.Radio_add);  // any other Func value: "Add"
  EXPECT_TRUE(d.Radio_Not_inc);
  EXPECT_FALSE(d.Radio_inc);
  EXPECT_FALSE(d.NoCase);
  EXPECT_FALSE(d.Filter[search::kTagAddr].Checked);
  EXPECT_TRUE(d.Filter[search::kTagName].Checked);  // missing: default
  EXPECT_TRUE(d.Filter[search::kTagKey].Checked);
  EXPECT_TRUE(d.Filter[search::kTagOther].Checked);
  EXPECT_FALSE(d.Filter[search::kTagUrl].Checked);
}

TEST_F(SearchDialog, SettingsRoundTripThroughASearch) {
  StartBook();
  {
    TSearchDlg d(*main);
    SetArea(d, Area::Group);
    SetNew(d, false);
    d.Radio_inc = false;
    d.Radio_Not_inc = true;
    d.NoCase = false;
    for (int i = 0; i < search::kTagCount; ++i) d.Filter[i].Checked = i % 3 == 0;
    d.FindText = kA + "text";
    d.Search();
    EXPECT_EQ(d.Result, search::ModalResult::Ok);
  }
  EXPECT_EQ(main->LastSearchText, kA + "text");
  plat::IniFile ini(IniPath());
  EXPECT_EQ(ini.ReadString("Search", "Area", ""), "2");
  EXPECT_EQ(ini.ReadString("Search", "Func", ""), "0");
  EXPECT_EQ(ini.ReadString("Search", "Chr_Inc", ""), "0");
  EXPECT_EQ(ini.ReadString("Search", "NoCase", ""), "0");
  EXPECT_EQ(ini.ReadString("Search", "Rem", ""), "1");
  EXPECT_EQ(ini.ReadString("Search", "Nic", ""), "0");
  TSearchDlg again(*main);
  EXPECT_TRUE(again.Radio_grp);
  EXPECT_TRUE(again.Radio_add);
  EXPECT_TRUE(again.Radio_Not_inc);
  EXPECT_FALSE(again.NoCase);
  for (int i = 0; i < search::kTagCount; ++i) EXPECT_EQ(again.Filter[i].Checked, i % 3 == 0) << i;
  EXPECT_EQ(again.FindText, kA + "text");
  // "in all data" and "New" are stored as 1, "Search in previous" as 0.
  SetArea(again, Area::Previous);
  SetNew(again, true);
  again.Search();
  plat::IniFile after(IniPath());
  EXPECT_EQ(after.ReadString("Search", "Area", ""), "0");
  EXPECT_EQ(after.ReadString("Search", "Func", ""), "1");
}

TEST_F(SearchDialog, InAllDataNewShowsExactlyTheHits) {
  StartBook();
  CheckOnly({"Club"});
  ASSERT_NE(Book().SingleGroup, nullptr);
  ASSERT_TRUE(main->UpDownPnlVisible);
  auto d = NameDialog("TARO");
  d->Search();
  EXPECT_EQ(Shown(), (Strings{"club@x", "taro@x"}));
  EXPECT_EQ(main->SubTot, "     2");
  // The book view after any search, even with one group checked.
  EXPECT_EQ(Book().SingleGroup, nullptr);
  EXPECT_FALSE(main->UpDownPnlVisible);
  EXPECT_FALSE(main->SaveOrderEnabled);
}

TEST_F(SearchDialog, InAllDataAddKeepsWhatWasShown) {
  StartBook();
  CheckOnly({"Club"});
  auto d = NameDialog("hanako");
  SetNew(*d, false);
  d->Search();
  EXPECT_EQ(Shown(), (Strings{"club@x", "hanako@x"}));
}

TEST_F(SearchDialog, SearchInPreviousNarrowsWhatWasShown) {
  StartBook();
  CheckOnly({"Friends"});  // taro, hanako, jiro
  auto d = NameDialog("o");
  SetArea(*d, Area::Previous);
  EXPECT_FALSE(d->FuncVisible);
  SetNew(*d, true);  // does not apply here
  d->Search();
  EXPECT_EQ(Shown(), (Strings{"hanako@x", "taro@x"}));  // not boss@x, club@x
  // WithOut narrows the other way.
  CheckOnly({"Friends"});
  auto w = NameDialog("o");
  SetArea(*w, Area::Previous);
  w->Radio_inc = false;
  w->Radio_Not_inc = true;
  w->Search();
  EXPECT_EQ(Shown(), (Strings{"jiro@x"}));
}

TEST_F(SearchDialog, InDefaultGroupNewAndAdd) {
  StartBook();
  CheckOnly({"Work"});  // boss, taro
  // Show club@x besides (a card outside the checked groups).
  for (auto* c : Book().Cards())
    if (c->PrefEmail == "club@x") c->Mark = 1;
  {
    auto d = NameDialog("taro");
    SetArea(*d, Area::Group);
    SetNew(*d, false);
    d->Search();
    // Add: what was shown stays (boss and club too); nothing new in Work.
    EXPECT_EQ(Shown(), (Strings{"boss@x", "club@x", "taro@x"}));
  }
  {
    auto d = NameDialog("taro");
    SetArea(*d, Area::Group);
    SetNew(*d, true);
    d->Search();
    // New: only the hits inside the checked groups.
    EXPECT_EQ(Shown(), (Strings{"taro@x"}));
  }
  {
    // Add over a narrow result tests the unshown cards of the checked group.
    auto d = NameDialog("boss");
    SetArea(*d, Area::Group);
    SetNew(*d, false);
    d->Search();
    EXPECT_EQ(Shown(), (Strings{"boss@x", "taro@x"}));
  }
}

TEST_F(SearchDialog, EmptyTextIncludeFindsNothingWithOutFindsEverything) {
  StartBook();
  auto d = NameDialog("");
  d->Search();
  EXPECT_EQ(main->Tbl.Cell(1, 1), "No Hit Address");
  EXPECT_EQ(main->SubTot, "     0");
  auto w = NameDialog("");
  w->Radio_inc = false;
  w->Radio_Not_inc = true;
  w->Search();
  EXPECT_EQ(Shown(), (Strings{"boss@x", "club@x", "hanako@x", "jiro@x", "taro@x"}));
}

TEST_F(SearchDialog, KanaCardIsNotFoundByItsTrailByteLetter) {
  StartBook();
  // ヂ's trail byte is 'a': "A" with Ignore Case must not find ヂロー.
  auto d = NameDialog("A");
  d->Search();
  EXPECT_EQ(Shown(), (Strings{"club@x", "hanako@x", "taro@x"}));
  auto k = NameDialog(kA);  // ア must not find ヂ either
  k->Search();
  EXPECT_EQ(main->Tbl.Cell(1, 1), "No Hit Address");
  auto di = NameDialog(kDi);
  di->Search();
  EXPECT_EQ(Shown(), (Strings{"jiro@x"}));
}

TEST_F(SearchDialog, NoteTagFindsTheNote) {
  StartBook();
  TSearchDlg d(*main);  // defaults: Addr, Name, Nic, Rem, Adr
  d.FindText = "'s boss";
  d.Search();
  EXPECT_EQ(Shown(), (Strings{"boss@x"}));
}

TEST_F(SearchDialog, CancelChangesNothing) {
  StartBook();
  CheckOnly({"Friends"});
  main->LastSearchText = "before";
  const Strings marked = Marked();
  const Strings shown = Shown();
  const auto revision = main->Tbl.Revision();
  store::TGrpList* single = Book().SingleGroup;
  {
    auto d = NameDialog("zzz");
    SetArea(*d, Area::All);
    d->CancelBtnClick();
    EXPECT_EQ(d->Result, search::ModalResult::Cancel);
  }
  EXPECT_EQ(Marked(), marked);
  EXPECT_EQ(Shown(), shown);
  EXPECT_EQ(main->Tbl.Revision(), revision);
  EXPECT_EQ(Book().SingleGroup, single);
  EXPECT_EQ(main->LastSearchText, "before");
  EXPECT_FALSE(testsupport::Exists(IniPath()));
}

TEST_F(SearchDialog, EnterInTheTextMovesToTheSearchButton) {
  StartBook();
  TSearchDlg d(*main);
  EXPECT_FALSE(d.FindTextKeyPress('a'));
  EXPECT_EQ(d.FocusRequest, search::SearchFocus::None);
  EXPECT_TRUE(d.FindTextKeyPress('\r'));
  EXPECT_EQ(d.FocusRequest, search::SearchFocus::SearchBtn);
  EXPECT_EQ(d.Result, search::ModalResult::None);  // no search yet
}

TEST_F(SearchDialog, SearchKeepsTheCurrentCardWhenItIsStillShown) {
  StartBook();
  main->TblSelectCell(5);  // taro@x
  ASSERT_EQ(CurrentAddr(), "taro@x");
  auto d = NameDialog("taro");
  d->Search();
  EXPECT_EQ(CurrentAddr(), "taro@x");
  EXPECT_EQ(View().CurCard->PrefEmail, "taro@x");
}

namespace {

// Stands in for the Qt window: runs a script on the dialog it is shown.
struct ScriptedHost : mainwin::MainHost {
  std::function<void(TSearchDlg&)> script;
  int shown = 0;
  void ShowSearchDialog(TSearchDlg& d) override {
    ++shown;
    if (script) script(d);
  }
};

}  // namespace

TEST_F(SearchDialog, FindButtonShowsTheDialogWithTheLastText) {
  StartBook();
  ScriptedHost host;
  main->Host = &host;
  host.script = [](TSearchDlg& d) {
    EXPECT_EQ(d.FindText, "");
    d.FindText = "hanako";
    d.Search();
  };
  main->FindBtnClick();
  EXPECT_EQ(host.shown, 1);
  EXPECT_EQ(Shown(), (Strings{"hanako@x"}));
  host.script = [](TSearchDlg& d) {
    EXPECT_EQ(d.FindText, "hanako");
    d.FindText = "other";
    d.CancelBtnClick();
  };
  main->FindBtnClick();
  EXPECT_EQ(host.shown, 2);
  EXPECT_EQ(main->LastSearchText, "hanako");
  EXPECT_EQ(Shown(), (Strings{"hanako@x"}));
  main->Host = nullptr;
}
