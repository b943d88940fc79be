#include "import/ImportFormLogic.h"

#include <algorithm>

#include "import/CsvImportLogic.h"
#include "mainwin/MainFormLogic.h"
#include "platform/FileSystem.h"
#include "platform/PlatformConfig.h"
#include "platform/Sjis.h"

namespace imp {

const std::array<const char*, kTargetCount> kTargetLabels = {
    "(Ignore)",          "Group Name",        "Mail Address",  "Name",          "Last name",
    "First name",        "Middle name",       "Title",         "Note",          "Nic name",
    "office:Zip",        "office:Country",    "office:Prefectures", "office:Cities", "office:Number",
    "office:Office",     "Organization",      "Org:Position",  "Tel",           "Fax",
    "PHS",               "Home:Zip",          "Home:Country",  "Home:Prefectures", "Home:Cities",
    "Home:Number",       "Home:Tel",          "PGP ID",        "URL"};

const std::array<const char*, kTemplateCount> kTemplateItems = {
    "&1) Any CSV File", "&2) Outlook Express Ver4", "&3) Netscape Comunicator Ver4", "&4) Ostra! Ver1.xx",
    "&5) AL-MAIL32",    "&6) EdMax",                "&7) Datula",    "&8) vCard File"};

const int kOe4Table[] = {0,  3,  1,  9,  2,  2,  13, 10, 15, 11, 14, 12, 12, 13, 11, 14, 23, 15,
                         20, 16, 22, 17, 17, 18, 16, 28, 18, 19, 21, 7,  5,  21, 7,  22, 6,  23,
                         4,  24, 3,  25, 8,  26, 9,  19, 10, 28, -1, -1};

const int kNs4Table[] = {0, 3,  1,  4, 2,  5,  7,  7,  3,  8,  10, 10, 11, 11, 5,  12, 4,
                         13, 9, 14, 6, 2, 16, 9, 12, 18, 14, 26, 13, 19, 17, 20, -1, -1};

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// How many lines of a file the memo shows: enough for any address file,
// and a huge file chosen by mistake does not hang the dialog.
constexpr int kMemoLines = 20000;
constexpr std::size_t kMemoBytes = 4u << 20;

}  // namespace

// ---- set-up ----

void TImportForm::Init(store::TAllList& book, dlg::Dialogs& dialogs) {
  book_ = &book;
  dialogs_ = &dialogs;
  Caption = kImportCaption;
  Captions.EndBtn = "Ret(&X)";
  Captions.SelectFile = "File Select(&S)";
  Captions.Exect = "Execute(&G)";
  Captions.Label2 = "Field Priority";
  Captions.UpBtn = "^ &B";
  Captions.DownBtn = "v &N";
  Captions.Label1 = "Display Record(&R)";
  Captions.TemplateSel = "Input Template";
  Captions.FileStrip = "File\x81\x46";  // "File" and a full-width colon
  Captions.SourceColumn = "Source field";
  Captions.TargetColumn = "Ostra Section";
  Captions.Encoding = "Encoding(&E)";
  Captions.ChooseFolder = "Folder(&D)...";
  Folder = plat::fs::CurrentDir();
  SetTemplateMode();
}

void TImportForm::FormInit(mainwin::TQ7AdrMan& main) {
  main_ = &main;
  Init(main.book(), main.dialogs());
  Left = main.Left;
  Top = main.Top;
  Height = main.Height;
}

// ---- templates and the file ----

void TImportForm::SetTemplateMode() {
  const int t = Template;
  ImportItemVisible = OptionPnlVisible = t >= 0 && t <= 2;
  MemoVisible = t >= 3 && t <= 7;
  FolderVisible = t == 3 || t == 5;
  SelectFileEnabled = !FolderVisible;
}

void TImportForm::TemplateSelClick(int t) {
  if (t < -1 || t >= kTemplateCount) return;
  Template = t;
  switch (t) {
    case 0: ApplyTemplate(nullptr); break;
    case 1: ApplyTemplate(kOe4Table); break;
    case 2: ApplyTemplate(kNs4Table); break;
    case 3: LocateV1Book(); break;
    case 4: case 6: case 7:
      SetTemplateMode();
      SelectFileClick();
      break;
    default: SetTemplateMode(); break;
  }
}

