#include "print/PrintSetupLogic.h"

#include <algorithm>
#include <cmath>

#include "mainwin/MainFormLogic.h"
#include "store/Save.h"

namespace print {

namespace {

struct Row4 {
  int v[4];
};

// Normal defaults: A and B ("Print"), C and D ("Export"); item codes.
constexpr Row4 kWidthsA[4] = {{{1, 30, 21, 40}}, {{20, 12, 10, 50}}, {{44, 14, 14, 20}}, {{1, 3, 30, 50}}};
constexpr Row4 kItemsB[4] = {{{0, 1, 2, 3}}, {{0, 4, 5, 6}}, {{0, 7, 8, 9}}, {{0, 0, 10, 11}}};
constexpr Row4 kWidthsC[4] = {{{1, 34, 1, 25}}, {{1, 1, 19, 40}}, {{10, 14, 17, 20}}, {{1, 9, 1, 50}}};
constexpr Row4 kItemsD[4] = {{{0, 1, 0, 2}}, {{0, 0, 0, 3}}, {{0, 7, 8, 9}}, {{0, 5, 0, 6}}};
// Simple row 1 in either section is row 1 of the Normal tables.
constexpr Row4 kDetailWidths = {{1, 40, 30, 21}};
constexpr Row4 kDetailItems = {{0, 1, 2, 4}};

bool IsPrintSection(const std::string& section) { return section == kSectionPrint; }

int ClampScaleBox(int scale) { return std::clamp(scale, kMinScale, kMaxScale); }

// A null host for printing without a window.
class QuietHost : public PrintHost {
 public:
  void ProcessEvents() override {}
  void SetPageMessage(const std::string&) override {}
};

}  // namespace

TPrintLayout DefaultLayout(const std::string& section, int format) {
  const bool printSection = IsPrintSection(section);
  const Row4* widths = printSection ? kWidthsA : kWidthsC;
  const Row4* items = printSection ? kItemsB : kItemsD;
  TPrintLayout l;
  if (format == kDetail) {
    for (int c = 1; c <= 4; ++c) {
      l.Width(1, c) = kDetailWidths.v[c - 1];
      l.Item(1, c) = kDetailItems.v[c - 1];
    }
    l.Scale = 100;
    return l;
  }
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 4; ++c) {
      l.Width(r, c) = widths[r - 1].v[c - 1];
      // Simple: the Simple items in row 1 and nothing below.
      if (format == kNormal || r == 1) l.Item(r, c) = items[r - 1].v[c - 1];
    }
  l.Scale = printSection ? 100 : 150;
  return l;
}

std::string ScaleKey(int format) {
  switch (format) {
    case kSimple: return "Scale_C";
    case kDetail: return "Scale_F";
    default: return "Scale";
  }
}

namespace {

std::string CellKey(const char* prefix, int format, int row, int col) {
  std::string k = prefix;
  if (format == kSimple) k += '2';
  if (format == kDetail) k += '3';
  k += static_cast<char>('0' + row);
  k += static_cast<char>('0' + col);
  return k;
}

}  // namespace

std::string WidthKey(int format, int row, int col) { return CellKey("WD", format, row, col); }
std::string ItemKey(int format, int row, int col) { return CellKey("Pd", format, row, col); }

void ClampRow(TPrintLayout& layout, int row, int lineWidth) {
  int sum = 0;
  for (int c = 1; c <= 4; ++c) {
    std::int32_t& w = layout.Width(row, c);
    if (w <= 0) w = 1;
    if (w + sum >= lineWidth - 5 + c) w = lineWidth - 4 + c - sum;
    sum += w;
  }
}

TPrintSetup::TPrintSetup(dlg::Dialogs& dialogs, const store::TAllList& book, std::string settingsPath,
                         const GridRows* grid)
    : dialogs_(dialogs), book_(book), settingsPath_(std::move(settingsPath)), grid_(grid) {}

void TPrintSetup::SetExportMode() {
  ExecPrintVisible = false;
  SendToFileVisible = true;
  Section = kSectionExport;
  HelpContext = 1901;
}

void TPrintSetup::FormInit() {
  LoadLayouts(false);
  FillGroupList();
  Pr_Form5Cap1 = "Other Address\r\nFamiry,Given Name\r\nTEL\r\nURL";
  Pr_Form5Cap2 = "Note\r\nHome Address\r\nPublicKey\r\nOthers";
}

TPrintLayout& TPrintSetup::Layout(int format) {
  switch (format) {
    case kSimple: return SimpleLayout;
    case kDetail: return DetailLayout;
    default: return NormalLayout;
  }
}

