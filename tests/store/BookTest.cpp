#include "store/Book.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include <filesystem>

#include "platform/Collate.h"
#include "platform/FileSystem.h"
#include "platform/IoFault.h"
#include "support/TestSupport.h"

using namespace store;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::string Card(const std::string& email, const std::string& fn, const std::string& extra = "") {
  return "BEGIN:VCARD\r\nEMAIL;PREF:" + email + "\r\nFN:" + fn + "\r\n" + extra + "END:VCARD\r\n";
}

struct Loaded {
  testsupport::ScriptedDialogs dialogs;
  TAllList book;
  explicit Loaded(const std::string& root, int combine = 0) {
    book.Root = root;
    book.Dialogs = &dialogs;
    book.AdrCompFlg = combine;
    LoadTree(book);
  }
  TreeNode* Find(const std::string& caption) const {
    for (TreeNode* n : book.Nodes.InOrder())
      if (n->Caption == caption) return n;
    return nullptr;
  }
  std::vector<std::string> Emails() const {
    std::vector<std::string> out;
    for (const TAddrRec* c : book.Cards()) out.push_back(c->PrefEmail);
    return out;
  }
};

std::vector<std::string> Captions(const TAllList& b) {
  std::vector<std::string> out;
  for (const TreeNode* n : b.Nodes.InOrder()) out.push_back(std::to_string(n->Level) + n->Caption);
  return out;
}

}  // namespace

TEST(Book, LoadsNestedGroupsRedirectionNicknamesAndSharedCards) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "Top/Friends/a.bab", Card("b@x", "Bee") + Card("A@x", "Ay"));
  WriteBytes(root + "Top/Friends/Group.ini", "[Settings]\r\nNickName=fr\r\n");
  WriteBytes(root + "Top/Friends/Deep/d.bab", Card("b@x", "Bee", "TEL;HOME:1\r\n"));
  // A redirected top-level folder reads its files and subfolders elsewhere.
  WriteBytes(root + "Moved/Address.ini", "[Settings]\r\nPath=" + dir.path() + "Elsewhere/\r\n");
  WriteBytes(root + "Moved/ignored.bab", Card("ignored@x", "No"));
  WriteBytes(dir / "Elsewhere/top.bab", Card("c@x", "Cee"));
  WriteBytes(dir / "Elsewhere/Sub/s.bab", Card("a@x", "Ay"));
  Loaded l(root);
  EXPECT_EQ(Captions(l.book), (std::vector<std::string>{"0Moved", "1Sub", "0Top", "1Friends", "2Deep"}));
  EXPECT_EQ(l.Find("Moved")->ImageIndex, kImgFolder);
  EXPECT_EQ(l.Find("Moved")->Group->Path, dir.path() + "Elsewhere/");
  EXPECT_EQ(l.Find("Friends")->Group->NickName, "fr");
  // Sub is read before Friends, so its a@x comes first and Friends' A@x (same
  // name) merges into it; keys compare ignoring case.
  EXPECT_EQ(l.Emails(), (std::vector<std::string>{"a@x", "b@x", "c@x"}));
  EXPECT_TRUE(l.Find("Friends")->Group->Contains(l.book.At(0)));
  const TAddrRec* b = l.book.At(1);
  EXPECT_TRUE(l.Find("Friends")->Group->Contains(b));
  EXPECT_TRUE(l.Find("Deep")->Group->Contains(b));  // one card, two groups
  EXPECT_EQ(GetValue(b->Tel, "HOME"), "1");          // merged from the second file
  EXPECT_EQ(l.Find("Sub")->Group->Count(), 1u);
  EXPECT_GT(l.Find("Friends")->Group->FileAge, 0);
  EXPECT_TRUE(l.dialogs.boxes.empty());

  // A second load adds nothing known and no card twice.
  WriteBytes(root + "Top/New/n.bab", Card("n@x", "En"));
  LoadTree(l.book);
  EXPECT_EQ(l.book.Nodes.Count(), 6);
  EXPECT_EQ(l.book.Count(), 4u);
  EXPECT_EQ(l.Find("Friends")->Group->Count(), 2u);
}

