// The main window's print and text-export commands: each opens a fresh
// print setup window over the grid and frees it when it closes.
#include "mainwin/MainFormLogic.h"
#include "print/PrintSetupLogic.h"

namespace mainwin {

namespace {

void OpenPrintSetup(TQ7AdrMan& main, bool exportMode) {
  if (!main.Book || !main.Host) return;
  const print::MainGridRows grid(main);
  print::TPrintSetup setup(main.dialogs(), *main.Book, main.SettingsFolder + kSettingsFile, &grid);
  if (exportMode) setup.SetExportMode();
  main.Host->ShowPrintSetup(setup);
}

}  // namespace

void TQ7AdrMan::GoPrintClick() { OpenPrintSetup(*this, false); }

void TQ7AdrMan::TextExportClick() { OpenPrintSetup(*this, true); }

}  // namespace mainwin
