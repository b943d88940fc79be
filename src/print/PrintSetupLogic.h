// The print and export setup window's logic: TPrintSetup without Qt.
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// TQ7AdrMan::GoPrintClick / TextExportClick create a TPrintSetup over the
// book, the settings file and the address grid (export: SetExportMode), and
// hand it to MainHost::ShowPrintSetup, which shows PrintSetupWindow modally
// over the grid. The window sets Chooser and Host (the printer dialog and
// itself), lays out its panels, sets RowPanelWidth to the row panels' width
// in pixels and calls FormInit (LoadLayouts, FillGroupList, the Pr_Form5
// captions).
//
// Controls -> members (all text CP932):
//   window caption                 Caption
//   captions                       Captions.<control name>
//   ExecPrint / SendToFile shown   ExecPrintVisible / SendToFileVisible
//   Cancel shown                   CancelVisible (while printing)
//   PageMessage                    PageMessage
//   RadioPrintView / RadioPrintAll RadioPrintView / !RadioPrintView
//   PrintForm (radio group)        FormatIndex (0 Simple, 1 Normal, 2 Detail)
//   PrintGroup (check list)        PrintGroup rows: TreeText, Caption, Image
//                                  (0 unchecked, 1 checked, 2 folder);
//                                  PrintGroupRow the selected row
//   PrScale (spin box 50..150)     PrScale
//   Pr_Form1..4, Pr_Form5 shown    RowVisible[0..3], DetailPanelVisible
//   row panel width (pixels)       RowPanelWidth (all four rows alike)
//   column panel r,c width         PanelWidth[r-1][c-1] (pixels)
//   column panel caption / hint    PanelCaption[r-1][c-1] / PanelHint[r-1][c-1]
//   Pr_Form5Cap1 / Pr_Form5Cap2    Pr_Form5Cap1 / Pr_Form5Cap2
//   PrItem shown / selected index  PrItemVisible / PrItemIndex
//   PreViewPnl shown, Panel1 shown PreviewVisible, Panel1Visible; the
//                                  previewed job PreviewJob, page PreviewPage
//
// Events -> handlers:
//   Ret(&X)                   CloseClick() then close; Esc / close box close
//                             without it
//   Print(&P)                 ExecPrintClick()
//   Export(&P), ClipBoard(&C),
//   PreView(&V)               PreViewClick("SendToFile" / "SendToClip" /
//                             "PreViewBtn")
//   Ret(&R) in the preview    PreViewEndClick()
//   印刷中止(&C)               CancelClick() (honoured after the current page)
//   format radio clicked      PrintFormClick(index)
//   target radio clicked      set RadioPrintView
//   SelAll(&A) / DeSel(&U)    SelectAllClick() / DeSelectClick()
//   group row clicked         SelectGroupClick(row)
//   scale box left            set PrScale, PrScaleExit()
//   Memory(&M) / Initial(&I)  SaveBtnClick() / ReStoreBtnClick()
//   column panel clicked      Pr_FormClick(row * 10 + column); Panel1 or
//                             Panel4 clicked: Pr_FormClick(0)
//   item list left / chosen   set PrItemIndex, PrItemExit()
//   splitter moved            write PanelWidth of the row, SplitterMoved()
//   row panels resized        set RowPanelWidth, PanelsResized()
// After every handler refresh everything from the members.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "print/PrintData.h"
#include "print/Printing.h"
#include "print/RecordLayoutLogic.h"
#include "store/Book.h"

namespace mainwin {
class TQ7AdrMan;
}

namespace print {

inline constexpr const char* kPrintSetupCaption = "Ostra Address Book Manager Print Setup";
inline constexpr const char* kSectionPrint = "Print";
inline constexpr const char* kSectionExport = "Export";
inline constexpr const char* kExportFilter = "Text files (*.txt)|*.txt";
// Three 3-pixel splitters and the row panel's 2-pixel border.
inline constexpr int kRowPanelFrame = 11;
inline constexpr int kMinScale = 50, kMaxScale = 150;

struct PrintSetupCaptions {
  std::string EndBtn = "Ret(&X)";
  std::string ExecPrint = "Print(&P)";
  std::string SendToFile = "Export(&P)";
  std::string SendToClip = "ClipBoard(&C)";
  std::string PreViewBtn = "PreView(&V)";
  std::string Cancel = "\x88\xf3\x8d\xfc\x92\x86\x8e\x7e(&C)";  // 印刷中止(&C)
  std::string PrintMode = "Print Target (&T)";
  std::string RadioPrintView = "Already Extracted";
  std::string RadioPrintAll = "All Data Every Group";
  std::string PrintForm = "Print Format (&F)";
  std::array<std::string, 3> PrintFormItems = {"Simple", "Normal", "Detail"};
  std::string SelectAll = "SelAll(&A)";
  std::string DeSelect = "DeSel(&U)";
  std::string Label1 = "Print Layout";
  std::string Label2 = "Magnify(&%)";
  std::string Label3 = "%";
  std::string SaveBtn = "Memory(&M)";
  std::string ReStoreBtn = "Initial(&I)";
  std::string PreViewEnd = "Ret(&R)";
};

// One row of the group check list.
struct GroupRow {
  std::string TreeText;  // GroupTreeText of the node's group
  std::string Caption;   // the node's text
  int Image = 0;         // 0 unchecked, 1 checked, 2 top-level folder
  const store::TGrpList* Group = nullptr;
};

// The default layouts of a settings section ("Print"; anything else takes
// the "Export" defaults).
TPrintLayout DefaultLayout(const std::string& section, int format);
// The settings keys of a format: scale key, and width / item key of a cell.
std::string ScaleKey(int format);
std::string WidthKey(int format, int row, int col);
std::string ItemKey(int format, int row, int col);
// The row clamp: every width at least 1, the row fitting into lineWidth
// cells (a row within one cell of it widened to exactly lineWidth).
void ClampRow(TPrintLayout& layout, int row, int lineWidth);

class TPrintSetup {
 public:
  // book: the loaded book; settingsPath: Q7Addr.ini; grid: the main
  // window's address grid for the "Already Extracted" target (may be null).
  TPrintSetup(dlg::Dialogs& dialogs, const store::TAllList& book, std::string settingsPath,
              const GridRows* grid = nullptr);

