// The group dialog's logic: TGrpView without Qt.
//
// HOW THE QT LAYER USES THIS CLASS
// ---------------------------------
// TQ7AdrMan::GroupEditClick creates one TGrpView on the stack (the
// constructor is the dialog's creation: captions, columns, FillGrpTbl, row 0
// selected), hands it to MainHost::ShowGroupWindow, which shows
// GroupsWindow modally over the grid, and drops it when that returns.
//
// Controls -> members (all text CP932):
//   window caption          Caption
//   button and label texts  Captions.<control name>
//   GrpTbl                  Rows (Rows[r].Cols[0..3]; row 0 is the book
//                           folder), Titles[0..3], ColWidths[3] (the others
//                           are fitted to their content by the widget), the
//                           selected row ItemIndex (-1: none)
//
// Events -> handlers: EndBtn closes the window (no handler needed); AddGroup,
// DelGroup, RenameBtn, NicName and a double click or Enter on a GrpTbl row
// call AddGroupClick, DelGroupClick, RenameBtnClick, NicEditClick. Before a
// handler write the table's current row into ItemIndex. After every handler
// read Rows (reset the model when Revision changed, else repaint), select
// ItemIndex and give GrpTbl the focus; when TreeRevision changed, the main
// window's tree, the editor's group list and the grid have been refreshed
// by the logic (TQ7AdrMan::GroupTreeChanged): refresh the main window too.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "store/Book.h"

namespace mainwin {
class TQ7AdrMan;
}

namespace groups {

inline constexpr const char* kGroupWindowCaption = "Ostra Address Book Manager Group Window";

struct GrpCaptions {
  std::string EndBtn = "Ret(&X)";
  std::string Label1 = "Group";
  std::string AddGroup = "Add(&G)";
  std::string DelGroup = "Del(&K)";
  std::string RenameBtn = "Rename(&R)";
  std::string NicName = "Nic&Name";
};

struct GrpRow {
  std::array<std::string, 4> Cols;  // tree drawing, folder name, nickname, " #"
};

// Deletes a group's own files (Group.idx, Group.ini, Address.ini, every
// *.bab and *.bak) and then the folder, which stays when anything else is
// left in it. Silent; missing files are no error.
void DeleteGroupFolder(const std::string& path);

// True when a typed group name is "." or ".." once the characters a group
// name must not hold are taken out: such a name would not be a folder of
// its own below the parent.
bool IsDotName(const std::string& typed);
// The refusal shown for such a name.
std::string DotNameMessage(const std::string& typed);
// Told when a group would lie deeper than a book's folders are loaded.
std::string TooDeepMessage();

class TGrpView {
 public:
  // The creation with the main window: captions, columns, the table, row 0.
  explicit TGrpView(mainwin::TQ7AdrMan& main);

  void FillGrpTbl();
  void AddGrpRow(int index, int width, bool mark);

  void AddGroupClick();
  void DelGroupClick();
  void RenameBtnClick();
  void NicEditClick();

  // ---- the controls ----
  std::string Caption = kGroupWindowCaption;
  GrpCaptions Captions;
  std::array<std::string, 4> Titles{"", "GroupName", "NicName", "Edit"};
  std::array<int, 4> ColWidths{-1, -1, -1, 40};  // -1: fitted to the content
  std::vector<GrpRow> Rows;
  int ItemIndex = -1;
  std::uint64_t Revision = 0;      // increases when rows are inserted or removed
  std::uint64_t TreeRevision = 0;  // increases with every change of the group tree

 private:
  // The width of the tree drawing: two characters a level and the root's.
  int FillWidth() const;
  std::string TreeText(int nodeIndex, int width) const;
  void RedrawTree();
  store::TreeNode* SelectedNode() const;

  mainwin::TQ7AdrMan& main_;
  store::TAllList& book_;
};

}  // namespace groups