void TImportForm::SelectFileClick() {
  if (!dialogs_) return;
  const char* filter = Template == 4   ? "ALMAIL files (Address;*.adr)|Address;*.adr"
                       : Template == 6 ? "Datula Address Files (*.*)|*.*"
                       : Template == 7 ? "vCard files (*.vcf;*.vcard)|*.vcf;*.vcard"
                                       : "CSV files (*.csv)|*.csv";
  const std::optional<std::string> path = dialogs_->OpenFile(filter, FileName.empty() ? Folder : FileName);
  if (!path) return;
  FileChosen(*path);
}

void TImportForm::FileChosen(const std::string& path) {
  FileName = path;
  Memo.clear();
  switch (Template) {
    case 0: ShowRecord(1); break;
    case 1:
      if (ShowRecord(1)) ApplyTemplate(kOe4Table);
      break;
    case 2:
      if (ShowRecord(1)) ApplyTemplate(kNs4Table);
      break;
    case 4: case 6: case 7: {
      InFileName = BaseName(FileName);
      ImportFile f;
      if (!f.Open(FileName, EncodingWanted)) {
        FileError(InFileName);
        break;
      }
      EncodingChosen = f.Chosen();
      std::string line;
      int n = 0;
      while (f.ReadLine(line)) {
        if (++n > kMemoLines || Memo.size() > kMemoBytes) {
          Memo += "...\r\n";
          break;
        }
        Memo += line;
        Memo += "\r\n";
      }
      // The memo shows what is there; the run reports the losses.
      std::replace(Memo.begin(), Memo.end(), kLostChar, '?');
      break;
    }
    default: break;
  }
}

void TImportForm::EncodingChange(Encoding e) {
  EncodingWanted = e;
  if (FileName.empty()) return;
  if (Template >= 0 && Template <= 2)
    ShowRecord(RecNo);
  else if (Template == 4 || Template == 6 || Template == 7)
    FileChosen(FileName);
}

void TImportForm::ChooseFolderClick() {
  if (!dialogs_) return;
  if (const std::optional<std::string> f = dialogs_->ChooseFolder(Folder)) SetFolder(*f);
}

void TImportForm::SetFolder(const std::string& folder) {
  Folder = folder;
  if (!Folder.empty() && Folder.back() != '/') Folder.push_back('/');
  InFileName = Folder;
  DspOstra1List();
}

void TImportForm::LocateV1Book() {
  SetTemplateMode();
  std::string home = plat::LoadPlatformConfig().V1HomeDir;
  // The registry value ended with a separator; a configured folder may not.
  if (!home.empty() && home.back() != '/') home.push_back('/');
  if (home.empty()) home = plat::fs::CurrentDir();
  const std::string folder = home + "AddrBook/";
  if (folder != Folder)
    SetFolder(folder);
  else
    DspOstra1List();
}

std::vector<std::string> TImportForm::AdrFiles(bool skipHidden) const {
  std::vector<std::string> names;
  for (const plat::fs::DirEntry& e : plat::fs::List(Folder, "*.adr", plat::fs::Kind::Files)) {
    // A name starting with "." is what a hidden file is here.
    if (skipHidden && !e.name.empty() && e.name.front() == '.') continue;
    names.push_back(e.name);
  }
  return names;
}

void TImportForm::DspOstra1List() {
  Memo = Folder + "\r\n-------\r\n";
  for (const std::string& n : AdrFiles(false)) Memo += n + "\r\n";
}

// ---- the record preview and the mapping ----

void TImportForm::RecNoChange(int n) { ShowRecord(std::clamp(n, 1, kMaxRecNo)); }

bool TImportForm::ShowRecord(int n) {
  InFileName = BaseName(FileName);
  if (InFileName.empty()) return false;
  ImportFile f;
  std::string line, last;
  int read = 0;
  bool ok = f.Open(FileName, EncodingWanted);
  if (ok) {
    EncodingChosen = f.Chosen();
    std::string more;
    while (read < n && f.ReadLine(line)) {
      // A record is what the run reads as one: quoted line breaks included.
      for (int k = 0; k < 1000 && EndsInQuotes(line) && f.ReadLine(more); ++k) {
        line += "\r\n";
        line += more;
      }
      ++read;
      last.swap(line);
    }
    ok = !f.Failed();
  }
  if (!ok) {
    FileError(InFileName);
    OptionPnlEnabled = false;
    Template = -1;
    SetTemplateMode();
    return false;
  }
  std::replace(last.begin(), last.end(), kLostChar, '?');
  std::vector<std::string> fields;
  SplitCsvLine(last, fields);
  OptionPnlEnabled = true;
  RecNo = std::clamp(read, 1, kMaxRecNo);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i >= Rows.size()) {
      Rows.push_back(MappingRow{fields[i], kTargetLabels[0], 0, static_cast<int>(i), false});
      continue;
    }
    std::size_t r = 0;
    while (r + 1 < Rows.size() && Rows[r].Source != static_cast<int>(i)) ++r;
    Rows[r].Caption = fields[i];
  }
  if (Rows.size() > fields.size()) Rows.resize(fields.size());
  if (SelectedRow >= static_cast<int>(Rows.size())) SelectedRow = -1;
  return true;
}

