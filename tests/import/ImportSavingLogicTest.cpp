// Cards an import makes must come back unchanged from the address file
// they are saved to: no field may split a line or shift a component.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "import/ImportTestSupport.h"

namespace {

class Keeper : public store::CardSink {
 public:
  store::TAddrRec* AddCard(store::CardPtr card, bool) override {
    cards.push_back(std::move(card));
    return cards.back().get();
  }
  std::vector<store::CardPtr> cards;
};

class ImportSaving : public ::testing::Test {
 protected:
  testsupport::TempDir tmp;
  testsupport::ScriptedDialogs d;
  store::TAllList book;
  imp::TImportForm form;

  void SetUp() override {
    importtest::WriteSmallBook(tmp / "book/");
    importtest::LoadBook(book, tmp / "book/", d);
    form.Init(book, d);
    form.EncodingWanted = imp::Encoding::Cp932;
  }
  void Run(int tmpl, const std::string& name, const std::string& bytes) {
    testsupport::WriteBytes(tmp / ("in/" + name), bytes);
    form.Template = tmpl;
    form.SetTemplateMode();
    if (tmpl == 3)
      form.SetFolder(tmp / "in/");
    else
      form.FileChosen(tmp / ("in/" + name));
  }
  store::TAddrRec* Card(const std::string& addr) {
    for (store::TAddrRec* c : book.Cards())
      if (c->PrefEmail == addr) return c;
    return nullptr;
  }
  // Saved and loaded again, the card is the one card of its block and
  // writes the same bytes.
  void ExpectSurvivesSaving(const store::TAddrRec& card) {
    const std::string bytes = store::CardToBytes(card);
    Keeper k;
    store::ReadAddressBytes(k, bytes);
    ASSERT_EQ(k.cards.size(), 1u) << bytes;
    EXPECT_EQ(store::CardToBytes(*k.cards[0]), bytes);
  }
};

TEST_F(ImportSaving, CsvLineBreaksOutsideTheNoteBecomeSpacesAndSplitNoCard) {
  Run(0, "in.csv",
      "\"x@example.jp\",\"Sato\r\nEND:VCARD\r\nBEGIN:VCARD\r\nEMAIL;PREF:evil@example.jp\",\"a;b\",\"line1\r\nline2\"\r\n");
  ASSERT_TRUE(form.MapColumn(0, 2));   // mail address
  ASSERT_TRUE(form.MapColumn(1, 3));   // name
  ASSERT_TRUE(form.MapColumn(2, 13));  // office: cities
  ASSERT_TRUE(form.MapColumn(3, 8));   // note
  form.ExectClick();
  EXPECT_EQ(form.CardsAdded, 1);
  EXPECT_EQ(Card("evil@example.jp"), nullptr);
  store::TAddrRec* c = Card("x@example.jp");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(store::GetValue(c->FN, ""), "Sato END:VCARD BEGIN:VCARD EMAIL;PREF:evil@example.jp");
  ASSERT_EQ(c->Adr.size(), 1u);
  EXPECT_EQ(c->Adr[0].Values[store::kAdrLocality], "a,b");
  ASSERT_EQ(c->Note.size(), 1u);
  EXPECT_EQ(c->Note[0].Values[0], "line1\r\nline2");  // the note keeps its lines
  ExpectSurvivesSaving(*c);
  EXPECT_EQ(book.Count(), 3u);  // the two cards of the book and the new one
}

TEST_F(ImportSaving, VersionOneAddressWithSemicolonStaysInItsComponent) {
  Run(3, "Friends.adr", "ken@example.jp\tKen\tZIP:100-0001ADR:1-1 Chiyoda;Tokyo\n");
  form.ExectClick();
  store::TAddrRec* c = Card("ken@example.jp");
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Adr.size(), 1u);
  EXPECT_EQ(c->Adr[0].Values[store::kAdrLocality], "1-1 Chiyoda,Tokyo");
  EXPECT_EQ(c->Adr[0].Values[store::kAdrPostal], "100-0001");
  ExpectSurvivesSaving(*c);
}

TEST_F(ImportSaving, VcardBreaksInDecodedValuesAndEscapedSemicolonsAreKeptSafe) {
  Run(7, "in.vcf",
      "BEGIN:VCARD\r\nVERSION:2.1\r\nEMAIL;PREF;INTERNET:v@example.jp\r\n"
      "FN;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab=0Ac\r\n"
      "N:Doe\\;Jr;John\r\n"
      "KEY;ENCODING=B:QUJD\r\n REVG\r\n"
      "X-ICON;ENCODING=B:R0lG\r\n"
      "END:VCARD\r\n");
  form.ExectClick();
  store::TAddrRec* c = Card("v@example.jp");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(store::GetValue(c->FN, ""), "a b c");
  ASSERT_EQ(c->N.size(), 1u);
  EXPECT_EQ(c->N[0].Values[0], "Doe,Jr");
  // A binary key is the card's key, as the address file reads it back;
  // another binary property stays with the other properties.
  ASSERT_EQ(c->Key.size(), 1u);
  EXPECT_EQ(c->Key[0].Params, "ENCODING=B");
  EXPECT_EQ(c->Key[0].Values[0], "QUJDREVG");
  ASSERT_EQ(c->Other.size(), 1u);
  EXPECT_EQ(c->Other[0].Name, "X-ICON");
  ExpectSurvivesSaving(*c);
}

}  // namespace
