#include "search/SearchLogic.h"

#include <algorithm>

#include "mainwin/MainFormLogic.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"

namespace search {

using store::TAddrRec;

const char* const kTagKeys[kTagCount] = {"Addr", "Name", "Nic", "Rem", "URL",  "Key",
                                         "Zip",  "Adr",  "Tel", "Org", "Bday", "Other"};

const char* const kTagItems[kTagCount] = {
    "Mail Address", "Name", "Nic Name", "Note",         "Public-Key", "URL",
    "ZIP",          "Address", "Tel,Fax", "Organization", "Birthday",   "Others"};

const std::array<bool, kTagCount> kDefaultTags = {true,  true,  true, true,  false, false,
                                                  false, true,  false, false, false, false};

int TagByKey(std::string_view key) {
  for (int i = 0; i < kTagCount; ++i)
    if (sjis::EqualsIgnoreCase(key, kTagKeys[i])) return i;
  return -1;
}

// ---- matching -----------------------------------------------------------

CardMatcher::CardMatcher(const SearchRule& rule)
    : text_(rule.IgnoreCase ? sjis::Upper(rule.Text) : rule.Text),
      tags_(rule.Tags),
      include_(rule.Include),
      ignoreCase_(rule.IgnoreCase) {}

bool CardMatcher::MatchText(std::string_view value) const {
  if (text_.empty() || value.size() < text_.size()) return false;
  return sjis::FindChars(value, text_, ignoreCase_) != std::string_view::npos;
}

bool CardMatcher::AnyValue(const store::TvCard& list) const {
  for (const store::TCardRec& e : list)
    for (std::string_view v : e.Values)
      if (MatchText(v)) return true;
  return false;
}

// Values from..to-1 of one entry joined without separator, as one text.
// The values of an entry are packed one after the other; when they lie so,
// their span is the joined text and nothing is copied.
bool CardMatcher::Joined(const store::TValues& values, std::size_t from, std::size_t to) const {
  to = std::min(to, values.size());
  if (from >= to) return false;
  const std::string_view first = values[from];
  const char* end = first.data() + first.size();
  bool adjacent = true;
  for (std::size_t i = from + 1; i < to && adjacent; ++i) {
    const std::string_view v = values[i];
    adjacent = v.data() == end;
    end = v.data() + v.size();
  }
  if (adjacent) return MatchText(std::string_view(first.data(), static_cast<std::size_t>(end - first.data())));
  joined_.clear();
  for (std::size_t i = from; i < to; ++i) joined_ += values[i];
  return MatchText(joined_);
}

bool CardMatcher::Found(const TAddrRec& c) const {
  if (text_.empty()) return false;  // occurs nowhere
  if (tags_[kTagAddr] && (MatchText(c.PrefEmail) || AnyValue(c.Email))) return true;
  if (tags_[kTagName] && AnyValue(c.FN)) return true;
  if (tags_[kTagNic] && MatchText(c.NickName)) return true;
  if (tags_[kTagRem] && AnyValue(c.Note)) return true;
  if (tags_[kTagUrl] && AnyValue(c.URL)) return true;
  if (tags_[kTagKey] && AnyValue(c.Key)) return true;
  if (tags_[kTagZip]) {
    for (const store::TCardRec& e : c.Adr)
      if (!e.Values.empty() && MatchText(e.Values[store::kAdrPostal])) return true;
  }
  if (tags_[kTagAdr]) {
    for (const store::TCardRec& e : c.Adr)
      if (Joined(e.Values, store::kAdrCountry, store::kAdrPoBox + 1)) return true;
  }
  if (tags_[kTagTel] && AnyValue(c.Tel)) return true;
  if (tags_[kTagOrg]) {
    for (const store::TOtherRec& e : c.Other)
      if (e.Name == "ORG")
        for (std::string_view v : e.Values)
          if (MatchText(v)) return true;
  }
  if (tags_[kTagBday] && AnyValue(c.BDay)) return true;
  if (tags_[kTagOther]) {
    for (const store::TCardRec& e : c.N)
      if (Joined(e.Values, 0, e.Values.size())) return true;
    for (const store::TOtherRec& e : c.Other)
      if (e.Name != "ORG")
        for (std::string_view v : e.Values)
          if (MatchText(v)) return true;
  }
  return false;
}

bool CardMatcher::Matches(const TAddrRec& card) const { return Found(card) == include_; }

namespace {

// A card's searched text lies in a dozen heap blocks; over a big book the
// wait for memory, not the comparing, sets the pace. The cards a few places
// ahead are fetched early: first the record, then (once it has arrived) the
// blocks its fields point to.
constexpr std::size_t kAhead = 12;

void PrefetchRecord(const TAddrRec* c) {
#if defined(__GNUC__)
  const char* p = reinterpret_cast<const char*>(c);
  for (std::size_t off = 0; off < sizeof(TAddrRec); off += 64) __builtin_prefetch(p + off);
#else
  (void)c;
#endif
}

void PrefetchFields(const TAddrRec* c) {
#if defined(__GNUC__)
  __builtin_prefetch(c->PrefEmail.data());
  __builtin_prefetch(c->Email.data());
  __builtin_prefetch(c->FN.data());
  __builtin_prefetch(c->Note.data());
  __builtin_prefetch(c->NickName.data());
  __builtin_prefetch(c->Adr.data());
#else
  (void)c;
#endif
}

// The text of the first entry of single-value lists (the usual e-mail,
// name and note); reading their lengths touches no further memory.
void PrefetchValues(const TAddrRec* c) {
#if defined(__GNUC__)
  for (const store::TvCard* list : {&c->Email, &c->FN, &c->Note})
    if (!list->empty() && list->front().Values.size() == 1) __builtin_prefetch(list->front().Values.front().data());
#else
  (void)c;
#endif
}

template <typename F>
void ForEachCard(const std::vector<TAddrRec*>& cards, F&& f) {
  const std::size_t n = cards.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) PrefetchRecord(cards[i + kAhead]);
    if (i + kAhead * 2 / 3 < n) PrefetchFields(cards[i + kAhead * 2 / 3]);
    if (i + kAhead / 3 < n) PrefetchValues(cards[i + kAhead / 3]);
    f(*cards[i]);
  }
}

}  // namespace