TPrintLayout& TPrintSetup::CurrentLayout() { return Layout(FormatIndex); }

const TPrintLayout& TPrintSetup::CurrentLayout() const {
  switch (FormatIndex) {
    case kSimple: return SimpleLayout;
    case kDetail: return DetailLayout;
    default: return NormalLayout;
  }
}

int TPrintSetup::ReadItemKey(const std::string& key, const std::string& defaultName) {
  std::unique_ptr<plat::IniFile> own;
  plat::IniFile* ini = ini_;
  if (!ini) {
    own = std::make_unique<plat::IniFile>(settingsPath_);
    ini = own.get();
  }
  const std::string name = ini->ReadString(Section, key, defaultName);
  for (int i = 0; i < kItemCount; ++i)
    if (name == ItemKeys[static_cast<std::size_t>(i)]) return i;
  return 0;
}

void TPrintSetup::LoadOne(plat::IniFile& ini, int format) {
  const TPrintLayout def = DefaultLayout(Section, format);
  TPrintLayout& l = Layout(format);
  l.Scale = ini.ReadInteger(Section, ScaleKey(format), def.Scale);
  // The file may hold 50..200 although the scale box offers 50..150.
  if (l.Scale < 50 || l.Scale > 200) l.Scale = def.Scale;
  const int lw = 9200 / l.Scale;
  const int rows = format == kNormal ? 4 : 1;
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= 4; ++c) l.Width(r, c) = ini.ReadInteger(Section, WidthKey(format, r, c), def.Width(r, c));
  for (int r = 1; r <= 4; ++r) {
    // The stored third column has no effect: it takes the rest once shown.
    if (r <= rows) l.Width(r, 3) = 1;
    ClampRow(l, r, lw);
  }
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= 4; ++c)
      l.Item(r, c) = ReadItemKey(ItemKey(format, r, c), ItemKeys[static_cast<std::size_t>(def.Item(r, c))]);
}

void TPrintSetup::LoadLayouts(bool initial) {
  if (initial) {
    // Only the current format, and nothing reaches the file.
    CurrentLayout() = DefaultLayout(Section, FormatIndex);
    ShowLayout();
    return;
  }
  plat::IniFile ini(settingsPath_);
  ini_ = &ini;
  LoadOne(ini, kNormal);
  LoadOne(ini, kSimple);
  LoadOne(ini, kDetail);
  int form = ini.ReadInteger(Section, "PrintForm", kNormal);
  // A stored index naming no format picks the default one.
  if (form < kSimple || form > kDetail) form = kNormal;
  FormatIndex = form;
  RadioPrintView = ini.ReadBool(Section, "PrintView", false);
  ini_ = nullptr;
  RowVisible = {true, FormatIndex == kNormal, FormatIndex == kNormal, FormatIndex == kNormal};
  DetailPanelVisible = FormatIndex == kDetail;
  ShowLayout();
}

bool TPrintSetup::SaveLayout() {
  plat::IniFile ini(settingsPath_);
  const TPrintLayout& l = CurrentLayout();
  const int rows = FormatIndex == kNormal ? 4 : 1;
  ini.WriteInteger(Section, ScaleKey(FormatIndex), l.Scale);
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= 4; ++c) ini.WriteInteger(Section, WidthKey(FormatIndex, r, c), l.Width(r, c));
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= 4; ++c) {
      const int item = l.Item(r, c);
      ini.WriteString(Section, ItemKey(FormatIndex, r, c),
                      ItemKeys[static_cast<std::size_t>(item >= 0 && item < kItemCount ? item : 0)]);
    }
  if (ini.UpdateFile()) return true;
  dlg::FileErrorBox(dialogs_, settingsPath_, "File create error");
  return false;
}

bool TPrintSetup::SaveTarget() {
  plat::IniFile ini(settingsPath_);
  ini.WriteInteger(Section, "PrintForm", FormatIndex);
  ini.WriteBool(Section, "PrintView", RadioPrintView);
  if (ini.UpdateFile()) return true;
  dlg::FileErrorBox(dialogs_, settingsPath_, "File create error");
  return false;
}

void TPrintSetup::MapPanels() {
  const int inner = RowPanelWidth - kRowPanelFrame;
  if (RowPanelWidth <= 0) return;
  const TPrintLayout& l = CurrentLayout();
  for (int r = 1; r <= 4; ++r) {
    int used = 0;
    for (int c : {1, 2, 4}) {
      const int px = inner > 0 && LineWidth > 0
                         ? static_cast<int>(std::nearbyint(static_cast<double>(inner) * l.Width(r, c) / LineWidth))
                         : 0;
      PanelWidth[r - 1][c - 1] = std::max(px, 0);
      used += PanelWidth[r - 1][c - 1];
    }
    PanelWidth[r - 1][2] = std::max(inner - used, 0);
  }
}

