// The options dialog's logic: TOptionSet without Qt.
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// TQ7AdrMan::OtherClick creates a TOptionSet, calls OptionInit (captions,
// radios from the book), hands it to MainHost::ShowOptionDialog, which shows
// OptionsWindow modally over the grid, and calls FormClose when that
// returns, so the radios reach the book however the window was closed.
//
// Controls -> members (all text CP932):
//   window caption            Caption
//   captions                  Captions.<control name>
//   the seven radio buttons   the bool members of the same name (one of
//                             each group is set)
//   PrtBtn, ImportBtn,        PrtBtnEnabled, ImportBtnEnabled,
//   ExportBtn enabled         ExportBtnEnabled
//   tooltips of those three   PrtBtnHint, ImportBtnHint, ExportBtnHint
// ImportBtn (enabled) -> ImportBtnClick (the import dialog over this one).
// PrtBtn (enabled) -> PrtBtnClick (the print window over this one).
// ExportBtn -> ExportBtnClick (the export the "Export Type" radios choose).
// Events: a radio chosen -> set its member and clear the others of its
// group (or call ChooseSendMode / ChooseCombine); EndBtn, Esc or the close
// box -> close the window (no handler needed).
#pragma once

#include <string>

namespace mainwin {
class TQ7AdrMan;
}

namespace options {

inline constexpr const char* kOptionWindowCaption = "Ostra Address Book Manager Option Setup";

struct OptionCaptions {
  // Set by OptionInit; the three radio texts stay as designed.
  std::string EndBtn;
  std::string PrtBtn;
  std::string ImportBtn;
  std::string GroupBox1;
  std::string Radio_Forward = "Name <mail@address>";
  std::string Radio_Behind = "mail@address (Name)";
  std::string Radio_only = "mail@address";
  std::string GroupBox2;
  std::string CombineWithAll;
  std::string CombineWithAddr;
  std::string GroupBox3;
  std::string RadioPrintText;
  std::string RadioCSV;
  std::string ExportBtn;
};

class TOptionSet {
 public:
  // Remembers the main window and its book, sets the captions and chooses
  // the radios from AdrSendMode and AdrCompFlg.
  void OptionInit(mainwin::TQ7AdrMan& main);
  // Every close: the chosen radios into the book.
  void FormClose();

  // A radio chosen by the user (0 Radio_only, 1 Radio_Behind, 2
  // Radio_Forward; 0 CombineWithAll, 1 CombineWithAddr).
  void ChooseSendMode(int mode);
  void ChooseCombine(int flag);
  // Import(&R): the main window's "Import" command, over this dialog.
  void ImportBtnClick();
  // Pritn(&P): the main window's "Print" command, over this dialog.
  void PrtBtnClick();
  // Export(&E): "Text of Print Layout" opens the text export window, "Text
  // of CSV Format" writes the CSV file, over this dialog.
  void ExportBtnClick();
  // What FormClose writes, from the radios as they are.
  int SendModeChosen() const;
  int CombineChosen() const;

  std::string Caption = kOptionWindowCaption;
  OptionCaptions Captions;
  bool Radio_Forward = true, Radio_Behind = false, Radio_only = false;
  bool CombineWithAll = true, CombineWithAddr = false;
  bool RadioPrintText = true, RadioCSV = false;  // what Export(&E) writes
  bool PrtBtnEnabled = false, ImportBtnEnabled = false, ExportBtnEnabled = false;
  std::string PrtBtnHint, ImportBtnHint, ExportBtnHint;

 private:
  mainwin::TQ7AdrMan* main_ = nullptr;
};

}  // namespace options
