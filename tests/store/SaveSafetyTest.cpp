// Saving never loses a card: every failing step leaves the address file and
// its backup as they were, reports the failure and keeps the group
// modified; a full disk and a read-only folder behave the same way.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/IoFault.h"
#include "store/Save.h"
#include "support/TestSupport.h"

using namespace store;
using plat::io::Op;
using testsupport::Exists;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::string Card(const std::string& email, const std::string& fn) {
  return "BEGIN:VCARD\r\nEMAIL;PREF:" + email + "\r\nFN:" + fn + "\r\nEND:VCARD\r\n";
}

// Removes the fault hook however the test ends.
struct HookGuard {
  explicit HookGuard(plat::io::FaultHook h) { plat::io::SetFaultHook(std::move(h)); }
  ~HookGuard() { plat::io::SetFaultHook({}); }
};

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

std::size_t TempFiles(const std::string& dir) {
  std::size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (plat::AtomicFile::IsTempName(e.path().filename().string())) ++n;
  return n;
}

// One group G (under top-level folder T) whose a.bab holds two cards and
// whose a.bak holds an older one; the loaded book gets a third card, so the
// new content differs from both files.
struct GroupOnDisk {
  std::string root, g;
  std::string oldBab = Card("a@x", "A") + Card("b@x", "\x83\x41");  // "ア"
  std::string oldBak = Card("z@x", "older");
  testsupport::ScriptedDialogs dialogs;
  TAllList book;
  TreeNode* node = nullptr;

  explicit GroupOnDisk(const std::string& base) : root(base + "AddrBook/"), g(root + "T/G/") {
    WriteBytes(g + "a.bab", oldBab);
    WriteBytes(g + "a.bak", oldBak);
  }
  void Load() {
    book.Root = root;
    book.Dialogs = &dialogs;
    LoadTree(book);
    for (TreeNode* n : book.Nodes.InOrder())
      if (n->Caption == "G") node = n;
    ASSERT_NE(node, nullptr);
    CardPtr c = NewCard();
    c->PrefEmail = "new@x";
    book.CurGroup = node->Group;
    book.AddCard(std::move(c), true);
    ASSERT_TRUE(node->Group->Modified);
  }
  std::string NewContent() const {
    std::string s;
    for (const TAddrRec* c : node->Group->Cards()) s += CardToBytes(*c);
    return s;
  }
  // Both files exactly as before, no temporary file, still modified.
  void ExpectUntouched(const char* when) {
    EXPECT_EQ(ReadBytes(g + "a.bab"), oldBab) << when;
    EXPECT_EQ(ReadBytes(g + "a.bak"), oldBak) << when;
    EXPECT_EQ(TempFiles(g), 0u) << when;
    EXPECT_TRUE(node->Group->Modified) << when;
  }
};

struct StepCase {
  const char* name;
  Op op;
  const char* pathEnd;  // the step's file ends so
  int err;
  const char* box;      // "%s" stands for the group folder
};

}  // namespace

TEST(SaveSafety, AFailureAtEveryStepKeepsBothFilesAndTheGroupModified) {
  const StepCase cases[] = {
      {"create", Op::Create, ".q7tmp", EACCES, "a.bab\r\nFile create error"},
      {"write", Op::Write, ".q7tmp", ENOSPC, "%sa.bab\r\nFile create error"},
      {"flush", Op::Flush, ".q7tmp", EIO, "%sa.bab\r\nFile create error"},
      {"link", Op::Link, ".q7tmp", EIO, "a.bab\r\nCan not delete old file."},
      {"rename", Op::Rename, "/a.bab", EIO, "a.bab\r\nFile create error"},
      {"rename of the backup", Op::Rename, "/a.bak", EIO, "a.bab\r\nCan not delete old file."},
  };
  for (const StepCase& k : cases) {
    SCOPED_TRACE(k.name);
    TempDir dir;
    GroupOnDisk d(dir.path());
    d.Load();
    std::string box = k.box;
    if (const auto p = box.find("%s"); p != std::string::npos) box.replace(p, 2, d.g);
    {
      HookGuard hook([&](Op op, std::string_view path) { return op == k.op && EndsWith(path, k.pathEnd) ? k.err : 0; });
      EXPECT_FALSE(SaveGroup(d.book, d.node));
      ASSERT_EQ(d.dialogs.boxes.size(), 1u);
      EXPECT_EQ(d.dialogs.boxes[0].text, box);
      EXPECT_EQ(d.dialogs.boxes[0].type, dlg::BoxType::Error);
      d.ExpectUntouched("after the first save");
      // Trying again fails the same way: nothing was half done.
      EXPECT_FALSE(SaveGroup(d.book, d.node));
      ASSERT_EQ(d.dialogs.boxes.size(), 2u);
      EXPECT_EQ(d.dialogs.boxes[1].text, box);
      d.ExpectUntouched("after the second save");
    }
    // Once the fault is gone the save goes through and asks nothing.
    EXPECT_TRUE(SaveGroup(d.book, d.node));
    EXPECT_EQ(d.dialogs.boxes.size(), 2u);
    EXPECT_EQ(ReadBytes(d.g + "a.bab"), d.NewContent());
    EXPECT_EQ(ReadBytes(d.g + "a.bak"), d.oldBab);
    EXPECT_FALSE(d.node->Group->Modified);
  }
}