void TPrintSetup::ShowLayout() {
  TPrintLayout& l = CurrentLayout();
  PrScale = ClampScaleBox(l.Scale);
  LineWidth = l.LineWidth();
  MapPanels();
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 4; ++c) {
      const int item = l.Item(r, c);
      PanelCaption[r - 1][c - 1] = ItemKeys[static_cast<std::size_t>(item >= 0 && item < kItemCount ? item : 0)];
    }
  ReadPanelWidths();
}

void TPrintSetup::PanelsResized() { MapPanels(); }

void TPrintSetup::ReadPanelWidths() {
  TPrintLayout& l = CurrentLayout();
  LineWidth = l.LineWidth();
  const int inner = RowPanelWidth - kRowPanelFrame;
  for (int r = 1; r <= 4; ++r) {
    if (RowPanelWidth > 0 && inner > 0) {
      for (int c : {1, 2, 4})
        l.Width(r, c) = static_cast<std::int32_t>(
            std::nearbyint(static_cast<double>(PanelWidth[r - 1][c - 1]) * LineWidth / inner));
    }
    int rest = LineWidth - (l.Width(r, 1) + l.Width(r, 2) + l.Width(r, 4));
    // Rounding a nearly shut third panel could leave it no cell, and the
    // lines would no longer be LineWidth long: the widest column gives way.
    if (rest < 1 && l.Width(r, 1) + l.Width(r, 2) + l.Width(r, 4) > 0) {
      int widest = 1;
      for (int c : {2, 4})
        if (l.Width(r, c) > l.Width(r, widest)) widest = c;
      const int give = std::min(1 - rest, static_cast<int>(l.Width(r, widest)));
      l.Width(r, widest) -= give;
      rest += give;
    }
    l.Width(r, 3) = rest;
    for (int c = 1; c <= 4; ++c) PanelHint[r - 1][c - 1] = std::to_string(l.Width(r, c));
  }
}

void TPrintSetup::FillGroupList() {
  PrintGroup.clear();
  const int width = 2 * book_.Nodes.MaxLevel();
  for (const store::TreeNode* n : book_.Nodes.InOrder()) {
    GroupRow row;
    row.Group = n->Group;
    row.TreeText = n->Group ? store::GroupTreeText(*n->Group, width, false) : std::string();
    row.Caption = n->Caption;
    row.Image = n->Level == 0 ? store::kImgFolder : (n->ImageIndex == store::kImgChecked ? 1 : 0);
    PrintGroup.push_back(std::move(row));
  }
  PrintGroupRow = PrintGroup.empty() ? -1 : 0;
}

void TPrintSetup::CloseClick() { SaveTarget(); }

void TPrintSetup::StartJob(TPrintData& job, int topMargin) const {
  job.TopMargin = topMargin;
  job.LeftMargin = 100;
  job.Scale = PrScale;
}

void TPrintSetup::ExecPrintClick() {
  if (PrItemVisible) PrItemExit();
  if (!Chooser) return;
  TPrintData job;
  Printer* printer = Chooser->Choose(job.PrintDialog);
  if (!printer) return;
  StartJob(job, 100);
  BuildLines(job, false);
  QuietHost quiet;
  PrintHost& host = Host ? *Host : quiet;
  CancelVisible = true;
  Printing = &job;
  struct Reset {
    TPrintSetup* s;
    ~Reset() {
      s->Printing = nullptr;
      s->CancelVisible = false;
    }
  } reset{this};
  PrintLines(job, *printer, host, dialogs_, kPrinterFace);
}

void TPrintSetup::PreViewClick(const std::string& sender) {
  if (PrItemVisible) PrItemExit();
  const bool toFile = sender == "SendToFile";
  const bool toClip = sender == "SendToClip";
  if (!toFile && !toClip) {
    auto job = std::make_unique<TPrintData>();
    StartJob(*job, 130);
    BuildLines(*job, false);
    PreviewJob = std::move(job);
    PreviewPage = 1;
    PreviewVisible = true;
    Panel1Visible = false;
    return;
  }
  TPrintData job;
  StartJob(job, 130);
  store::TSaveDlg save(&dialogs_);
  if (toFile && !save.SetNewFile(kExportFilter)) return;
  BuildLines(job, true);
  if (toClip) {
    dialogs_.SetClipboardText(JoinLines(job));
    return;
  }
  if (!save.CreateFile()) return;
  for (const std::string& line : job.Lines) save.Out.WriteLine(line);
  save.Commit();
}