TEST(Book, CombineRuleAndEqualKeyOrder) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "T/G/a.bab",
             Card("same@x", "One", "TEL;WORK:1\r\n") + Card("SAME@x", "Two") + Card("same@x", "One", "TEL;WORK:9\r\nTEL;FAX:2\r\n") +
                 "BEGIN:VCARD\r\nFN:no address\r\nEND:VCARD\r\n" +
                 "BEGIN:VCARD\r\nEMAIL;INTERNET:first@x\r\nEMAIL:second@x\r\nEND:VCARD\r\n");
  {
    Loaded l(root, 0);
    ASSERT_EQ(l.book.Count(), 3u);  // the card without address is dropped
    EXPECT_EQ(l.book.At(0)->PrefEmail, "first@x");
    EXPECT_EQ(l.book.At(0)->Email.size(), 1u);
    EXPECT_EQ(GetValue(l.book.At(1)->FN, ""), "One");  // equal keys in the order they came
    EXPECT_EQ(GetValue(l.book.At(2)->FN, ""), "Two");
    EXPECT_EQ(GetValue(l.book.At(1)->Tel, "WORK"), "1");  // the first card's entries win
    EXPECT_EQ(GetValue(l.book.At(1)->Tel, "FAX"), "2");
    EXPECT_EQ(l.Find("G")->Group->Count(), 3u);
  }
  Loaded l(root, 1);
  EXPECT_EQ(l.book.Count(), 2u);  // one address, one card
}

TEST(Book, FindAndAddGroup) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "Top/Beta/x.bab", "");
  WriteBytes(root + "Top/Delta/x.bab", "");
  WriteBytes(root + "Zed/x.bab", "");
  Loaded l(root);
  std::string name = "be:ta";
  EXPECT_EQ(FindChildGroup(l.book, name, 0), 1);  // cleaned, any ASCII case
  EXPECT_EQ(name, "beta");
  name = "::";
  EXPECT_EQ(FindChildGroup(l.book, name, 0), -1);
  EXPECT_EQ(name, "");
  name = "Zed";
  EXPECT_EQ(FindChildGroup(l.book, name, 0), -1);  // not a child of Top
  EXPECT_EQ(FindChildGroup(l.book, name, -1), 3);
  const int k = AddGroup(l.book, "Charlie", 0);
  EXPECT_EQ(k, 2);  // sorted between Beta and Delta
  EXPECT_EQ(l.book.Nodes.Node(k)->Group->Path, root + "Top/Charlie/");
  EXPECT_FALSE(plat::fs::DirExists(root + "Top/Charlie/"));
  EXPECT_EQ(AddGroup(l.book, "", 0), -1);
  EXPECT_EQ(AddGroup(l.book, "Alpha", -1), 0);
  EXPECT_EQ(l.book.Nodes.Node(0)->ImageIndex, kImgFolder);
}