TEST(SaveSafety, BackupIsCopiedWhereLinksAreRefused) {
  for (const bool copyFails : {false, true}) {
    SCOPED_TRACE(copyFails ? "copy fails too" : "copy works");
    TempDir dir;
    GroupOnDisk d(dir.path());
    d.Load();
    int links = 0;
    HookGuard hook([&](Op op, std::string_view) {
      if (op != Op::Link) return 0;
      ++links;
      return links == 1 ? EXDEV : (copyFails ? ENOSPC : 0);
    });
    if (copyFails) {
      EXPECT_FALSE(SaveGroup(d.book, d.node));
      ASSERT_EQ(d.dialogs.boxes.size(), 1u);
      EXPECT_EQ(d.dialogs.boxes[0].text, "a.bab\r\nCan not delete old file.");
      d.ExpectUntouched("after the failed copy");
    } else {
      EXPECT_TRUE(SaveGroup(d.book, d.node));
      EXPECT_EQ(ReadBytes(d.g + "a.bak"), d.oldBab);
      EXPECT_EQ(ReadBytes(d.g + "a.bab"), d.NewContent());
      struct stat bab {}, bak {};
      ASSERT_EQ(::stat((d.g + "a.bab").c_str(), &bab), 0);
      ASSERT_EQ(::stat((d.g + "a.bak").c_str(), &bak), 0);
      EXPECT_NE(bab.st_ino, bak.st_ino);
    }
  }
}

TEST(SaveSafety, PermissionsAndLinksOfReplacedFilesAreKept) {
  TempDir dir;
  GroupOnDisk d(dir.path());
  ASSERT_EQ(::chmod((d.g + "a.bab").c_str(), 0640), 0);
  // Group.ini as a symbolic link to a file elsewhere: written through it.
  WriteBytes(dir / "shared.ini", "[Settings]\r\nNickName=old\r\n");
  std::filesystem::create_symlink(dir / "shared.ini", d.g + "Group.ini");
  d.Load();
  d.node->Group->NickName = "new";
  ASSERT_TRUE(SaveGroup(d.book, d.node));
  struct stat st {};
  ASSERT_EQ(::stat((d.g + "a.bab").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_TRUE(std::filesystem::is_symlink(d.g + "Group.ini"));
  EXPECT_EQ(ReadBytes(dir / "shared.ini"), "[Settings]\r\nNickName=new\r\n");
}

TEST(SaveSafety, LeftoverTemporaryFilesAreNeverLoadedAndGoWithTheNextSave) {
  TempDir dir;
  GroupOnDisk d(dir.path());
  const std::string leftover = d.g + ".a.bab.4242-0.q7tmp";
  const std::string otherLeftover = d.g + ".a.bak.4242-1.q7tmp";
  WriteBytes(leftover, Card("ghost@x", "half written"));
  WriteBytes(otherLeftover, Card("ghost2@x", "backup"));
  WriteBytes(d.g + "notes.txt", "kept");  // not ours: stays
  d.Load();
  for (const TAddrRec* c : d.book.Cards()) EXPECT_NE(c->PrefEmail.substr(0, 5), "ghost");
  EXPECT_EQ(d.node->Group->Count(), 3u);
  ASSERT_TRUE(SaveGroup(d.book, d.node));
  EXPECT_FALSE(Exists(leftover));
  EXPECT_FALSE(Exists(otherLeftover));
  EXPECT_EQ(ReadBytes(d.g + "notes.txt"), "kept");
}

TEST(SaveSafety, ExportFileIsReplacedOnlyOnCommit) {
  TempDir dir;
  testsupport::ScriptedDialogs dialogs;
  WriteBytes(dir / "out.txt", "old");
  WriteBytes(dir / "out.bak", "older");
  TSaveDlg s(&dialogs);
  dialogs.inputs.push_back(dir / "out.txt");
  ASSERT_TRUE(s.SetNewFile("Text files (*.txt)|*.txt"));
  ASSERT_TRUE(s.CreateFile());
  s.Out.WriteLine("new");
  // Nothing visible has changed before the commit.
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "old");
  EXPECT_EQ(ReadBytes(dir / "out.bak"), "older");
  ASSERT_TRUE(s.Commit());
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "new\r\n");
  EXPECT_EQ(ReadBytes(dir / "out.bak"), "old");
  EXPECT_EQ(TempFiles(dir.path()), 0u);

  // A writer dropped without Commit leaves nothing behind.
  {
    TSaveDlg t(&dialogs);
    t.FileName = dir / "out.txt";
    ASSERT_TRUE(t.CreateFile());
    t.Out.WriteLine("abandoned");
  }
  EXPECT_EQ(ReadBytes(dir / "out.txt"), "new\r\n");
  EXPECT_EQ(TempFiles(dir.path()), 0u);
}

