// Shared by the main window's and the card editor's logic tests: a book in
// a temporary folder, written as .bab bytes, and a started TQ7AdrMan.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/ViewLogic.h"
#include "mainwin/MainFormLogic.h"
#include "support/TestSupport.h"

namespace logictest {

// One vCard block; extra lines are given without CR LF.
inline std::string Vcard(const std::string& email, const std::string& fn,
                         const std::vector<std::string>& extra = {}) {
  std::string s = "BEGIN:VCARD\r\n";
  if (!email.empty()) s += "EMAIL;PREF:" + email + "\r\n";
  if (!fn.empty()) s += "FN:" + fn + "\r\n";
  for (const auto& l : extra) s += l + "\r\n";
  s += "END:VCARD\r\n";
  return s;
}

class LogicFixture : public ::testing::Test {
 protected:
  testsupport::TempDir tmp;
  testsupport::ScriptedDialogs dlg;
  std::unique_ptr<mainwin::TQ7AdrMan> main;
  std::vector<std::string> args;
  std::string mailto;

  // DataDir = tmp, so the book folder is tmp + "AddrBook/".
  std::string Root() const { return tmp.path() + "AddrBook/"; }
  std::string ProgDir() const { return tmp.path() + "prog/"; }
  std::string CurDir() const { return tmp.path() + "cur"; }  // without '/' on purpose
  std::string IniPath() const { return ProgDir() + "Q7Addr.ini"; }

  // rel: "Top/Group/file.bab" below the book folder.
  void Bab(const std::string& rel, const std::string& bytes) { testsupport::WriteBytes(Root() + rel, bytes); }
  void Dir(const std::string& rel) { std::filesystem::create_directories(Root() + rel); }
  void Ini(const std::string& bytes) { testsupport::WriteBytes(IniPath(), bytes); }

  void Start() {
    std::filesystem::create_directories(ProgDir());
    std::filesystem::create_directories(CurDir());
    mainwin::StartOptions o;
    o.Args = args;
    o.Config = plat::PlatformConfig{tmp.path(), "", mailto, ""};
    o.ProgramDir = ProgDir();
    o.CurrentDir = CurDir();
    main = std::make_unique<mainwin::TQ7AdrMan>(dlg, o);
    main->FormCreate();
  }

  store::TAllList& Book() { return *main->Book; }
  editor::TView& View() { return *main->View; }
  store::TreeNode* NodeNamed(const std::string& caption) {
    for (auto* n : Book().Nodes.InOrder())
      if (n->Caption == caption) return n;
    ADD_FAILURE() << "no node " << caption;
    return nullptr;
  }
  store::TGrpList& Group(const std::string& caption) { return *NodeNamed(caption)->Group; }
  // Checks exactly the named groups (below the top level) and redraws.
  void CheckOnly(const std::vector<std::string>& names) {
    for (auto* n : Book().Nodes.InOrder()) {
      if (n->Level == 0) continue;
      bool on = false;
      for (const auto& nm : names) on = on || n->Caption == nm;
      n->ImageIndex = n->SelectedIndex = on ? 1 : 0;
    }
    store::RecalcMarks(Book());
    main->TblRedraw(-1);
  }
  // Column c of every card row.
  std::vector<std::string> Column(int c) {
    std::vector<std::string> v;
    for (int r = 1; r < main->Tbl.RowCount(); ++r) v.push_back(main->Tbl.Cell(r, c));
    return v;
  }
  std::string CurrentAddr() { return main->Tbl.Cell(main->Tbl.Row, 1); }
  std::vector<std::string> GroupAddrs(const std::string& caption) {
    std::vector<std::string> v;
    for (auto* c : Group(caption).Cards()) v.push_back(c->PrefEmail);
    return v;
  }
};

// "ヂ" is 0x83 0x61: its trail byte is the ASCII letter 'a'.
inline const std::string kDi = "\x83\x61";
// "ア" is 0x83 0x41: its trail byte is 'A'.
inline const std::string kA = "\x83\x41";
// Full-width space, down arrow "↓", up arrow "↑".
inline const std::string kZenSpace = "\x81\x40";
inline const std::string kDown = "\x81\xab";
inline const std::string kUp = "\x81\xaa";

// The standard book of the main-window tests: top-level folder Personal with the groups Friends and
// Work. Friends lists c, a, b (file order); Work lists w1 and a (the same
// card as Friends' a: same address and name). Book order: a, b, c, w1.
class MainLogic : public LogicFixture {
 protected:
  void WriteStandardBook() {
    Bab("Personal/Friends/friends.bab",
        Vcard("c@x", "bob", {"NOTE:n-c", "X-OSTRA-NICKNAME:cc"}) + Vcard("a@x", "Alice", {"TEL;WORK:03-1"}) +
            Vcard("b@x", "BOB", {"NOTE:n-b"}));
    Bab("Personal/Work/work.bab", Vcard("w1@x", "Zed") + Vcard("a@x", "Alice"));
  }
  void StartStandard() {
    WriteStandardBook();
    Start();
  }
  int RowOf(const std::string& addr) {
    for (int r = 1; r < main->Tbl.RowCount(); ++r)
      if (main->Tbl.Cell(r, 1) == addr) return r;
    ADD_FAILURE() << "no row " << addr;
    return -1;
  }
  void Select(const std::string& addr) { main->TblSelectCell(RowOf(addr)); }
};


}  // namespace logictest