// Groups added one at a time (an import adds thousands) keep their siblings
// in the order one stable sort of all of them gives, also after a rename
// left the list unsorted.
TEST(Book, AddedGroupsKeepSortedOrder) {
  TAllList book;
  book.Root = "/nonexistent/AddrBook/";
  book.Nodes.Add(nullptr, "Top", book.NewGroup(book.Root + "Top/"));
  const std::vector<std::string> names = {"m", "B", "\x8e\x52", "a", "b", "Zed", "\x83\x41", "10", "9", "a b", "M"};
  std::vector<std::string> added;
  const auto expected = [&] {
    std::vector<std::string> v = added;
    std::stable_sort(v.begin(), v.end(),
                     [](const std::string& x, const std::string& y) { return plat::CollateKey(x) < plat::CollateKey(y); });
    return v;
  };
  const auto children = [&] {
    std::vector<std::string> v;
    for (const TreeNode* n : book.Nodes.Node(0)->Children) v.push_back(n->Caption);
    return v;
  };
  for (const std::string& name : names) {
    const int k = AddGroup(book, name, 0);
    added.push_back(name);
    ASSERT_GE(k, 0);
    EXPECT_EQ(book.Nodes.Node(k)->Caption, name);
    EXPECT_EQ(children(), expected()) << "after adding " << name;
  }
  // Renamed to sort last, then add: everything is sorted again, and the
  // name lookup follows the rename.
  TreeNode* first = book.Nodes.Node(0)->Children.front();
  const std::string was = first->Caption;
  std::replace(added.begin(), added.end(), was, std::string("zz"));
  book.Nodes.Rename(first, "zz");
  AddGroup(book, "c", 0);
  added.push_back("c");
  EXPECT_EQ(children(), expected());
  std::string name = was;
  EXPECT_EQ(FindChildGroup(book, name, 0), -1);
  name = "ZZ";
  EXPECT_EQ(FindChildGroup(book, name, 0), first->AbsIndex);

  // Groups added below groups in the middle: tree order and every index
  // stay what a full walk of the tree gives.
  for (const char* sub : {"y", "x", "w"}) {
    name = "M";
    const int m = FindChildGroup(book, name, 0);
    ASSERT_GE(m, 0);
    ASSERT_GE(AddGroup(book, sub, m), 0);
    ASSERT_GE(AddGroup(book, sub, 0), 0);
  }
  std::vector<TreeNode*> walk;
  std::vector<TreeNode*> stack(book.Nodes.Roots().rbegin(), book.Nodes.Roots().rend());
  while (!stack.empty()) {
    walk.push_back(stack.back());
    stack.pop_back();
    stack.insert(stack.end(), walk.back()->Children.rbegin(), walk.back()->Children.rend());
  }
  EXPECT_EQ(book.Nodes.InOrder(), walk);
  for (int i = 0; i < book.Nodes.Count(); ++i) EXPECT_EQ(book.Nodes.Node(i)->AbsIndex, i);
  name = "x";
  const int x = FindChildGroup(book, name, 0);
  ASSERT_GE(x, 0);
  EXPECT_EQ(book.Nodes.Node(x)->Level, 1);
  book.Nodes.Remove(book.Nodes.Node(x));
  name = "X";
  EXPECT_EQ(FindChildGroup(book, name, 0), -1);
}

// A group may lie no deeper than a book's folders are loaded, or its cards
// would be saved where the next load does not look.
TEST(Book, AddGroupStopsAtTheDeepestLoadedLevel) {
  TAllList book;
  book.Root = "/nonexistent/AddrBook/";
  book.Nodes.Add(nullptr, "Top", book.NewGroup(book.Root + "Top/"));
  int parent = 0;
  for (int level = 1; level < kMaxLevels; ++level) {
    parent = AddGroup(book, "g", parent);
    ASSERT_GE(parent, 0) << level;
  }
  EXPECT_EQ(book.Nodes.Node(parent)->Level, kMaxLevels - 1);
  EXPECT_EQ(AddGroup(book, "g", parent), -1);
  EXPECT_EQ(book.Nodes.Count(), kMaxLevels);
}

TEST(Book, StripBadChars) {
  struct Case {
    std::string in, out;
    bool clean;
  } cases[] = {
      {"abc", "abc", true},
      {"a\"*,/:;<>?\\|b", "ab", false},
      {"\x95\x5c", "\x95\x5c", true},  // 表: its trail byte is a backslash
      {"\x83\x7c|", "\x83\x7c", false},  // ポ then a bar
      {".", "", false},
      {"..", "", false},
      {".:.", "", false},
      {"...", "...", true},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(StripBadChars(s), c.clean) << c.in;
    EXPECT_EQ(s, c.out) << c.in;
  }
}

TEST(Book, MarksAndCheckAll) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "T/A/a.bab", Card("a@x", "A"));
  WriteBytes(root + "T/B/b.bab", Card("b@x", "B"));
  WriteBytes(root + "Solo/s.bab", Card("s@x", "S"));
  Loaded l(root);
  TreeNode* a = l.Find("A");
  TreeNode* b = l.Find("B");
  a->ImageIndex = b->ImageIndex = kImgUnchecked;
  RecalcMarks(l.book);
  EXPECT_EQ(l.book.SingleGroup, nullptr);
  a->ImageIndex = kImgChecked;
  RecalcMarks(l.book);
  EXPECT_EQ(l.book.SingleGroup, a->Group);
  EXPECT_EQ(a->Group->At(0)->Mark, 1);
  EXPECT_EQ(b->Group->At(0)->Mark, 0);
  b->ImageIndex = kImgChecked;
  RecalcMarks(l.book);
  EXPECT_EQ(l.book.SingleGroup, nullptr);
  CheckAll(l.book, false);
  EXPECT_EQ(a->ImageIndex, kImgUnchecked);
  EXPECT_EQ(l.Find("Solo")->ImageIndex, kImgFolder);
  EXPECT_EQ(l.Find("Solo")->Group->At(0)->Mark, 1);  // only in a top-level folder
  EXPECT_EQ(a->Group->At(0)->Mark, 0);
  CheckAll(l.book, true);
  EXPECT_EQ(b->ImageIndex, kImgChecked);
  EXPECT_EQ(l.book.SingleGroup, nullptr);
}