// ---- real file systems: a full disk, a read-only folder -------------------

namespace {

// A small tmpfs mounted on a folder, where the machine allows it (root).
class SmallDisk {
 public:
  SmallDisk(const std::string& at, const char* options) : at_(at) {
    std::filesystem::create_directories(at);
    mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", 0, options) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  bool ReadOnly() { return ::mount(nullptr, at_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=1m") == 0; }

 private:
  std::string at_;
  bool mounted_ = false;
};

std::string CliResave(const std::string& root) {
  const std::string cmd = std::string(Q7_CLI_PATH) + " resave '" + root + "' 2>&1; echo \"exit=$?\"";
  std::string out;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    ::pclose(p);
  }
  return out;
}

}  // namespace

TEST(SaveSafety, FullDiskKeepsEveryCardAndNeverReportsSuccess) {
  TempDir dir;
  SmallDisk disk(dir / "disk", "size=256k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here (needs root): skipped";
  GroupOnDisk d(dir / "disk/");
  d.Load();
  // A new content far larger than the space left.
  for (int i = 0; i < 3000; ++i) {
    CardPtr c = NewCard();
    c->PrefEmail = "filler" + std::to_string(i) + "@example.com";
    SetValue(c->FN, "", "A rather long name so that the new file does not fit");
    d.book.CurGroup = d.node->Group;
    d.book.AddCard(std::move(c), true);
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(SaveGroup(d.book, d.node));
    ASSERT_EQ(d.dialogs.boxes.size(), static_cast<std::size_t>(attempt + 1));
    EXPECT_EQ(d.dialogs.boxes.back().text, d.g + "a.bab\r\nFile create error");
    d.ExpectUntouched(attempt ? "second save" : "first save");
  }
  // Even a file of the old size no longer fits: the command-line save of
  // the unchanged book fails too, and says so.
  {
    FILE* f = std::fopen((dir / "disk/filler").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size()) {
    }
    std::fclose(f);
  }
  const std::string out = CliResave(d.root);
  EXPECT_NE(out.find("exit=1"), std::string::npos) << out;
  EXPECT_EQ(ReadBytes(d.g + "a.bab"), d.oldBab);
  EXPECT_EQ(ReadBytes(d.g + "a.bak"), d.oldBak);
}

TEST(SaveSafety, ReadOnlyFolderKeepsEveryCardAndNeverReportsSuccess) {
  TempDir dir;
  SmallDisk disk(dir / "disk", "size=1m");
  std::string base = dir / "disk/";
  std::optional<HookGuard> injected;
  if (!disk.Mounted()) base = dir.path();
  GroupOnDisk d(base);
  if (disk.Mounted()) {
    ASSERT_TRUE(disk.ReadOnly());
  } else if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(d.g.c_str(), 0555), 0);
  } else {
    // Root ignores folder permissions and may not mount here: the file
    // system's answer is injected instead.
    injected.emplace([](Op op, std::string_view) { return op == Op::Create ? EROFS : 0; });
  }
  d.Load();
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(SaveGroup(d.book, d.node));
    ASSERT_EQ(d.dialogs.boxes.size(), static_cast<std::size_t>(attempt + 1));
    EXPECT_EQ(d.dialogs.boxes.back().text, "a.bab\r\nFile create error");
    d.ExpectUntouched(attempt ? "second save" : "first save");
  }
  if (!injected) {
    EXPECT_NE(CliResave(d.root).find("exit=1"), std::string::npos);
  }
  if (!disk.Mounted()) ::chmod(d.g.c_str(), 0755);
}
