// The main window's commands that open the group and options dialogs, and
// how the main window follows the group dialog's changes of the tree.
#include "editor/ViewLogic.h"
#include "groups/GroupsLogic.h"
#include "mainwin/MainFormLogic.h"
#include "options/OptionsLogic.h"

namespace mainwin {

void TQ7AdrMan::GroupEditClick() {
  if (!Book) return;
  {
    groups::TGrpView dialog(*this);
    if (Host) Host->ShowGroupDialog(dialog);
  }
  if (View) View->FillEntryGroup(*Book);
  TblSelectCell(Tbl.Row);
}

void TQ7AdrMan::OtherClick() {
  if (!Book) return;
  options::TOptionSet dialog;
  dialog.OptionInit(*this);
  if (Host) Host->ShowOptionDialog(dialog);
  // However the dialog was closed, the choice is kept.
  dialog.FormClose();
}

void TQ7AdrMan::GroupRemoving(store::TGrpList* group) {
  if (!Book || !group) return;
  store::TreeNode* node = group->Node;
  if (Selected && Selected == node) Selected = nullptr;
  if (Book->CurGroup == group) Book->CurGroup = nullptr;
  if (Book->SingleGroup == group) Book->SingleGroup = nullptr;
  // The cards of a checked group are shown because of it; without it the
  // marks are those of the groups that stay checked.
  if (node && node->ImageIndex == store::kImgChecked) {
    node->ImageIndex = node->SelectedIndex = store::kImgUnchecked;
    store::RecalcMarks(*Book);
  }
}

void TQ7AdrMan::GroupTreeChanged() {
  if (!Book) return;
  ++TreeRevision;
  // The editor's rows stand for the nodes by index, which have moved.
  if (View) View->FillEntryGroup(*Book);
  // The current card stays current; its group checks are drawn anew.
  TblRedraw(-1);
}

}  // namespace mainwin