TEST(Book, DisplayPathAndTreeText) {
  TAllList book;
  auto add = [&](TreeNode* parent, const char* cap) {
    return book.Nodes.Add(parent, cap, book.NewGroup(std::string("/") + cap + "/"));
  };
  TreeNode* personal = add(nullptr, "Personal");
  TreeNode* friends = add(personal, "Friends");
  TreeNode* work = add(friends, "Work");
  TreeNode* last = add(friends, "Zlast");
  TreeNode* other = add(personal, "Other");
  TreeNode* solo = add(nullptr, "Solo");
  EXPECT_EQ(GroupDisplayPath(*work->Group), "PersonalFriends\\Work");
  EXPECT_EQ(GroupDisplayPath(*personal->Group), "Personal");
  struct Case {
    TreeNode* node;
    int width;
    bool rootLines;
    std::string text;
  } cases[] = {
      {last, 10, false, "| *-------"},
      {work, 6, false, "| |---"},
      {work, 6, true, "| | |-"},
      {friends, 10, false, "|-+-"},  // a node with children stops the padding
      {other, 4, false, "*---"},
      {solo, 4, false, "----"},
      {solo, 4, true, "|---"},
      {work, 0, true, "+-"},
  };
  for (const auto& c : cases) EXPECT_EQ(GroupTreeText(*c.node->Group, c.width, c.rootLines), c.text) << c.node->Caption;
  EXPECT_EQ(book.Nodes.MaxLevel(), 2);
  book.Nodes.Remove(friends);
  EXPECT_EQ(book.Nodes.Count(), 3);
  EXPECT_EQ(other->AbsIndex, 1);
}

TEST(Book, FrontInsertRemoveAndResort) {
  TAllList book;
  TGrpList* g = book.NewGroup("/g/");
  book.CurGroup = g;
  for (const char* e : {"m@x", "b@x", "z@x"}) {
    CardPtr c = NewCard();
    c->PrefEmail = e;
    EXPECT_NE(book.AddCard(std::move(c), true), nullptr);
  }
  EXPECT_TRUE(g->Modified);
  TAddrRec* blank = book.InsertFront(NewCard());
  EXPECT_EQ(book.At(0), blank);
  EXPECT_EQ(book.IndexOf(book.At(2)), 2u);
  TAddrRec* m = book.At(2);
  m->PrefEmail = "A@x";
  book.Resort(m);
  EXPECT_EQ(book.IndexOf(m), 1u);
  CardPtr out = book.Remove(m);
  EXPECT_EQ(out.get(), m);
  EXPECT_FALSE(book.Contains(m));
  EXPECT_EQ(book.Count(), 3u);
  g->RemoveFirst(m);
  EXPECT_FALSE(g->Contains(m));
}

TEST(Book, JapaneseFolderNamesShowAsCp932) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "友人/学校/a.bab", Card("a@x", "A"));
  Loaded l(plat::fs::FromDiskPath(root));
  ASSERT_EQ(l.book.Nodes.Count(), 2);
  EXPECT_EQ(l.book.Nodes.Node(0)->Caption, "\x97\x46\x90\x6c");  // 友人
  EXPECT_EQ(l.book.Nodes.Node(1)->Caption, "\x8a\x77\x8d\x5a");  // 学校
  EXPECT_EQ(l.book.Nodes.Node(1)->Group->Count(), 1u);
}

