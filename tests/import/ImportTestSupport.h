// Shared by the import tests: a small book on disk, loading it, and a dump
// of every group with its cards as the address files would hold them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "import/ImportFormLogic.h"
#include "store/AddressFile.h"
#include "store/Book.h"
#include "support/TestSupport.h"

namespace importtest {

// The starting book: top-level folder Top with the group Friends holding
// alice@example.jp (Alice, one TEL) and bob@example.jp (Bob).
inline void WriteSmallBook(const std::string& root) {
  testsupport::WriteBytes(root + "Top/Friends/friends.bab",
                          "BEGIN:VCARD\r\nEMAIL;PREF:alice@example.jp\r\nFN:Alice\r\nTEL;WORK:03-0000-0001\r\n"
                          "END:VCARD\r\nBEGIN:VCARD\r\nEMAIL;PREF:bob@example.jp\r\nFN:Bob\r\nEND:VCARD\r\n");
}

inline void LoadBook(store::TAllList& book, const std::string& root, dlg::Dialogs& d, int combine = 0) {
  book.Root = root;
  book.Dialogs = &d;
  book.AdrCompFlg = combine;
  store::LoadTree(book);
}

// A node's captions from the top level down, joined by backslashes.
inline std::string PathOf(const store::TreeNode* n) {
  std::string path;
  for (; n; n = n->Parent) path = n->Caption + (path.empty() ? "" : "\\" + path);
  return path;
}

// Every group below the top level in tree order: "== path (nick) [checked]"
// and its cards as vCard blocks, CR LF turned into LF for readable files.
inline std::string Dump(const store::TAllList& book) {
  std::string out;
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    if (n->Level == 0) continue;
    out += "== " + PathOf(n);
    if (!n->Group->NickName.empty()) out += " (" + n->Group->NickName + ")";
    if (n->ImageIndex == store::kImgChecked) out += " [checked]";
    if (n->Group->Modified) out += " [modified]";
    out += "\n";
    for (const store::TAddrRec* c : n->Group->Cards()) out += store::CardToBytes(*c);
  }
  std::string lf;
  for (std::size_t i = 0; i < out.size(); ++i)
    if (!(out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n')) lf.push_back(out[i]);
  return lf;
}

inline std::string DumpRows(const imp::TImportForm& f) {
  std::string out;
  for (const imp::MappingRow& r : f.Rows)
    out += "row " + std::to_string(r.Source) + " -> " + std::to_string(r.TargetIndex) + " " + r.Target +
           (r.Checked ? " [x] " : " [ ] ") + r.Caption + "\n";
  return out;
}

}  // namespace importtest
