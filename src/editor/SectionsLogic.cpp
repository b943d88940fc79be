// The card editor's extended page: every property line of the card, one
// section per kind of property, edited through the panel EdPanel.
#include <algorithm>
#include <array>

#include "editor/ViewLogic.h"
#include "mainwin/MainFormLogic.h"
#include "platform/Sjis.h"

namespace editor {

namespace {

struct SectionDef {
  const char* Key;
  std::vector<const char*> Columns;
};

// In the order of kSectionLabels (the RadioSecs items).
const std::array<SectionDef, 18>& Sections() {
  static const std::array<SectionDef, 18> table = {{
      {"EMAIL", {"Spec", "Data"}},
      {"FN", {"Spec", "Data"}},
      {"N", {"Spec", "Family", "Last Name", "Mid Name"}},
      {"NOTE", {"Spec", "Data"}},
      {"URL", {"Spec", "Data"}},
      {"KEY", {"Spec", "Data"}},
      {"ADR", {"Spec", "ZIP", "Country", "Prefecture", "City", "Number", "Office", "Ext"}},
      {"TZ", {"Spec", "Data"}},
      {"TEL", {"Spec", "Data"}},
      {"ORG", {"Spec", "Company/Team", "Post"}},
      {"TITLE", {"Spec", "Data"}},
      {"ROLE", {"Spec", "Data"}},
      {"BDAY", {"Spec", "Data"}},
      {"GEO", {"Spec", "Data"}},
      {"LOGO", {"Spec", "Data"}},
      {"MAILER", {"Spec", "Data"}},
      {"PHOTO", {"Spec", "Data"}},
      {"OTHERS", {"Sec Name", "Spec", "Data"}},
  }};
  return table;
}

constexpr const char* kOthers = "OTHERS";

std::vector<std::string> Cells(std::string first, const store::TValues& values) {
  std::vector<std::string> row;
  row.reserve(values.size() + 1);
  row.push_back(std::move(first));
  for (std::string_view v : values) row.emplace_back(v);
  return row;
}

// Sets value i of a line, appending it when the line has fewer values.
void PutValue(store::TCardRec& e, std::size_t i, const std::string& text) {
  if (i < e.Values.size())
    e.Values.Set(i, text);
  else
    e.Values.push_back(std::string_view(text));
}

}  // namespace

std::string TView::SectionKey() const {
  const int i = std::clamp(RadioSecsIndex, 0, 17);
  return Sections()[static_cast<std::size_t>(i)].Key;
}

store::TvCard* TView::CardList(const std::string& key) {
  if (!CurCard) return nullptr;
  store::TAddrRec& c = *CurCard;
  if (key == "EMAIL") return &c.Email;
  if (key == "FN") return &c.FN;
  if (key == "N") return &c.N;
  if (key == "NOTE") return &c.Note;
  if (key == "URL") return &c.URL;
  if (key == "KEY") return &c.Key;
  if (key == "ADR") return &c.Adr;
  if (key == "TEL") return &c.Tel;
  if (key == "BDAY") return &c.BDay;
  return nullptr;
}

void TView::ListCardSection(const store::TvCard& list) {
  for (const store::TCardRec& e : list) SecViewRows.push_back(Cells(e.Params, e.Values));
}

void TView::ListExtSection(const std::string& key) {
  for (const store::TOtherRec& e : CurCard->Other)
    if (e.Name == key) SecViewRows.push_back(Cells(e.Params, e.Values));
}

void TView::ListOtherSection() {
  for (const store::TOtherRec& e : CurCard->Other) {
    if (store::IsExtProp(e.Name)) continue;
    std::vector<std::string> row = Cells(e.Params, e.Values);
    row.insert(row.begin(), e.Name);
    SecViewRows.push_back(std::move(row));
  }
}

void TView::ClearSections() {
  SecViewRows.clear();
  SecViewIndex = -1;
  EdPanelVisible = false;
  ++SecViewRevision;
}

void TView::RadioSecsClick() {
  // 1.
  if (!CurCard) return;
  // Every change of section closes the panel.
  EdPanelVisible = false;
  // 2.
  const SectionDef& def = Sections()[static_cast<std::size_t>(std::clamp(RadioSecsIndex, 0, 17))];
  const std::string key = def.Key;
  SecName = key;
  // 3.-4.
  SecViewRows.clear();
  SecViewIndex = -1;
  SecViewColumns.assign(def.Columns.begin(), def.Columns.end());
  // 5.
  if (store::IsExtProp(key))
    ListExtSection(key);
  else if (key == kOthers)
    ListOtherSection();
  else if (const store::TvCard* list = CardList(key))
    ListCardSection(*list);
  ++SecViewRevision;
}

void TView::ShowEdPanel() {
  const std::string key = SectionKey();
  const std::vector<std::string>* row = nullptr;
  if (SecViewIndex >= 0 && static_cast<std::size_t>(SecViewIndex) < SecViewRows.size())
    row = &SecViewRows[static_cast<std::size_t>(SecViewIndex)];
  // 1.
  EdPanelVisible = true;
  // 2.
  if (row)
    Ed01 = (*row)[0];
  else
    Ed01 = (key == "ADR" || key == "TEL") ? "WORK" : "";
  // 3.
  const std::size_t edits = SecViewColumns.empty() ? 0 : SecViewColumns.size() - 1;
  for (std::size_t i = 0; i < 7; ++i) {
    EdShown[i] = i < edits;
    Ed[i] = (EdShown[i] && row && row->size() > i + 1) ? (*row)[i + 1] : std::string();
  }
  // 4.
  Lb01 = "Spec";
  Lb[0] = "Data";
  for (std::size_t i = 1; i < 7; ++i) Lb[i].clear();
  if (key == "N") {
    Lb[0] = "Family";
    Lb[1] = "Last Name";
    Lb[2] = "Mid Name";
  } else if (key == "ADR") {
    static const char* const kAdr[7] = {"ZIP", "Country", "Prefecture", "City", "Number", "Office", "Ext"};
    for (std::size_t i = 0; i < 7; ++i) Lb[i] = kAdr[i];
  } else if (key == "ORG") {
    Lb[0] = "Company";
    Lb[1] = "Post";
  } else if (key == kOthers) {
    Lb01 = "Sec Name";
    Lb[0] = "Spec";
    Lb[1] = "Data";
  }
  // 5.
  Lb00 = key;
  FocusRequest = ViewFocus::EdPanel;
}

void TView::SecViewClick() {
  AddSecOKVisible = false;
  DelSecVisible = true;
  if (SecViewIndex >= 0 && static_cast<std::size_t>(SecViewIndex) < SecViewRows.size())
    ShowEdPanel();
  else
    EdPanelVisible = false;
}

void TView::AddSecClick() {
  if (!CurCard || ReadOnly) return;
  AddSecOKVisible = true;
  DelSecVisible = false;
  // A row still selected is the model of the new line.
  ShowEdPanel();
}

void TView::AddSecOKClick() {
  if (AddSecOKVisible && EdPanelVisible && !CommitSection(true)) {
    FocusRequest = ViewFocus::EdPanel;  // refused: let the user mend it
    return;
  }
  EdPanelVisible = false;
  AddSecOKVisible = false;
}

void TView::EdPanelExit() {
  if (busy_) return;  // the delete question is open; the panel stays
  // Only an open panel holds texts to take over: a row selected while the
  // panel is closed must not receive the texts of an earlier opening.
  if (EdPanelVisible && !AddSecOKVisible && SecViewIndex >= 0 &&
      static_cast<std::size_t>(SecViewIndex) < SecViewRows.size())
    CommitSection(false);
  EdPanelVisible = false;
  AddSecOKVisible = false;
}

void TView::EdPanelCancel() {
  EdPanelVisible = false;
  AddSecOKVisible = false;
}

bool TView::EdPanelKeyPress(char key) {
  if (key != '\r') return false;
  FocusRequest = ViewFocus::EdPanel;
  return true;
}

bool TView::CommitSection(bool add) {
  // 1.
  if (!CurCard || ReadOnly) return true;
  const std::vector<std::string>* row = nullptr;
  if (SecViewIndex >= 0 && static_cast<std::size_t>(SecViewIndex) < SecViewRows.size())
    row = &SecViewRows[static_cast<std::size_t>(SecViewIndex)];
  if (!add && !row) return true;
  // 2.
  bool changed = add ? !Ed01.empty() : Ed01 != (*row)[0];
  // 3.
  const std::size_t edits = SecViewColumns.empty() ? 0 : SecViewColumns.size() - 1;
  for (std::size_t i = 0; i < edits && i < 7; ++i) {
    if (!add && row->size() > i + 1)
      changed = changed || Ed[i] != (*row)[i + 1];
    else
      changed = changed || !Ed[i].empty();
  }
  // 4.
  if (!changed) return true;
  const std::string key = SectionKey();
  bool stored = false;
  if (store::IsExtProp(key) || key == kOthers) {
    if (key == kOthers) {
      // A line without a property name is dropped by the reader, and ':' or
      // ';' in the name would be read back as another line.
      const std::string name = sjis::Upper(Ed01);
      if (name.empty() || name.find_first_of(":;") != std::string::npos) {
        // The box deactivates the window; the panel waits for the answer.
        busy_ = true;
        main_.dialogs().MessageBox("Sec Name must be a property name without \":\" and \";\".",
                                   dlg::BoxType::Warning, {dlg::Button::Ok});
        busy_ = false;
        return false;
      }
    }
    stored = StoreOtherSection(key, add);
  } else if (store::TvCard* list = CardList(key)) {
    stored = StoreCardSection(*list, add);
  }
  if (!stored) return true;
  // 5.
  RadioSecsClick();
  RefreshGridRow();
  CardChanged = true;
  return true;
}

bool TView::StoreCardSection(store::TvCard& list, bool add) {
  // 1.
  store::TCardRec fresh;
  store::TCardRec* e = &fresh;
  if (!add) {
    if (SecViewIndex < 0 || static_cast<std::size_t>(SecViewIndex) >= list.size()) return false;
    e = &list[static_cast<std::size_t>(SecViewIndex)];
  }
  // 2. ASCII letters only; a double-byte character stays as it is.
  e->Params = sjis::Upper(Ed01);
  // 3. Values beyond the shown columns stay.
  const std::size_t edits = SecViewColumns.empty() ? 0 : SecViewColumns.size() - 1;
  for (std::size_t i = 0; i < edits && i < 7; ++i) PutValue(*e, i, Ed[i]);
  // 4.
  if (add) list.push_back(std::move(fresh));
  return true;
}

bool TView::StoreOtherSection(const std::string& key, bool add) {
  if (!CurCard) return false;
  store::TvOther& other = CurCard->Other;
  // 1.
  const bool ext = store::IsExtProp(key);
  store::TOtherRec fresh;
  fresh.Name = key;
  store::TOtherRec* e = &fresh;
  if (!add) {
    const int i = FindOtherIndex(key);
    if (i < 0) return false;
    e = &other[static_cast<std::size_t>(i)];
  }
  if (ext) {
    // 2. The locale's upper-casing of CP932 maps the ASCII letters and
    // steps over double-byte characters: sjis::Upper.
    e->Params = sjis::Upper(Ed01);
    const std::size_t edits = SecViewColumns.empty() ? 0 : SecViewColumns.size() - 1;
    for (std::size_t i = 0; i < edits && i < 7; ++i) PutValue(*e, i, Ed[i]);
  } else {
    // 3.
    e->Name = sjis::Upper(Ed01);
    e->Params = sjis::Upper(Ed[0]);
    PutValue(*e, 0, Ed[1]);
  }
  // 4.
  if (add) other.push_back(std::move(fresh));
  return true;
}

int TView::FindOtherIndex(const std::string& key) const {
  if (!CurCard || SecViewIndex < 0) return -1;
  const bool ext = store::IsExtProp(key);
  int number = 0;
  const store::TvOther& other = CurCard->Other;
  for (std::size_t i = 0; i < other.size(); ++i) {
    const std::string& name = other[i].Name;
    const bool belongs = store::IsExtProp(name) ? (ext && name == key) : !ext;
    if (!belongs) continue;
    if (number == SecViewIndex) return static_cast<int>(i);
    ++number;
  }
  return -1;
}

bool TView::DeleteCardSection(store::TvCard& list) {
  if (SecViewIndex < 0 || static_cast<std::size_t>(SecViewIndex) >= list.size()) return false;
  list.erase(list.begin() + SecViewIndex);
  return true;
}

bool TView::DeleteOtherSection(const std::string& key) {
  const int i = FindOtherIndex(key);
  if (i < 0) return false;
  CurCard->Other.erase(CurCard->Other.begin() + i);
  return true;
}

void TView::DelSecClick() {
  // 1.
  if (!CurCard || SecViewIndex < 0 || static_cast<std::size_t>(SecViewIndex) >= SecViewRows.size() || ReadOnly) {
    EdPanelVisible = false;
    return;
  }
  // 2. The question deactivates the window; the open panel must wait for
  // the answer instead of being taken over meanwhile.
  busy_ = true;
  const dlg::Button answer =
      main_.dialogs().MessageBox("Delete this section. Okay?", dlg::BoxType::Warning, {dlg::Button::Ok, dlg::Button::No});
  busy_ = false;
  if (answer != dlg::Button::Ok || !CurCard) return;
  // 3.
  const std::string key = SectionKey();
  bool deleted = false;
  if (store::IsExtProp(key) || key == kOthers)
    deleted = DeleteOtherSection(key);
  else if (store::TvCard* list = CardList(key))
    deleted = DeleteCardSection(*list);
  // 4.
  RadioSecsClick();
  if (deleted) {
    RefreshGridRow();
    CardChanged = true;
  }
  EdPanelVisible = false;
}

void TView::RefreshGridRow() {
  if (!CurCard) return;
  mainwin::AddressGrid& tbl = main_.Tbl;
  tbl.SetCell(tbl.Row, 2, store::GetValue(CurCard->FN, ""));
  tbl.SetCell(tbl.Row, 3, store::GetValue(CurCard->Note, ""));
}

void TView::UpdateReadOnly() {
  ReadOnly = false;
  ReadOnlyReason.clear();
  if (!CurCard || !main_.Book) return;
  for (const store::TreeNode* n : main_.Book->Nodes.InOrder())
    if (n->Level > 0 && n->Group && n->Group->Contains(CurCard)) return;
  // Only groups below the top level are ever saved.
  ReadOnly = true;
  ReadOnlyReason = "Read-only: no group below the top level holds it, so it is never saved.";
}

}  // namespace editor
