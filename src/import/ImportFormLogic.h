// The import dialog's logic: TImportForm without Qt, and the six readers.
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// TQ7AdrMan::ImportClick creates a TImportForm, calls FormInit with itself
// and hands it to MainHost::ShowImportDialog, which shows ImportWindow
// modally over the grid. Afterwards the main window rebuilds the editor's
// group list and reselects its current row. Without a main window (the
// command line) call Init with a book instead: the frame then unchecks and
// selects in the book's tree itself.
//
// Controls -> members (all text CP932):
//   window caption                 Caption
//   captions                       Captions.<control name>
//   TemplateSel                    Template (-1 none, 0..7)
//   InFileName                     InFileName
//   the file dialog's file         FileName (full path)
//   ImportItem                     Rows (MappingRow), the selected row
//                                  SelectedRow (-1 none)
//   PrItem                         PrItemVisible, PrItemIndex
//   RecNo / RecNoUpDown            RecNo (1..999)
//   OptionPnl enabled              OptionPnlEnabled
//   visibility                     ImportItemVisible, OptionPnlVisible,
//                                  MemoVisible, FolderVisible (DriveList and
//                                  DirectoryTree), SelectFileEnabled
//   Memo1                          Memo (lines joined with CR LF)
//   the folder list's folder       Folder (ending with '/')
//   encoding choice / chosen       EncodingWanted / EncodingChosen
// Events -> handlers: TemplateSelClick(t), SelectFileClick(),
// ChooseFolderClick() (the folder chooser), RecNoChange(n),
// ImportItemClick(row), PrItemExit(index), UpBtnClick(), DownBtnClick(),
// CheckRow(row, on) (a check box clicked), EncodingChange(e), ExectClick().
// Refresh every control from the members after each handler.
//
// Progress: during a run the reader calls Progress(done, total) now and
// then (bytes of the current file); the widget updates its bar, processes
// events and returns false when the user cancelled. A cancelled run keeps
// what it imported, as a failure does.
//
// After a run, SkipReport lists the cards left out (by name, with the
// reason) and LossReport lists each card and field whose characters
// CP932 cannot hold were replaced by "?"; the run has shown it in an
// information box already (LossReportText()).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/ImportTextLogic.h"
#include "platform/Dialogs.h"
#include "store/Book.h"

namespace mainwin {
class TQ7AdrMan;
}

namespace imp {

inline constexpr int kTargetCount = 29;
inline constexpr int kTemplateCount = 8;
inline constexpr int kMaxRecNo = 999;
inline constexpr const char* kImportCaption = "Ostra Address Book Manager Import";
inline constexpr const char* kNewImported = "(New Imported)";

extern const std::array<const char*, kTargetCount> kTargetLabels;
extern const std::array<const char*, kTemplateCount> kTemplateItems;
// (source column, target index) pairs ended by a negative source column.
extern const int kOe4Table[];
extern const int kNs4Table[];

struct MappingRow {
  std::string Caption;  // the column's text in the record shown
  std::string Target;   // the target label
  int TargetIndex = 0;
  int Source = 0;  // column, from 0
  bool Checked = false;
  bool operator==(const MappingRow&) const = default;
};

struct ImportCaptions {
  std::string EndBtn, SelectFile, Exect, Label2, UpBtn, DownBtn, Label1, TemplateSel, FileStrip;
  std::string SourceColumn, TargetColumn, Encoding, ChooseFolder;
};

// One field of one card that lost characters.
struct LossEntry {
  std::string Card;   // the card's address (with "?" where it lost some)
  std::string Field;  // "Mail Address", "Name", "Note", ...
  bool operator==(const LossEntry&) const = default;
};

class TImportForm {
 public:
  TImportForm() = default;
  TImportForm(const TImportForm&) = delete;
  TImportForm& operator=(const TImportForm&) = delete;

  void FormInit(mainwin::TQ7AdrMan& main);
  void Init(store::TAllList& book, dlg::Dialogs& dialogs);  // without a window

  // ---- handlers ----
  void TemplateSelClick(int t);
  void SetTemplateMode();
  void SelectFileClick();
  void ChooseFolderClick();
  void SetFolder(const std::string& folder);  // the folder list changed
  void LocateV1Book();
  void DspOstra1List();
  void RecNoChange(int n);
  bool ShowRecord(int n);  // false on an open or read error
  void ApplyTemplate(const int* table);
  void ImportItemClick(int row);
  void PrItemExit(int index);
  void UpBtnClick();
  void DownBtnClick();
  void CheckRow(int row, bool on);
  void EncodingChange(Encoding e);
  void ExectClick();