void TImportForm::ApplyTemplate(const int* table) {
  SetTemplateMode();
  if (InFileName.empty() || !table) return;
  for (MappingRow& r : Rows) {
    r.Checked = false;
    r.Target = kTargetLabels[0];
    r.TargetIndex = 0;
  }
  std::size_t p = 0;
  for (std::size_t k = 0; table[2 * k] >= 0; ++k) {
    if (Rows.size() <= k) continue;
    const int src = table[2 * k], tgt = table[2 * k + 1];
    for (std::size_t r = p; r < Rows.size(); ++r) {
      if (Rows[r].Source != src) continue;
      MappingRow row = Rows[r];
      Rows.erase(Rows.begin() + static_cast<long>(r));
      row.Checked = true;
      row.TargetIndex = tgt;
      row.Target = kTargetLabels[static_cast<std::size_t>(tgt)];
      Rows.insert(Rows.begin() + static_cast<long>(p), std::move(row));
      ++p;
      break;
    }
  }
}

void TImportForm::ImportItemClick(int row) {
  if (row < 0 || row >= static_cast<int>(Rows.size())) return;
  SelectedRow = row;
  const int t = Rows[static_cast<std::size_t>(row)].TargetIndex;
  PrItemIndex = t >= 0 && t < kTargetCount ? t : 0;
  PrItemVisible = true;
}

void TImportForm::PrItemExit(int index) {
  if (SelectedRow >= 0 && SelectedRow < static_cast<int>(Rows.size()) && index >= 0 && index < kTargetCount) {
    MappingRow& r = Rows[static_cast<std::size_t>(SelectedRow)];
    if (r.TargetIndex != index) {
      r.TargetIndex = index;
      r.Target = kTargetLabels[static_cast<std::size_t>(index)];
      r.Checked = index != 0;
    }
  }
  PrItemVisible = false;
}

void TImportForm::UpBtnClick() {
  if (SelectedRow < 1 || SelectedRow >= static_cast<int>(Rows.size())) return;
  std::swap(Rows[static_cast<std::size_t>(SelectedRow)], Rows[static_cast<std::size_t>(SelectedRow - 1)]);
  --SelectedRow;
}

void TImportForm::DownBtnClick() {
  if (SelectedRow < 0 || SelectedRow + 1 >= static_cast<int>(Rows.size())) return;
  std::swap(Rows[static_cast<std::size_t>(SelectedRow)], Rows[static_cast<std::size_t>(SelectedRow + 1)]);
  ++SelectedRow;
}

void TImportForm::CheckRow(int row, bool on) {
  if (row >= 0 && row < static_cast<int>(Rows.size())) Rows[static_cast<std::size_t>(row)].Checked = on;
}

bool TImportForm::MapColumn(int source, int target) {
  if (target < 0 || target >= kTargetCount) return false;
  for (MappingRow& r : Rows) {
    if (r.Source != source) continue;
    r.TargetIndex = target;
    r.Target = kTargetLabels[static_cast<std::size_t>(target)];
    r.Checked = target != 0;
    return true;
  }
  return false;
}

void TImportForm::ExectClick() {
  const std::string name = BaseName(FileName);
  switch (Template) {
    case 0: case 1: case 2:
      if (!name.empty()) ImportCsv(FileName);
      break;
    case 3: ImportV1Book(); break;
    case 4:
      if (!name.empty()) ImportAlmail(FileName);
      break;
    case 5: ImportEdMax(); break;
    case 6:
      if (!name.empty()) ImportDatula(FileName);
      break;
    case 7:
      if (!name.empty()) ImportVcard(FileName);
      break;
    default: break;
  }
}

// ---- the frame of every run ----