TEST(Book, UnreadableFileIsReportedAndLoadingGoesOn) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "T/G/good.bab", Card("a@x", "A"));
  std::filesystem::create_directories(root + "T/G/folder.bab");  // a folder is not an address file
  std::filesystem::create_symlink(dir / "nowhere", root + "T/G/dangling.bab");
  Loaded l(root);
  EXPECT_EQ(l.book.Count(), 1u);
  ASSERT_EQ(l.dialogs.boxes.size(), 1u);
  EXPECT_EQ(l.dialogs.boxes[0].text, root + "T/G/dangling.bab\r\nFile open error");
  EXPECT_EQ(l.dialogs.boxes[0].type, dlg::BoxType::Error);
}

TEST(Book, RenamedAndRemovedGroupsAsAReloadSeesThem) {
  TempDir dir;
  WriteBytes(dir / "AddrBook/T/Old/a.bab", Card("a@x", "A"));
  WriteBytes(dir / "AddrBook/T/Gone/g.bab", Card("g@x", "G"));
  Loaded l(dir / "AddrBook/");
  TreeNode* old = l.Find("Old");
  TreeNode* gone = l.Find("Gone");
  ASSERT_TRUE(old && gone);
  const std::size_t groups = l.book.Groups().size();

  // The folder is renamed on disk; the group follows.
  std::filesystem::rename(dir / "AddrBook/T/Old", dir / "AddrBook/T/New");
  l.book.SetGroupPath(*old->Group, dir / "AddrBook/T/New/");
  l.book.Nodes.Rename(old, "New");
  EXPECT_TRUE(l.book.HasGroupPath(dir / "AddrBook/T/New/"));
  EXPECT_FALSE(l.book.HasGroupPath(dir / "AddrBook/T/Old/"));

  // A removed group leaves no pointer behind, its cards stay in the book.
  TGrpList* g = gone->Group;
  l.book.SingleGroup = l.book.CurGroup = g;
  l.book.Nodes.Remove(gone);
  l.book.RemoveGroup(g);
  EXPECT_EQ(l.book.SingleGroup, nullptr);
  EXPECT_EQ(l.book.CurGroup, nullptr);
  EXPECT_EQ(l.book.Groups().size(), groups - 1);
  EXPECT_EQ(l.Emails(), (std::vector<std::string>{"a@x", "g@x"}));

  // Reloading adds the folder still on disk again, never the renamed one.
  LoadTree(l.book);
  int news = 0, gones = 0;
  for (TreeNode* n : l.book.Nodes.InOrder()) {
    news += n->Caption == "New";
    gones += n->Caption == "Gone";
  }
  EXPECT_EQ(news, 1);
  EXPECT_EQ(gones, 1);
}

namespace {

std::optional<plat::fs::FileId> IdOfGroup(const TreeNode* n) { return plat::fs::IdOf(n->Group->Path); }

}  // namespace

// A folder reached twice (links back up, two links to one folder) is one
// group: loaded once, so saving it later meets its files once.
TEST(Book, FolderReachedTwiceLoadsOnce) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "T/G/a.bab", Card("a@x", "A"));
  std::filesystem::create_directory_symlink("..", root + "T/G/up");             // back to T
  std::filesystem::create_directory_symlink(root, root + "T/G/root");          // back to the book
  std::filesystem::create_directory_symlink(root + "T/G", root + "T/G/self");  // to itself
  std::filesystem::create_directory_symlink("G", root + "T/H");                // a second way to G
  std::filesystem::create_directory_symlink(root + "T", root + "U");           // a second top level
  Loaded l(root);
  EXPECT_TRUE(l.dialogs.boxes.empty());
  ASSERT_EQ(l.book.Nodes.Count(), 2) << testing::PrintToString(Captions(l.book));
  EXPECT_EQ(IdOfGroup(l.book.Nodes.Node(0)), plat::fs::IdOf(root + "T/"));
  EXPECT_EQ(IdOfGroup(l.book.Nodes.Node(1)), plat::fs::IdOf(root + "T/G/"));
  EXPECT_EQ(l.book.Nodes.Node(1)->Group->Count(), 1u);
  LoadTree(l.book);  // a reload finds nothing new either
  EXPECT_EQ(l.book.Nodes.Count(), 2);
  EXPECT_EQ(l.book.Count(), 1u);
}

