// The search dialog's logic: TSearchDlg without Qt, and the matching it runs,
// which q7addr-cli search uses as well (SearchRule, CardMatcher,
// MarkMatches).
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// Ownership. TQ7AdrMan::FindBtnClick creates one TSearchDlg with itself (the
// constructor is the dialog's creation: captions, the twelve items,
// ReadSearchSettings, Show_Func) and hands it to MainHost::ShowSearchDialog;
// SearchWindow (a modal QDialog) mirrors it for that call only. The dialog is
// freed when FindBtnClick returns; the main window then refreshes as after
// every handler (the search has rebuilt the grid through TblRedraw).
//
// Controls -> members (text CP932; convert at the Qt boundary):
//   form caption                      Captions.Caption
//   Label1 (focus control FindText)   Captions.Label1
//   FindText                          FindText
//   SearchBtn, CancelBtn              Captions.SearchBtn, Captions.CancelBtn
//   tags (group box)                  Captions.tags
//   Filter (check list, 12 items)     Filter[i].Text, Filter[i].Checked
//   Area (group box)                  Captions.Area
//   Radio_and, Radio_all, Radio_grp   the bools of those names (one is true)
//   Func (group box) visible          FuncVisible; caption Captions.Func
//   Radio_add, Radio_new              the bools (one is true)
//   GroupBox2                         Captions.GroupBox2
//   Radio_inc, Radio_Not_inc          the bools (one is true)
//   NoCase (check box)                NoCase; caption Captions.NoCase
//
// Events -> handlers (write the controls into the members first):
//   SearchBtn clicked                 Search(); the dialog closes (accept)
//   CancelBtn, Esc                    CancelBtnClick(); the dialog closes
//   an area radio clicked             set the three bools, Show_Func()
//   key typed in FindText             FindTextKeyPress(ch): true = swallow
// After a handler read the members back and honour FocusRequest
// (SearchFocus::SearchBtn: give SearchBtn the focus), then set it back to
// SearchFocus::None. ModalResult tells whether the dialog has finished.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/Book.h"

namespace mainwin {
class TQ7AdrMan;
}

namespace search {

inline constexpr int kTagCount = 12;

// Positions in Filter. Position 4 ("Public-Key") searches the URL list and
// position 5 ("URL") the Key list, as their settings keys say.
enum Tag : int {
  kTagAddr = 0, kTagName, kTagNic, kTagRem, kTagUrl, kTagKey,
  kTagZip, kTagAdr, kTagTel, kTagOrg, kTagBday, kTagOther
};

// Settings keys of the tags, by position ("Addr", "Name", ... "Other").
extern const char* const kTagKeys[kTagCount];
// English items of Filter, by position.
extern const char* const kTagItems[kTagCount];
// The checks when section "Search" holds no key for a tag: Mail Address,
// Name, Nic Name, Note and Address.
extern const std::array<bool, kTagCount> kDefaultTags;

// The position of the tag whose settings key is key (ASCII case ignored, as
// the settings file ignores it), or -1.
int TagByKey(std::string_view key);

enum class Area { Previous = 0, All = 1, Group = 2 };

// What a search looks for.
struct SearchRule {
  std::string Text;  // CP932, as typed
  std::array<bool, kTagCount> Tags = kDefaultTags;
  bool Include = true;     // false: "WithOut"
  bool IgnoreCase = true;  // "Ignore Case"
};

// The test of one card under a rule (CardMatches). The text is upper-cased
// once here; upper-casing never touches a double-byte character, and a hit
// starts and ends on character boundaries of the value, so "a" does not
// find the trail byte of a kana and a kana does not find another one.
class CardMatcher {
 public:
  explicit CardMatcher(const SearchRule& rule);

  // True when the card satisfies the rule (Include: some checked tag finds
  // the text; WithOut: none does).
  bool Matches(const store::TAddrRec& card) const;
  // True when the text occurs in value; an empty text occurs nowhere.
  bool MatchText(std::string_view value) const;

 private:
  bool Found(const store::TAddrRec& card) const;
  bool AnyValue(const store::TvCard& list) const;
  bool Joined(const store::TValues& values, std::size_t from, std::size_t to) const;

  std::string text_;
  std::array<bool, kTagCount> tags_;
  bool include_;
  bool ignoreCase_;
  mutable std::string joined_;  // scratch for the joined tags (N, ADR)
};

// The search over the book: sets the cards' marks for the area ("New" when
// isNew, else "Add"; both ignored for Area::Previous) and clears
// SingleGroup. The grid is not redrawn here.
void MarkMatches(store::TAllList& book, const SearchRule& rule, Area area, bool isNew);

struct SearchCaptions {
  std::string Caption, Label1, SearchBtn, CancelBtn, tags, Area, Radio_and, Radio_all, Radio_grp, Func,
      Radio_add, Radio_new, GroupBox2, Radio_inc, Radio_Not_inc, NoCase;
};

struct FilterItem {
  std::string Text;
  bool Checked = false;
};

enum class ModalResult { None, Ok, Cancel };
enum class SearchFocus { None, SearchBtn };

inline constexpr const char* kSearchSection = "Search";

class TSearchDlg {
 public:
  // The dialog's creation with the main window: English captions, the twelve
  // items, ReadSearchSettings, Show_Func.
  explicit TSearchDlg(mainwin::TQ7AdrMan& main);

  // ---- handlers ----
  void Search();          // marks, redraw, WriteSearchSettings; ModalResult Ok
  void CancelBtnClick();  // nothing changes; ModalResult Cancel
  void Show_Func();       // Func visible unless "Search in previous"
  bool FindTextKeyPress(char key);  // true: swallow (Enter)

  bool CardMatches(const store::TAddrRec& card) const;
  void ReadSearchSettings();
  // False when Q7Addr.ini could not be written (the search still stands).
  bool WriteSearchSettings();

  // The controls' current choices.
  SearchRule Rule() const;
  search::Area ChosenArea() const;

  // ---- state (the controls) ----
  SearchCaptions Captions;
  std::string FindText;
  std::array<FilterItem, kTagCount> Filter;
  bool Radio_and = false, Radio_all = true, Radio_grp = false;
  bool FuncVisible = true;
  bool Radio_add = false, Radio_new = true;
  bool Radio_inc = true, Radio_Not_inc = false;
  bool NoCase = true;

  ModalResult Result = ModalResult::None;
  SearchFocus FocusRequest = SearchFocus::None;

 private:
  std::string SettingsPath() const;

  mainwin::TQ7AdrMan& main_;
};

}  // namespace search