store::TreeNode* TImportForm::SelectedNode() const { return main_ ? main_->Selected : selected_; }

void TImportForm::Select(store::TreeNode* node) {
  if (main_)
    main_->Selected = node;
  else
    selected_ = node;
}

void TImportForm::DeSelect() {
  if (main_)
    main_->DeSelectClick();
  else
    store::CheckAll(*book_, false);
}

store::TreeNode* TImportForm::OpenImportGroup(std::string name) {
  if (name.empty()) name = kNewImported;
  store::StripBadChars(name);
  name = std::string(sjis::Trim(name));
  store::TreeNode* sel = SelectedNode();
  const int parent = sel ? sel->AbsIndex : -1;
  std::string key = name;
  int found = store::FindChildGroup(*book_, key, parent);
  if (found < 0 && !name.empty() && name.front() != '.') {
    found = store::AddGroup(*book_, name, parent);
    if (found >= 0) ++GroupsAdded;
  }
  if (found >= 0) Select(book_->Nodes.Node(found));
  sel = SelectedNode();
  // A top-level folder stays a folder: only groups carry a check.
  if (sel && sel->Level > 0) sel->ImageIndex = sel->SelectedIndex = store::kImgChecked;
  return sel;
}

bool TImportForm::BeginRun(bool openGroup) {
  LossReport.clear();
  SkipReport.clear();
  lossText_.clear();
  Cancelled = false;
  CardsAdded = GroupsAdded = 0;
  tick_ = 0;
  if (!book_ || book_->Nodes.Count() == 0) {
    // Nothing to hang "(New Imported)" on: say so rather than import
    // cards no group would hold.
    if (dialogs_)
      dialogs_->MessageBox("The group tree is empty: there is no folder to import into.", dlg::BoxType::Error,
                           {dlg::Button::Ok});
    OptionPnlEnabled = false;
    return false;
  }
  DeSelect();
  Select(book_->Nodes.Node(0));
  if (openGroup) book_->CurGroup = OpenImportGroup("")->Group;
  return true;
}

void TImportForm::EndRun(bool ok) {
  OptionPnlEnabled = ok;
  if (!book_) return;
  store::RecalcMarks(*book_);
  if (main_) {
    if (GroupsAdded > 0) ++main_->TreeRevision;
    main_->TblRedraw(-1);
  }
  ShowLossReport();
}

bool TImportForm::BeginFileRun(const std::string& path, bool openGroup) {
  if (!file_.Open(path, EncodingWanted)) {
    FileError(InFileName);
    EndRun(false);
    return false;
  }
  EncodingChosen = file_.Chosen();
  if (!BeginRun(openGroup)) {
    file_.Close();
    return false;
  }
  return true;
}

void TImportForm::EndFileRun() {
  const bool ok = !file_.Failed();
  file_.Close();
  if (!ok) FileError(InFileName);
  EndRun(ok);
}

bool TImportForm::Tick(const ImportFile& f) {
  if (!Progress || (++tick_ & 1023) != 0) return true;
  if (Progress(f.BytesRead(), f.Size())) return true;
  Cancelled = true;
  return false;
}

store::TAddrRec* TImportForm::Add(store::CardPtr card) {
  if (!card) return nullptr;
  const std::vector<std::string> lost = ScrubLoss(*card);
  const std::size_t before = book_->Count();
  store::TAddrRec* in = book_->AddCard(std::move(card), true);
  if (book_->Count() > before) ++CardsAdded;
  if (in && !lost.empty())
    for (const std::string& f : lost) LossReport.push_back(LossEntry{in->PrefEmail, f});
  return in;
}

void TImportForm::NoteLoss(const store::TAddrRec& card) {
  // Only the entries added to a card already in the book can hold markers.
  auto& c = const_cast<store::TAddrRec&>(card);
  for (const std::string& f : ScrubLoss(c)) LossReport.push_back(LossEntry{c.PrefEmail, f});
}

void TImportForm::ShowLossReport() {
  lossText_.clear();
  if (LossReport.empty() && SkipReport.empty()) return;
  constexpr std::size_t kShown = 40;
  auto list = [this](const std::vector<LossEntry>& entries) {
    for (std::size_t i = 0; i < entries.size() && i < kShown; ++i)
      lossText_ += "\r\n" + entries[i].Card + " : " + entries[i].Field;
    if (entries.size() > kShown) lossText_ += "\r\n... and " + std::to_string(entries.size() - kShown) + " more";
  };
  if (!SkipReport.empty()) {
    lossText_ = "Some cards could not be imported:";
    list(SkipReport);
  }
  if (!LossReport.empty()) {
    if (!lossText_.empty()) lossText_ += "\r\n\r\n";
    lossText_ += "Some characters cannot be held in Shift-JIS and were replaced by \"?\":";
    list(LossReport);
  }
  if (dialogs_) dialogs_->MessageBox(lossText_, dlg::BoxType::Warning, {dlg::Button::Ok});
}