void TPrintSetup::PreViewEndClick() {
  PreviewVisible = false;
  Panel1Visible = true;
  PreviewJob.reset();
  PreviewPage = 1;
}

void TPrintSetup::CancelClick() {
  if (Printing) Printing->Aborted = true;
}

void TPrintSetup::PrintFormClick(int index) {
  if (PrItemVisible) PrItemExit();
  if (index < kSimple || index > kDetail) return;
  FormatIndex = index;
  RowVisible = {true, index == kNormal, index == kNormal, index == kNormal};
  DetailPanelVisible = index == kDetail;
  ShowLayout();
}

void TPrintSetup::SelectAllClick() {
  for (GroupRow& r : PrintGroup)
    if (r.Image < store::kImgFolder) r.Image = store::kImgChecked;
}

void TPrintSetup::DeSelectClick() {
  for (GroupRow& r : PrintGroup)
    if (r.Image < store::kImgFolder) r.Image = store::kImgUnchecked;
}

void TPrintSetup::SelectGroupClick(int row) {
  if (row < 0 || row >= static_cast<int>(PrintGroup.size())) return;
  PrintGroupRow = row;
  int& image = PrintGroup[static_cast<std::size_t>(row)].Image;
  image = image != 0 ? 0 : 1;
}

void TPrintSetup::PrScaleExit() {
  CurrentLayout().Scale = ClampScaleBox(PrScale);
  PrScale = CurrentLayout().Scale;
  ReadPanelWidths();
}

void TPrintSetup::Pr_FormClick(int tag) {
  if (PrItemVisible) PrItemExit();
  CurPanel = tag;
  const int r = tag / 10, c = tag % 10;
  if (tag <= 0 || r < 1 || r > 4 || c < 1 || c > 4) return;
  PrItemIndex = CurrentLayout().Item(r, c);
  if (PrItemIndex < 0 || PrItemIndex >= kItemCount) PrItemIndex = 0;
  PrItemVisible = true;
}

void TPrintSetup::PrItemExit() {
  PrItemVisible = false;
  const int r = CurPanel / 10, c = CurPanel % 10;
  if (CurPanel <= 0 || r < 1 || r > 4 || c < 1 || c > 4) return;
  const int item = std::clamp(PrItemIndex, 0, kItemCount - 1);
  CurrentLayout().Item(r, c) = item;
  PanelCaption[r - 1][c - 1] = ItemKeys[static_cast<std::size_t>(item)];
}

void TPrintSetup::BuildLines(TPrintData& job, bool exportMode) const {
  LineSource source;
  source.Layout = &CurrentLayout();
  source.Format = FormatIndex;
  source.LineWidth = LineWidth;
  source.AlreadyExtracted = RadioPrintView;
  source.Book = &book_;
  source.Grid = grid_;
  for (const GroupRow& r : PrintGroup)
    if (r.Image == store::kImgChecked && r.Group) source.Groups.push_back(r.Group);
  print::BuildLines(job, exportMode, source);
}

std::string TPrintSetup::JoinLines(const TPrintData& job) {
  std::size_t size = 0;
  for (const std::string& l : job.Lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& l : job.Lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

int MainGridRows::RowCount() const { return main_.Tbl.RowCount(); }

std::string MainGridRows::Col0(int row) const { return main_.Tbl.Cell(row, 0); }

bool BuildJobFromSettings(const store::TAllList& book, const std::string& iniPath, const std::string& section,
                          int format, bool exportMode, TPrintData& job, std::string& error) {
  if (format < -1 || format > kDetail) {
    error = "format must be Simple, Normal or Detail";
    return false;
  }
  dlg::NullDialogs quiet;
  TPrintSetup setup(quiet, book, iniPath);
  setup.Section = section;
  setup.LoadLayouts(false);
  if (format >= 0) setup.PrintFormClick(format);
  setup.RadioPrintView = false;
  setup.FillGroupList();
  // The checks as the main window reads them from the same file.
  plat::IniFile ini(iniPath);
  for (GroupRow& row : setup.PrintGroup) {
    if (row.Image == store::kImgFolder || !row.Group) continue;
    row.Image = ini.ReadInteger("Group", store::GroupDisplayPath(*row.Group), 1) == 1 ? 1 : 0;
  }
  setup.StartJob(job, exportMode ? 130 : 100);
  setup.BuildLines(job, exportMode);
  return true;
}

}  // namespace print
