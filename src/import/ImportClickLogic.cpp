// The main window's "Import" command (popup menu, options dialog).
#include "editor/ViewLogic.h"
#include "import/ImportFormLogic.h"
#include "mainwin/MainFormLogic.h"

namespace mainwin {

void TQ7AdrMan::ImportClick() {
  if (!Book) return;
  {
    imp::TImportForm dialog;
    dialog.FormInit(*this);
    if (Host) Host->ShowImportDialog(dialog);
  }
  // New groups moved the tree's rows: the editor's group list and the
  // current row are taken up again.
  ++TreeRevision;
  if (View) View->FillEntryGroup(*Book);
  TblSelectCell(Tbl.Row);
}

}  // namespace mainwin
