#include "store/Card.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

TCardRec Rec(std::string params, std::initializer_list<std::string> values) {
  TCardRec e;
  e.Params = std::move(params);
  for (const auto& v : values) e.Values.push_back(v);
  return e;
}

std::vector<std::string> Vals(const TCardRec& e) { return {e.Values.begin(), e.Values.end()}; }

}  // namespace

TEST(Card, GetValueMatchesUpperCasedParamsExactly) {
  TvCard tel;
  tel.push_back(Rec("WORK;FAX", {"03-1"}));
  tel.push_back(Rec("", {}));  // an entry without values reads as empty
  tel.push_back(Rec("PREF", {"a", "b"}));
  tel.push_back(Rec("", {"plain"}));
  EXPECT_EQ(GetValue(tel, "pref"), "a;b");
  EXPECT_EQ(GetValue(tel, "work;fax"), "03-1");
  EXPECT_EQ(GetValue(tel, "FAX;WORK"), "");
  EXPECT_EQ(GetValue(tel, ""), "");  // first entry without params has no values
  EXPECT_EQ(GetValue(tel, "HOME"), "");
}

TEST(Card, GetOtherValueNeedsNameAndParams) {
  TvOther o;
  TOtherRec a;
  a.Name = "ORG";
  a.Values.push_back("Acme");
  o.push_back(a);
  TOtherRec b = a;
  b.Params = "TYPE=X";
  b.Values.Set(0, "Beta");
  o.push_back(b);
  EXPECT_EQ(GetOtherValue(o, "org", ""), "Acme");
  EXPECT_EQ(GetOtherValue(o, "org", "type=x"), "Beta");
  EXPECT_EQ(GetOtherValue(o, "TITLE", ""), "");
}

TEST(Card, SetValueReplacesMovesToEndAndDeletesOnEmpty) {
  TvCard tel;
  tel.push_back(Rec("FAX", {"old"}));
  tel.push_back(Rec("WORK", {"w"}));
  SetValue(tel, "fax", "new");
  ASSERT_EQ(tel.size(), 2u);
  EXPECT_EQ(tel[0].Params, "WORK");
  EXPECT_EQ(tel[1].Params, "FAX");
  EXPECT_EQ(Vals(tel[1]), (std::vector<std::string>{"new"}));
  SetValue(tel, "FAX", "");
  ASSERT_EQ(tel.size(), 1u);
  EXPECT_EQ(tel[0].Params, "WORK");
  SetValue(tel, "FAX", "");  // nothing to remove, nothing added
  EXPECT_EQ(tel.size(), 1u);
}

TEST(Card, ReplaceEntryRemovesOnlyFirstMatch) {
  TvCard l;
  l.push_back(Rec("X", {"1"}));
  l.push_back(Rec("X", {"2"}));
  ReplaceEntry(l, Rec("x", {"", ""}));  // all-empty values: delete only
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(Vals(l[0]), (std::vector<std::string>{"2"}));
}

TEST(Card, SplitValuesComponents) {
  struct Case {
    std::string in;
    std::vector<std::string> out;
  } cases[] = {
      {"Doe;John;;;", {"Doe", "John", "", ""}},
      {"Doe;John;", {"Doe", "John"}},
      {"Doe;;Jr", {"Doe", "", "Jr"}},
      {"Single", {"Single"}},
      {";", {""}},
  };
  for (const auto& c : cases) {
    TvCard n;
    SplitValues(n, Rec("", {c.in}));
    ASSERT_EQ(n.size(), 1u) << c.in;
    EXPECT_EQ(Vals(n[0]), c.out) << c.in;
  }
  TvCard n;
  SplitValues(n, Rec("", {}));
  EXPECT_TRUE(n.empty());
}