  // ---- the runs ----
  store::TreeNode* OpenImportGroup(std::string name);
  void ImportCsv(const std::string& path);
  void ImportV1Book();
  void ImportEdMax();
  void ImportAlmail(const std::string& path);
  void ImportDatula(const std::string& path);
  void ImportVcard(const std::string& path);  // VcardImportLogic.cpp

  // For the command line: what SelectFileClick does once the file is chosen.
  void FileChosen(const std::string& path);
  // Sets the target of the row that reads column `source`; false when no
  // row reads it or the target is out of range.
  bool MapColumn(int source, int target);
  const std::string& LossReportText() const { return lossText_; }

  // ---- state ----
  std::string Caption = kImportCaption;
  ImportCaptions Captions;
  int Template = 0;
  std::string FileName;
  std::string InFileName;
  std::vector<MappingRow> Rows;
  int SelectedRow = -1;
  bool PrItemVisible = false;
  int PrItemIndex = 0;
  int RecNo = 1;
  bool OptionPnlEnabled = false;
  bool ImportItemVisible = true, OptionPnlVisible = true, MemoVisible = false, FolderVisible = false;
  bool SelectFileEnabled = true;
  std::string Memo;
  std::string Folder;
  Encoding EncodingWanted = Encoding::Auto;
  Encoding EncodingChosen = Encoding::Cp932;
  std::vector<LossEntry> LossReport;
  // Cards of the last run the book could not take, by name, with the
  // reason (a vCard without any e-mail address); shown with the losses.
  std::vector<LossEntry> SkipReport;
  std::function<bool(std::uint64_t done, std::uint64_t total)> Progress;
  bool Cancelled = false;  // the last run was cancelled

  // Counts of the last run, for the command line's summary.
  int CardsAdded = 0;   // cards new to the book
  int GroupsAdded = 0;  // groups created

  // Placement over the grid (from FormInit): -1 until known.
  int Left = -1, Top = -1, Width = -1, Height = -1;

  store::TAllList* Book() const { return book_; }

 private:
  // The frame shared by every run.
  // Unchecks every group and selects the first node; with openGroup also
  // finds or creates "(New Imported)" below it and makes it CurGroup. False
  // when the tree has no node to hold the import.
  bool BeginRun(bool openGroup);
  void EndRun(bool ok);
  // The same for a run over one import file: opens it (a failure is
  // reported and ends the run) and begins the run; false when nothing is to
  // be read. EndFileRun closes the file and ends the run, reporting a read
  // error.
  bool BeginFileRun(const std::string& path, bool openGroup);
  void EndFileRun();
  store::TreeNode* SelectedNode() const;
  void Select(store::TreeNode* node);
  void DeSelect();
  // Every card of every reader enters the book here.
  store::TAddrRec* Add(store::CardPtr card);
  bool Tick(const ImportFile& f);  // false: cancelled
  void CsvGroupPath(const std::string& v);
  // A first line whose every mapped field is its target's label.
  bool IsHeaderLine(const std::vector<std::string>& fields) const;
  void ImportV1File(store::TreeNode* node);
  void ImportV1Line(const std::string& line);
  bool ImportEdMaxFile(const std::string& base);
  bool ReadAlmailGroup(const std::string& name);
  bool ReadDatulaGroup(const std::string& name);
  void AlmailRecord(std::string line);
  void DatulaRecord(const std::string& line);
  void FileError(const std::string& name);
  void NoteLoss(const store::TAddrRec& card);
  void ShowLossReport();
  std::vector<std::string> AdrFiles(bool skipHidden) const;

  mainwin::TQ7AdrMan* main_ = nullptr;
  store::TAllList* book_ = nullptr;
  dlg::Dialogs* dialogs_ = nullptr;
  store::TreeNode* selected_ = nullptr;  // without a main window
  ImportFile file_;
  std::string lossText_;
  std::uint64_t tick_ = 0;
};

// Removes "?" placeholders' markers: every kLostChar in the card's text
// becomes "?"; returns the labels of the fields that held one. Every card
// of an import passes here, so it also turns each line break outside the
// note into a space (the address file holds one line per property) and
// each ';' inside an N or ADR component into ',' (it would split it).
std::vector<std::string> ScrubLoss(store::TAddrRec& card);

// The version-1 remarks' marker search (exposed for tests).
std::string TakeMarker(std::string& remarks, std::string_view marker);

}  // namespace imp