  // ---- opening ----
  void SetExportMode();
  void FormInit();  // LoadLayouts(false), FillGroupList, Pr_Form5 captions

  // ---- layouts ----
  void LoadLayouts(bool initial);
  bool SaveLayout();  // false (after a message) when the file could not be written
  bool SaveTarget();
  void ShowLayout();
  void ReadPanelWidths();
  void PanelsResized();  // panels follow the widths, the widths stay
  int ReadItemKey(const std::string& key, const std::string& defaultName);
  void FillGroupList();

  // ---- handlers ----
  void CloseClick();
  void ExecPrintClick();
  void PreViewClick(const std::string& sender);
  void PreViewEndClick();
  void CancelClick();
  void PrintFormClick(int index);
  void SelectAllClick();
  void DeSelectClick();
  void SelectGroupClick(int row);
  void PrScaleExit();
  void SaveBtnClick() { SaveLayout(); }
  void ReStoreBtnClick() { LoadLayouts(true); }
  void Pr_FormClick(int tag);
  void PrItemExit();
  void SplitterMoved() {
    // The focus goes to Panel1 first, which ends an open item choice.
    if (PrItemVisible) PrItemExit();
    ReadPanelWidths();
  }

  // The job as a print, preview or export would build it (the body of
  // ExecPrintClick / PreViewClick between creating the job and using it).
  void BuildLines(TPrintData& job, bool exportMode) const;
  // A new job's margins (left 100) and magnification (the scale box).
  void StartJob(TPrintData& job, int topMargin) const;
  // The export text: every line of the job followed by CR LF.
  static std::string JoinLines(const TPrintData& job);

  TPrintLayout& CurrentLayout();
  const TPrintLayout& CurrentLayout() const;
  TPrintLayout& Layout(int format);

  // ---- state ----
  std::string Section = kSectionPrint;
  TPrintLayout NormalLayout, SimpleLayout, DetailLayout;
  int CurPanel = 0;  // Tag of the panel whose item is being chosen
  int LineWidth = 92;

  std::string Caption = kPrintSetupCaption;
  PrintSetupCaptions Captions;
  int HelpContext = 0;
  bool ExecPrintVisible = true;
  bool SendToFileVisible = false;
  bool CancelVisible = false;
  std::string PageMessage;
  bool RadioPrintView = false;  // false: "All Data Every Group"
  int FormatIndex = kNormal;
  std::vector<GroupRow> PrintGroup;
  int PrintGroupRow = -1;
  int PrScale = 100;
  std::array<bool, 4> RowVisible = {true, true, true, true};
  bool DetailPanelVisible = false;
  int RowPanelWidth = 0;  // 0: no panels (widths kept as they are)
  int PanelWidth[4][4] = {};
  std::string PanelCaption[4][4];
  std::string PanelHint[4][4];
  std::string Pr_Form5Cap1, Pr_Form5Cap2;
  bool PrItemVisible = false;
  int PrItemIndex = 0;
  bool PreviewVisible = false;
  bool Panel1Visible = true;
  std::unique_ptr<TPrintData> PreviewJob;
  int PreviewPage = 1;

  PrinterChooser* Chooser = nullptr;  // the platform's printer dialog
  PrintHost* Host = nullptr;          // events and the page counter while printing
  TPrintData* Printing = nullptr;     // the job being printed

  const store::TAllList& book() const { return book_; }
  const std::string& SettingsPath() const { return settingsPath_; }

 private:
  void LoadOne(plat::IniFile& ini, int format);
  void MapPanels();

  plat::IniFile* ini_ = nullptr;  // open while LoadLayouts reads

  dlg::Dialogs& dialogs_;
  const store::TAllList& book_;
  std::string settingsPath_;
  const GridRows* grid_;
};

// The main window's address grid as the "Already Extracted" target reads it.
class MainGridRows : public GridRows {
 public:
  explicit MainGridRows(const mainwin::TQ7AdrMan& main) : main_(main) {}
  int RowCount() const override;
  std::string Col0(int row) const override;

 private:
  const mainwin::TQ7AdrMan& main_;
};

// A job exactly as the setup window would build it, without a window: the
// layouts of `section` loaded from iniPath (no file: the defaults), column 3
// taking the rest of each row, the format (-1: the stored "PrintForm"),
// target "All Data Every Group" over the groups checked in the file's
// section "Group" (missing key: checked; top-level folders unchecked).
// Export mode: the titles first in Lines, margins 130/100; print mode:
// titles in Header with the page field, margins 100/100. Scale is the scale
// box's value. False with a one-line error for a bad format.
bool BuildJobFromSettings(const store::TAllList& book, const std::string& iniPath, const std::string& section,
                          int format, bool exportMode, TPrintData& job, std::string& error);

}  // namespace print