void TImportForm::FileError(const std::string& name) {
  if (dialogs_) dlg::FileErrorBox(*dialogs_, name, "File open error");
}

// ---- loss markers ----

namespace {

bool Scrub(store::TValues& values) {
  bool hit = false;
  for (std::string_view v : values)
    if (v.find(kLostChar) != std::string_view::npos) hit = true;
  if (!hit) return false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::string v(values[i]);
    std::replace(v.begin(), v.end(), kLostChar, '?');
    values.Set(i, v);
  }
  return true;
}

bool Scrub(std::string& s) {
  if (s.find(kLostChar) == std::string::npos) return false;
  std::replace(s.begin(), s.end(), kLostChar, '?');
  return true;
}

void Note(std::vector<std::string>& out, const std::string& label) {
  if (std::find(out.begin(), out.end(), label) == out.end()) out.push_back(label);
}

// A line break (CR LF, CR or LF) becomes one space.
bool FlattenLines(std::string& s) {
  if (s.find_first_of("\r\n") == std::string::npos) return false;
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    out.push_back(s[i] == '\r' || s[i] == '\n' ? ' ' : s[i]);
  }
  s.swap(out);
  return true;
}

void FlattenLines(store::TValues& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::string v(values[i]);
    if (FlattenLines(v)) values.Set(i, v);
  }
}

// ';' separates the components of N and ADR in the address file, which
// knows no escape: one inside a component would shift every later component
// (the street into the region) on the next load. It becomes ','.
void KeepComponents(store::TvCard& list) {
  for (store::TCardRec& e : list)
    for (std::size_t i = 0; i < e.Values.size(); ++i)
      if (e.Values[i].find(';') != std::string_view::npos) {
        std::string v(e.Values[i]);
        std::replace(v.begin(), v.end(), ';', ',');
        e.Values.Set(i, v);
      }
}

// The address file holds one line per property; only the note keeps its
// line breaks (it is written encoded). A break in any other field, from a
// quoted CSV field or a decoded vCard value, would split the line on saving
// and lose the rest of it, or start a property of its own, on the next load.
void KeepOneLine(store::TAddrRec& card) {
  KeepComponents(card.N);
  KeepComponents(card.Adr);
  FlattenLines(card.PrefEmail);
  FlattenLines(card.NickName);
  store::TvCard* const lists[] = {&card.Email, &card.FN, &card.N,   &card.URL,
                                  &card.Key,   &card.Adr, &card.Tel, &card.BDay};
  for (store::TvCard* list : lists)
    for (store::TCardRec& e : *list) {
      FlattenLines(e.Params);
      FlattenLines(e.Values);
    }
  for (store::TCardRec& e : card.Note) FlattenLines(e.Params);
  for (store::TOtherRec& e : card.Other) {
    FlattenLines(e.Name);
    FlattenLines(e.Params);
    FlattenLines(e.Values);
  }
}

}  // namespace

std::vector<std::string> ScrubLoss(store::TAddrRec& card) {
  KeepOneLine(card);
  std::vector<std::string> out;
  if (Scrub(card.PrefEmail)) Note(out, "EMAIL");
  if (Scrub(card.NickName)) Note(out, "NICKNAME");
  const std::pair<store::TvCard*, const char*> lists[] = {
      {&card.Email, "EMAIL"}, {&card.FN, "FN"},   {&card.N, "N"},     {&card.Note, "NOTE"},
      {&card.URL, "URL"},     {&card.Key, "KEY"}, {&card.Adr, "ADR"}, {&card.Tel, "TEL"},
      {&card.BDay, "BDAY"}};
  for (const auto& [list, label] : lists)
    for (store::TCardRec& e : *list)
      if (Scrub(e.Values)) Note(out, label);
  for (store::TOtherRec& e : card.Other)
    if (Scrub(e.Values)) Note(out, e.Name);
  return out;
}

}  // namespace imp
