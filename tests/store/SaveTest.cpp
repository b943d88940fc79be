#include "store/Save.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "support/TestSupport.h"

using namespace store;
using testsupport::Exists;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::string Card(const std::string& email, const std::string& fn) {
  return "BEGIN:VCARD\r\nEMAIL;PREF:" + email + "\r\nFN:" + fn + "\r\nEND:VCARD\r\n";
}

// Sets a file's time stamp one minute into the future, as a write by the
// mail client after loading would.
void TouchLater(const std::string& path) {
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  struct utimbuf t {st.st_atime + 60, st.st_mtime + 60};
  ASSERT_EQ(::utime(path.c_str(), &t), 0);
}

struct Book {
  testsupport::ScriptedDialogs dialogs;
  TAllList book;
  explicit Book(const std::string& root) {
    book.Root = root;
    book.Dialogs = &dialogs;
    LoadTree(book);
  }
  TreeNode* Find(const std::string& caption) const {
    for (TreeNode* n : book.Nodes.InOrder())
      if (n->Caption == caption) return n;
    return nullptr;
  }
};

}  // namespace

TEST(Save, AllCardsIntoFirstFileOthersEmptiedBackupsKept) {
  TempDir dir;
  const std::string g = dir / "AddrBook/T/G/";
  WriteBytes(g + "a.bab", Card("a@x", "A"));
  WriteBytes(g + "b.bab", Card("b@x", "B"));
  WriteBytes(g + "empty.bab", "");
  Book b(dir / "AddrBook/");
  TreeNode* n = b.Find("G");
  const auto listed = plat::fs::List(g, "*.bab", plat::fs::Kind::Files);
  ASSERT_EQ(listed.size(), 3u);
  const std::string firstListed = listed.front().name;
  n->Group->Modified = true;
  ASSERT_TRUE(SaveGroup(b.book, n));
  EXPECT_FALSE(n->Group->Modified);
  EXPECT_TRUE(b.dialogs.boxes.empty());
  // Whatever file the listing gave first holds every card, in group order.
  std::string expected;
  for (const TAddrRec* c : n->Group->Cards()) expected += CardToBytes(*c);
  EXPECT_EQ(n->Group->Count(), 2u);
  EXPECT_EQ(ReadBytes(g + firstListed), expected);
  for (const auto& e : listed) {
    if (e.name == firstListed) continue;
    EXPECT_EQ(ReadBytes(g + e.name), "") << e.name;
  }
  EXPECT_EQ(ReadBytes(g + "a.bak"), Card("a@x", "A"));
  EXPECT_EQ(ReadBytes(g + "b.bak"), Card("b@x", "B"));
  EXPECT_EQ(Exists(g + "empty.bak"), firstListed == "empty.bab");  // size-0 files are left alone

  // Saving again asks nothing: the written files are not "newer".
  n->Group->Modified = true;
  ASSERT_TRUE(SaveGroup(b.book, n));
  EXPECT_TRUE(b.dialogs.boxes.empty());
}