TEST(Card, SplitAdrToDisplayOrder) {
  struct Case {
    std::string in;
    std::vector<std::string> out;
  } cases[] = {
      {"PB;Ext;Street;City;Region;123-4567;Japan", {"123-4567", "Japan", "Region", "City", "Street", "Ext", "PB"}},
      {"PB;Ext;Street", {"", "", "", "", "Street", "Ext", "PB"}},
      {"a;b;c;d;e;f;g;h;i", {"f", "g", "e", "d", "c", "b", "a"}},
      {"", {"", "", "", "", "", "", ""}},
  };
  for (const auto& c : cases) {
    TvAdrCard adr;
    SplitAdr(adr, Rec("WORK", {c.in}));
    ASSERT_EQ(adr.size(), 1u);
    EXPECT_EQ(Vals(adr[0]), c.out) << c.in;
  }
}

TEST(Card, MergeCardKeepsDestinationKindsAndAddsMissing) {
  CardPtr dst = NewCard();
  dst->PrefEmail = "a@x";
  dst->NickName = "keep";
  dst->Tel.push_back(Rec("WORK", {"111"}));
  CardPtr src = NewCard();
  src->PrefEmail = "a@x";
  src->NickName = "lost";
  src->Tel.push_back(Rec("WORK", {"222"}));
  src->Tel.push_back(Rec("HOME", {"333"}));
  src->Tel.push_back(Rec("PHS", {""}));  // empty entries never move
  TOtherRec org;
  org.Name = "ORG";
  org.Values.push_back("Acme");
  src->Other.push_back(org);
  MergeCard(*dst, std::move(src));
  ASSERT_EQ(dst->Tel.size(), 2u);
  EXPECT_EQ(GetValue(dst->Tel, "WORK"), "111");
  EXPECT_EQ(GetValue(dst->Tel, "HOME"), "333");
  EXPECT_EQ(dst->NickName, "keep");
  EXPECT_EQ(GetOtherValue(dst->Other, "ORG", ""), "Acme");
}

TEST(Card, CopyMissingLeavesSourceUnchanged) {
  TvCard src;
  src.push_back(Rec("", {"Taro"}));
  src.push_back(Rec("X", {}));
  TvCard dst;
  CopyMissing(dst, src);
  CopyMissing(dst, src);  // second copy finds the kind present
  ASSERT_EQ(dst.size(), 1u);
  EXPECT_EQ(src.size(), 2u);
  EXPECT_EQ(Vals(dst[0]), (std::vector<std::string>{"Taro"}));
}

TEST(Card, IsExtPropIsCaseSensitive) {
  for (const char* n : {"TZ", "ORG", "TITLE", "ROLE", "GEO", "LOGO", "MAILER", "PHOTO"}) EXPECT_TRUE(IsExtProp(n)) << n;
  for (const char* n : {"org", "Org", "ORGX", "", "NOTE"}) EXPECT_FALSE(IsExtProp(n)) << n;
}

TEST(Card, TakeFirstEmailAsPref) {
  TAddrRec c;
  c.Email.push_back(Rec("INTERNET", {"first@x"}));
  c.Email.push_back(Rec("", {"second@x"}));
  TakeFirstEmailAsPref(c);
  EXPECT_EQ(c.PrefEmail, "first@x");
  ASSERT_EQ(c.Email.size(), 1u);
  TakeFirstEmailAsPref(c);  // already has one: unchanged
  EXPECT_EQ(c.PrefEmail, "first@x");
  EXPECT_EQ(c.Email.size(), 1u);
}

TEST(Card, ValuesListOperations) {
  TValues v;
  EXPECT_TRUE(v.empty());
  v.push_back("");
  EXPECT_EQ(v.size(), 1u);  // an empty string is still a value
  v.insert(0, "a");
  v.insert(2, "c");
  v.insert(1, "b");
  EXPECT_EQ(v.Join(","), "a,b,,c");
  v.erase(0);
  EXPECT_EQ(v.Join(","), "b,,c");
  v.erase(1);
  EXPECT_EQ(v.Join(","), "b,c");
  v.erase(0);
  v.erase(0);
  EXPECT_TRUE(v.empty());
  EXPECT_EQ(v.Join(","), "");
}