// Deeply nested folders neither overflow the stack nor take the tree along:
// loading stops at a hundred levels and says so once.
TEST(Book, DeepNestingStopsAtAHundredLevels) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  std::string path = root;
  for (int i = 0; i < 1000; ++i) {
    path += "d/";
    if (i == 50) WriteBytes(path + "a.bab", Card("a@x", "A"));
  }
  std::filesystem::create_directories(path);
  Loaded l(root);
  EXPECT_EQ(l.book.Nodes.MaxLevel(), 99);
  EXPECT_EQ(l.book.Nodes.Count(), 100);
  EXPECT_EQ(l.Emails(), (std::vector<std::string>{"a@x"}));
  ASSERT_EQ(l.dialogs.boxes.size(), 1u);
  EXPECT_NE(l.dialogs.boxes[0].text.find("nested more than 100 levels"), std::string::npos);
  EXPECT_EQ(l.dialogs.boxes[0].type, dlg::BoxType::Warning);
}

// Folders that cannot be listed are skipped with one message for all of
// them; everything else loads. (An injected failure: as root, permissions
// would not stop the listing.)
TEST(Book, UnreadableFoldersAreToldOnceAndTheRestLoads) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "T/A/a.bab", Card("a@x", "A"));
  WriteBytes(root + "T/B/b.bab", Card("b@x", "B"));
  WriteBytes(root + "T/B/Sub/s.bab", Card("s@x", "S"));
  WriteBytes(root + "T/C/c.bab", Card("c@x", "C"));
  plat::io::SetFaultHook([](plat::io::Op op, std::string_view p) {
    const bool hit = p.ends_with("/T/B/") || p.ends_with("/T/C/");
    return op == plat::io::Op::List && hit ? EACCES : 0;
  });
  Loaded l(root);
  plat::io::SetFaultHook({});
  EXPECT_EQ(l.Emails(), (std::vector<std::string>{"a@x"}));
  EXPECT_EQ(Captions(l.book), (std::vector<std::string>{"0T", "1A", "1B", "1C"}));
  ASSERT_EQ(l.dialogs.boxes.size(), 1u);
  const std::string& text = l.dialogs.boxes[0].text;
  EXPECT_NE(text.find(root + "T/B/\r\nFolder read error"), std::string::npos) << text;
  EXPECT_NE(text.find(root + "T/C/\r\nFolder read error"), std::string::npos) << text;
}

// Names that are neither UTF-8 nor Shift-JIS are skipped and named in one
// message; pipes and garbage settings files under the expected names do not
// stall or stop loading; nothing is written anywhere.
TEST(Book, StrangeNamesAndEntriesAreSkipped) {
  TempDir dir;
  const std::string root = dir / "AddrBook/";
  WriteBytes(root + "T/G/good.bab", Card("g@x", "G"));
  WriteBytes(root + "T/G/bad\xff.bab", Card("bad@x", "B"));  // Latin-1
  WriteBytes(root + "T/caf\xe9/c.bab", Card("c@x", "C"));  // a lead byte before the '/'
  WriteBytes(root + "T/G/Group.ini", std::string("\0\xff[Settings\x81]\n\x1a", 16) + std::string(100000, 'x'));
  ASSERT_EQ(::mkfifo((root + "T/Address.ini").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((root + "T/G/pipe.bab").c_str(), 0600), 0);
  auto listing = [&] {
    std::vector<std::string> all;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path())) all.push_back(e.path().string());
    std::sort(all.begin(), all.end());
    return all;
  };
  const auto before = listing();
  Loaded l(root);
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(Captions(l.book), (std::vector<std::string>{"0T", "1G"}));
  EXPECT_EQ(l.Emails(), (std::vector<std::string>{"g@x"}));
  EXPECT_EQ(l.Find("G")->Group->NickName, "");
  std::vector<std::string> texts;
  for (const auto& b : l.dialogs.boxes) texts.push_back(b.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       root + "T/G/pipe.bab\r\nFile open error",
                       "Some folders or files of the address book were skipped:\r\n" + root +
                           "T/caf\\xE9/\r\nName is neither UTF-8 nor Shift-JIS\r\n" + root +
                           "T/G/bad\\xFF.bab\r\nName is neither UTF-8 nor Shift-JIS"}));
}