void MarkMatches(store::TAllList& book, const SearchRule& rule, Area area, bool isNew) {
  const CardMatcher m(rule);
  switch (area) {
    case Area::Group:
      if (isNew)
        for (TAddrRec* c : book.Cards()) c->Mark = 0;
      for (const store::TreeNode* n : book.Nodes.InOrder()) {
        if (n->ImageIndex != store::kImgChecked || !n->Group) continue;
        ForEachCard(n->Group->Cards(), [&](TAddrRec& c) {
          if (c.Mark == 0) c.Mark = m.Matches(c) ? 1 : 0;
        });
      }
      break;
    case Area::Previous:
      ForEachCard(book.Cards(), [&](TAddrRec& c) {
        if (c.Mark == 1) c.Mark = m.Matches(c) ? 1 : 0;
      });
      break;
    case Area::All:
      ForEachCard(book.Cards(), [&](TAddrRec& c) {
        if (isNew)
          c.Mark = m.Matches(c) ? 1 : 0;
        else if (c.Mark == 0 && m.Matches(c))
          c.Mark = 1;
      });
      break;
  }
  book.SingleGroup = nullptr;
}

// ---- the dialog -------------------------------------------------------

TSearchDlg::TSearchDlg(mainwin::TQ7AdrMan& main) : main_(main) {
  Captions.Caption = "Ostra Address Book Manager";
  Captions.Label1 = "String(&S)";
  Captions.SearchBtn = "Search(&G)";
  Captions.CancelBtn = "Cancel(&C)";
  Captions.tags = "Tag Select(&T)";
  Captions.Area = "Search Area(&A)";
  Captions.Radio_and = "Search in previous";
  Captions.Radio_all = "in all data";
  Captions.Radio_grp = "in default group";
  Captions.Func = "Process";
  Captions.Radio_add = "Add";
  Captions.Radio_new = "New";
  Captions.GroupBox2 = "Character(&J)";
  Captions.Radio_inc = "Include";
  Captions.Radio_Not_inc = "WithOut";
  Captions.NoCase = "&U\x81\x46Ignore Case";  // the full-width colon of the design
  for (int i = 0; i < kTagCount; ++i) Filter[i].Text = kTagItems[i];
  ReadSearchSettings();
  Show_Func();
}

