#include "groups/GroupsLogic.h"

#include <algorithm>

#include "mainwin/MainFormLogic.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Sjis.h"

namespace groups {

using store::TGrpList;
using store::TreeNode;

void DeleteGroupFolder(const std::string& path) {
  for (const char* name : {"Group.idx", "Group.ini", "Address.ini"}) plat::fs::Delete(path + name);
  for (const char* pattern : {"*.bab", "*.bak"})
    for (const auto& e : plat::fs::List(path, pattern, plat::fs::Kind::Files)) plat::fs::Delete(path + e.name);
  plat::fs::RemoveDir(path);  // fails, and keeps the folder, while anything else is in it
}

bool IsDotName(const std::string& typed) {
  std::string cleaned = typed;
  store::StripBadChars(cleaned);
  if (cleaned == "." || cleaned == "..") return true;
  // StripBadChars empties "." and ".." itself; nothing else it can leave
  // empty holds a dot.
  return cleaned.empty() && typed.find('.') != std::string::npos;
}

std::string DotNameMessage(const std::string& typed) {
  return "Group<" + typed + ">" + "can not be used as a folder name.";
}

std::string TooDeepMessage() {
  return "Groups can not be nested more than " + std::to_string(store::kMaxLevels - 1) + " levels deep.";
}

namespace {

std::string WithoutSlash(std::string path) {
  if (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

TGrpView::TGrpView(mainwin::TQ7AdrMan& main) : main_(main), book_(main.book()) {
  FillGrpTbl();
  ItemIndex = 0;
}

int TGrpView::FillWidth() const { return 2 * book_.Nodes.MaxLevel() + 2; }

std::string TGrpView::TreeText(int nodeIndex, int width) const {
  const TreeNode* n = book_.Nodes.Node(nodeIndex);
  return n && n->Group ? store::GroupTreeText(*n->Group, width, true) : std::string();
}

void TGrpView::FillGrpTbl() {
  Rows.clear();
  Rows.reserve(static_cast<std::size_t>(book_.Nodes.Count()) + 1);
  GrpRow root;
  root.Cols[0] = "+-";
  root.Cols[1] = "AddrBook";
  Rows.push_back(std::move(root));
  const int width = FillWidth();
  for (int i = 0; i < book_.Nodes.Count(); ++i) AddGrpRow(i, width, false);
  ++Revision;
}

void TGrpView::AddGrpRow(int index, int width, bool mark) {
  const TreeNode* n = book_.Nodes.Node(index);
  if (!n) return;
  GrpRow row;
  row.Cols[0] = TreeText(index, width);
  row.Cols[1] = n->Caption;
  if (n->Group) {
    if (mark) n->Group->Modified = true;
    row.Cols[2] = n->Group->NickName;
    row.Cols[3] = n->Group->Modified ? " #" : "";
  }
  const std::size_t at = std::min(Rows.size(), static_cast<std::size_t>(index) + 1);
  Rows.insert(Rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
  ++Revision;
}

// Every row's tree drawing from the tree as it is now. An added group may
// change the drawing of rows far from it (a deeper level widens every row,
// a new last child turns its sibling's corner into a tee), and adding a
// top-level group re-sorts the whole tree.
void TGrpView::RedrawTree() {
  const int width = FillWidth();
  for (int i = 0; i < book_.Nodes.Count() && static_cast<std::size_t>(i) + 1 < Rows.size(); ++i)
    Rows[static_cast<std::size_t>(i) + 1].Cols[0] = TreeText(i, width);
}

TreeNode* TGrpView::SelectedNode() const {
  if (ItemIndex < 1) return nullptr;
  return book_.Nodes.Node(ItemIndex - 1);
}

void TGrpView::AddGroupClick() {
  // 1.
  if (ItemIndex < 0 || ItemIndex >= static_cast<int>(Rows.size())) ItemIndex = 0;
  // 2.
  dlg::Dialogs& d = main_.dialogs();
  std::optional<std::string> input = d.InputBox("Add New Group", "Enter Group New Name", "");
  if (!input) return;
  std::string name = *input;
  if (IsDotName(name)) {
    d.MessageBox(DotNameMessage(name), dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // 3.-5.
  const int parent = ItemIndex - 1;
  const int j = store::FindChildGroup(book_, name, parent);
  if (j >= 0) {
    ItemIndex = j + 1;
    return;
  }
  if (name.empty()) return;
  // 6.
  const int k = store::AddGroup(book_, name, parent);
  if (k < 0) {
    d.MessageBox(TooDeepMessage(), dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // The sort inside AddGroup keeps the other nodes' order while the tree
  // was sorted; a rename may have left it unsorted, so the rows follow the
  // tree anew instead of only taking the new one in.
  if (TreeNode* n = book_.Nodes.Node(k); n && n->Group) n->Group->Modified = true;
  FillGrpTbl();
  // 7.-8.
  ItemIndex = k + 1;
  ++TreeRevision;
  main_.GroupTreeChanged();
}

void TGrpView::DelGroupClick() {
  TreeNode* node = SelectedNode();
  if (!node || !node->Group) return;
  TGrpList* group = node->Group;
  dlg::Dialogs& d = main_.dialogs();
  // 1.
  if (node->HasChildren()) {
    d.MessageBox(node->Caption + "\r\nhas Chiled Group. Can net Delete.", dlg::BoxType::Confirmation,
                 {dlg::Button::Ok});
    return;
  }
  // 2.
  if (group->Count() == 0) {
    if (d.MessageBox(node->Caption + "\r\nto delete. Are you Okey?", dlg::BoxType::Confirmation,
                     {dlg::Button::Yes, dlg::Button::No}) != dlg::Button::Yes)
      return;
  } else {
    // " 件所属しています" and "先に所属を抹消して下さい。" in CP932: so many
    // cards belong to the group; remove their membership first.
    const std::string text = node->Caption + "\r\nHas " + std::to_string(group->Count()) +
                             " \x8c\x8f\x8f\x8a\x91\xae\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7\r\n"
                             "\x90\xe6\x82\xc9\x8f\x8a\x91\xae\x82\xf0\x96\x95\x8f\xc1\x82\xb5\x82\xc4"
                             "\x89\xba\x82\xb3\x82\xa2\x81\x42";
    if (d.MessageBox(text, dlg::BoxType::Confirmation, {dlg::Button::Ok, dlg::Button::Ignore}) !=
        dlg::Button::Ignore)
      return;
  }
  // 3.
  if (d.MessageBox(node->Caption + "\r\nDelete from disk. Are you Okey?", dlg::BoxType::Confirmation,
                   {dlg::Button::Yes, dlg::Button::No}) != dlg::Button::Yes)
    return;
  // 4. The cards stay in the book and in the other groups that list them.
  const int row = ItemIndex;
  DeleteGroupFolder(group->Path);
  main_.GroupRemoving(group);
  book_.Nodes.Remove(node);
  book_.RemoveGroup(group);
  Rows.erase(Rows.begin() + row);
  ++Revision;
  RedrawTree();
  ItemIndex = row - 1;
  ++TreeRevision;
  main_.GroupTreeChanged();
}

void TGrpView::RenameBtnClick() {
  TreeNode* node = SelectedNode();
  if (!node || !node->Group || node->Level < 1 || !node->Parent || !node->Parent->Group) return;
  dlg::Dialogs& d = main_.dialogs();
  // 1.
  std::optional<std::string> input = d.InputBox("Modify Group Name", "Enter Group New Name", node->Caption);
  if (!input) return;
  std::string name = *input;
  if (IsDotName(name)) {
    d.MessageBox(DotNameMessage(name), dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // A folder name cannot hold what a new group's name may not hold either.
  store::StripBadChars(name);
  if (name.empty()) return;
  // 2.
  if (sjis::EqualsIgnoreCase(name, node->Caption)) return;
  // 3.
  const std::string base = node->Parent->Group->Path;
  const std::string exists = "Group<" + name + ">" + "is already exist.";
  if (plat::fs::Exists(base + name)) {
    d.MessageBox(exists, dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // 4. The siblings, the node itself included.
  if (book_.Nodes.FindChild(node->Parent, name)) {
    d.MessageBox(exists, dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // 5. A folder not written yet (a new group) has nothing on disk to rename.
  TGrpList& g = *node->Group;
  const std::string oldPath = g.Path;
  const std::string newPath = base + name + "/";
  if (plat::fs::DirExists(oldPath) && !plat::fs::RenameDir(WithoutSlash(oldPath), base + name)) {
    d.MessageBox(WithoutSlash(oldPath) + "\r\nCan not rename folder.", dlg::BoxType::Error, {dlg::Button::Ok});
    return;
  }
  // 6. The group and every group below it now lie under the new name.
  for (int i = node->AbsIndex; i < book_.Nodes.Count(); ++i) {
    TreeNode* n = book_.Nodes.Node(i);
    if (i > node->AbsIndex && n->Level <= node->Level) break;
    if (!n->Group || n->Group->Path.compare(0, oldPath.size(), oldPath) != 0) continue;
    book_.SetGroupPath(*n->Group, newPath + n->Group->Path.substr(oldPath.size()));
  }
  book_.Nodes.Rename(node, name);
  Rows[static_cast<std::size_t>(ItemIndex)].Cols[1] = name;
  ++TreeRevision;
  main_.GroupTreeChanged();
}

void TGrpView::NicEditClick() {
  TreeNode* node = SelectedNode();
  if (!node || !node->Group || node->Level < 1) return;
  TGrpList& g = *node->Group;
  std::optional<std::string> input = main_.dialogs().InputBox("Modify NicName", "Enter NicName", g.NickName);
  if (!input || *input == g.NickName) return;
  g.NickName = *input;
  g.Modified = true;
  GrpRow& row = Rows[static_cast<std::size_t>(ItemIndex)];
  row.Cols[2] = g.NickName;
  row.Cols[3] = " #";
}

}  // namespace groups
