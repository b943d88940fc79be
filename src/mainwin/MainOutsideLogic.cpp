// Changes another program (the mail client) makes to a loaded group's
// address files while this program runs: found by the same time-stamp
// comparison the save makes, merged only on the user's word.
#include "mainwin/MainFormLogic.h"

#include <algorithm>

#include "platform/FileSystem.h"

namespace mainwin {

std::vector<TQ7AdrMan::OutsideChange> TQ7AdrMan::OutsideChanged(const std::string& folder) const {
  std::vector<OutsideChange> out;
  if (!Book) return out;
  for (store::TreeNode* n : Book->Nodes.InOrder()) {
    // Top-level folders are never saved, so never asked about either.
    if (n->Level <= 0 || !n->Group) continue;
    const store::TGrpList& g = *n->Group;
    if (!folder.empty() && g.Path != folder) continue;
    std::int64_t newest = 0;
    const auto files = plat::fs::List(g.Path, "*.bab", plat::fs::Kind::Files);
    for (const auto& e : files)
      if (e.mtimeNs > g.FileAge && e.mtimeNs > newest) newest = e.mtimeNs;
    std::size_t removed = 0;
    for (const std::string& name : g.FileNames)
      if (std::none_of(files.begin(), files.end(), [&](const auto& e) { return e.name == name; })) ++removed;
    if (newest > 0 || removed > 0) out.push_back({n, newest, removed});
  }
  return out;
}

void TQ7AdrMan::MergeOutsideChange(store::TreeNode* node) {
  if (!Book || !node || !node->Group) return;
  const std::size_t cards = Book->Count();
  const std::size_t members = node->Group->Count();
  store::LoadGroup(*Book, node);
  if (Book->Count() != cards || node->Group->Count() != members) store::RecalcMarks(*Book);
  TblRedraw(-1);
}

std::vector<std::string> TQ7AdrMan::OutsideWatchPaths() const {
  std::vector<std::string> paths;
  if (!Book) return paths;
  for (store::TreeNode* n : Book->Nodes.InOrder()) {
    if (n->Level <= 0 || !n->Group || !plat::fs::DirExists(n->Group->Path)) continue;
    const std::string& dir = n->Group->Path;
    paths.push_back(plat::fs::ToDiskPath(dir));
    for (const auto& e : plat::fs::List(dir, "*.bab", plat::fs::Kind::Files))
      paths.push_back(plat::fs::ToDiskPath(dir + e.name));
  }
  return paths;
}

}  // namespace mainwin