TEST(Save, OutsideChangeAnswers) {
  struct Case {
    dlg::Button answer;
    bool written;
    std::size_t cards;  // in the file afterwards
  } cases[] = {
      {dlg::Button::Yes, true, 2},     // merge the client's card, then write
      {dlg::Button::Ignore, true, 1},  // overwrite the client's change
      {dlg::Button::Cancel, false, 0},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string g = dir / "AddrBook/T/Work/";
    WriteBytes(g + "w.bab", Card("a@x", "A"));
    Book b(dir / "AddrBook/");
    TreeNode* n = b.Find("Work");
    n->Group->Modified = true;
    const std::string clientBytes = Card("a@x", "A") + Card("c@x", "Client");
    WriteBytes(g + "w.bab", clientBytes);
    TouchLater(g + "w.bab");
    b.dialogs.answers.push_back(c.answer);
    EXPECT_EQ(SaveGroup(b.book, n), c.written);
    ASSERT_EQ(b.dialogs.boxes.size(), 1u);
    EXPECT_EQ(b.dialogs.boxes[0].text, "Work\r\nGroup is modified by Q7\r\nAre you reload?");
    EXPECT_EQ(b.dialogs.boxes[0].type, dlg::BoxType::Warning);
    EXPECT_EQ(b.dialogs.boxes[0].buttons,
              (dlg::Buttons{dlg::Button::Yes, dlg::Button::Cancel, dlg::Button::Ignore}));
    EXPECT_EQ(n->Group->Modified, !c.written);
    const std::string now = ReadBytes(g + "w.bab");
    if (!c.written) {
      EXPECT_EQ(now, clientBytes);
      EXPECT_FALSE(Exists(g + "w.bak"));
    } else {
      std::size_t count = 0;
      for (std::size_t p = now.find("BEGIN:VCARD"); p != std::string::npos; p = now.find("BEGIN:VCARD", p + 1)) ++count;
      EXPECT_EQ(count, c.cards);
      EXPECT_EQ(ReadBytes(g + "w.bak"), clientBytes);
    }
  }
}

TEST(Save, NewGroupGetsFolderAndHalfWidthFileName) {
  TempDir dir;
  WriteBytes(dir / "AddrBook/T/x.bab", "");
  Book b(dir / "AddrBook/");
  // "ABC" in full-width letters
  const int k = AddGroup(b.book, "\x82\x60\x82\x61\x82\x62", 0);
  TreeNode* n = b.book.Nodes.Node(k);
  CardPtr c = NewCard();
  c->PrefEmail = "n@x";
  b.book.CurGroup = n->Group;
  b.book.AddCard(std::move(c), true);
  ASSERT_TRUE(SaveGroup(b.book, n));
  const std::string folder = plat::fs::ToDiskPath(n->Group->Path);
  EXPECT_EQ(ReadBytes(folder + "ABC.bab"), "BEGIN:VCARD\r\nEMAIL;PREF:n@x\r\nEND:VCARD\r\n");
  EXPECT_FALSE(Exists(folder + "Group.ini"));  // an unchanged empty nickname writes nothing
  n->Group->NickName = "nick";
  n->Group->Modified = true;
  ASSERT_TRUE(SaveGroup(b.book, n));
  EXPECT_EQ(ReadBytes(folder + "Group.ini"), "[Settings]\r\nNickName=nick\r\n");
}

TEST(Save, BackupFailureLeavesFileAndGroupModified) {
  TempDir dir;
  const std::string g = dir / "AddrBook/T/G/";
  WriteBytes(g + "a.bab", Card("a@x", "A"));
  Book b(dir / "AddrBook/");
  TreeNode* n = b.Find("G");
  n->Group->Modified = true;
  std::filesystem::create_directory(g + "a.bak");  // a backup that cannot be deleted
  EXPECT_FALSE(SaveGroup(b.book, n));
  ASSERT_EQ(b.dialogs.boxes.size(), 1u);
  EXPECT_EQ(b.dialogs.boxes[0].text, "a.bab\r\nCan not delete old file.");
  EXPECT_EQ(b.dialogs.boxes[0].type, dlg::BoxType::Error);
  EXPECT_TRUE(n->Group->Modified);
  EXPECT_EQ(ReadBytes(g + "a.bab"), Card("a@x", "A"));  // untouched
}

namespace {

// While alive, no new file descriptor can be opened (rename still works):
// the one way to make creating a file fail after its backup was made, for a
// test that runs as root.
class NoNewFiles {
 public:
  NoNewFiles() {
    getrlimit(RLIMIT_NOFILE, &old_);
    const int probe = ::dup(0);
    ::close(probe);
    struct rlimit r = old_;
    r.rlim_cur = static_cast<rlim_t>(probe);
    setrlimit(RLIMIT_NOFILE, &r);
  }
  ~NoNewFiles() { setrlimit(RLIMIT_NOFILE, &old_); }