std::string TSearchDlg::SettingsPath() const { return main_.SettingsFolder + mainwin::kSettingsFile; }

void TSearchDlg::ReadSearchSettings() {
  plat::IniFile ini(SettingsPath());
  const int area = ini.ReadInteger(kSearchSection, "Area", 1);
  Radio_all = area == 1;
  Radio_grp = area == 2;
  Radio_and = !Radio_all && !Radio_grp;
  Radio_new = ini.ReadInteger(kSearchSection, "Func", 1) == 1;
  Radio_add = !Radio_new;
  Radio_inc = ini.ReadBool(kSearchSection, "Chr_Inc", true);
  Radio_Not_inc = !Radio_inc;
  NoCase = ini.ReadBool(kSearchSection, "NoCase", true);
  for (int i = 0; i < kTagCount; ++i) Filter[i].Checked = ini.ReadBool(kSearchSection, kTagKeys[i], kDefaultTags[i]);
  FindText = main_.LastSearchText;
}

bool TSearchDlg::WriteSearchSettings() {
  plat::IniFile ini(SettingsPath());
  ini.WriteInteger(kSearchSection, "Area", Radio_grp ? 2 : Radio_all ? 1 : 0);
  ini.WriteInteger(kSearchSection, "Func", Radio_new ? 1 : 0);
  ini.WriteBool(kSearchSection, "Chr_Inc", Radio_inc);
  ini.WriteBool(kSearchSection, "NoCase", NoCase);
  for (int i = 0; i < kTagCount; ++i) ini.WriteBool(kSearchSection, kTagKeys[i], Filter[i].Checked);
  const bool written = ini.UpdateFile();
  main_.LastSearchText = FindText;
  return written;
}

SearchRule TSearchDlg::Rule() const {
  SearchRule r;
  r.Text = FindText;
  for (int i = 0; i < kTagCount; ++i) r.Tags[i] = Filter[i].Checked;
  r.Include = Radio_inc;
  r.IgnoreCase = NoCase;
  return r;
}

Area TSearchDlg::ChosenArea() const {
  if (Radio_grp) return Area::Group;
  if (Radio_all) return Area::All;
  return Area::Previous;
}

bool TSearchDlg::CardMatches(const TAddrRec& card) const { return CardMatcher(Rule()).Matches(card); }

void TSearchDlg::Search() {
  if (main_.Book) {
    MarkMatches(*main_.Book, Rule(), ChosenArea(), Radio_new);
    // Without SingleGroup the redraw shows the book view: the up/down panel
    // hides and "Save Address Order" is disabled.
    main_.TblRedraw(-1);
  }
  WriteSearchSettings();
  Result = ModalResult::Ok;
}

void TSearchDlg::CancelBtnClick() { Result = ModalResult::Cancel; }

void TSearchDlg::Show_Func() { FuncVisible = !Radio_and; }

bool TSearchDlg::FindTextKeyPress(char key) {
  if (key != '\r') return false;
  FocusRequest = SearchFocus::SearchBtn;
  return true;
}

}  // namespace search