 private:
  struct rlimit old_ {};
};

}  // namespace

TEST(Save, FileCreateErrorLeavesTheOldFileInPlace) {
  TempDir dir;
  const std::string g = dir / "AddrBook/T/G/";
  WriteBytes(g + "a.bab", Card("a@x", "A"));
  Book b(dir / "AddrBook/");
  TreeNode* n = b.Find("G");
  bool ok = true;
  {
    NoNewFiles guard;
    ok = SaveGroupFile(b.book, *n->Group, g + "a.bab", false);
  }
  EXPECT_FALSE(ok);
  ASSERT_EQ(b.dialogs.boxes.size(), 1u);
  EXPECT_EQ(b.dialogs.boxes[0].text, "a.bab\r\nFile create error");
  // Nothing was moved away before the new file existed.
  EXPECT_EQ(ReadBytes(g + "a.bab"), Card("a@x", "A"));
  EXPECT_FALSE(Exists(g + "a.bak"));

  // A directory standing where a new group's file must go.
  const int k = AddGroup(b.book, "New", 0);
  TreeNode* fresh = b.book.Nodes.Node(k);
  std::filesystem::create_directories(plat::fs::ToDiskPath(fresh->Group->Path) + "New.bab");
  fresh->Group->Modified = true;
  EXPECT_FALSE(SaveGroup(b.book, fresh));
  EXPECT_TRUE(fresh->Group->Modified);
  EXPECT_EQ(b.dialogs.boxes.back().text, "New.bab\r\nFile create error");
}

TEST(Save, ZenToHanTable) {
  std::string zen, han;
  for (unsigned c = 0x8260; c <= 0x8279; ++c) zen += {static_cast<char>(c >> 8), static_cast<char>(c & 0xff)};
  for (unsigned c = 0x8281; c <= 0x829A; ++c) zen += {static_cast<char>(c >> 8), static_cast<char>(c & 0xff)};
  for (unsigned c = 0x824F; c <= 0x8258; ++c) zen += {static_cast<char>(c >> 8), static_cast<char>(c & 0xff)};
  zen += "\x81\x49\x81\x94\x81\x90\x81\x93\x81\x95\x81\x69\x81\x6a\x81\x7c\x81\x81\x81\x4f\x81\x6f\x81\x70\x81\x6d"
         "\x81\x6e\x81\x97";
  EXPECT_EQ(ZenToHan(zen), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!#$%&()-=^{}[]@");
  // Other double-byte characters pass whole, even when a trail byte looks
  // like a table lead: 表 (0x95 0x5C) then 友 (0x97 0x46).
  EXPECT_EQ(ZenToHan("a\x95\x5c\x97\x46z"), "a\x95\x5c\x97\x46z");
  EXPECT_EQ(ZenToHan("\x82"), "\x82");  // a lone lead byte at the end stays
}

TEST(Save, SetNewFileAndBackupPaths) {
  TempDir dir;
  testsupport::ScriptedDialogs d;
  TSaveDlg s(&d);
  EXPECT_FALSE(s.SetNewFile("Text files (*.txt)|*.txt"));  // cancelled
  EXPECT_EQ(s.DefaultExt, "txt");
  WriteBytes(dir / "out.txt", "old");
  d.inputs.push_back(dir / "out.txt");
  ASSERT_TRUE(s.SetNewFile("Text files (*.txt)|*.txt"));
  ASSERT_TRUE(s.CreateFile());
  s.Out.WriteLine("new");
  ASSERT_TRUE(s.Commit());
  EXPECT_EQ(ReadBytes(dir / "out.bak"), "old");
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "new\r\n");
  EXPECT_EQ(BackupPath("/a.b/c"), "/a.b/c.bak");
  EXPECT_EQ(BackupPath("/a/Friends.bab"), "/a/Friends.bak");
}
