#include "platform/FileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "support/TestSupport.h"

namespace fs = plat::fs;
using testsupport::WriteBytes;

namespace {

const std::string kFriends = "\x97\x46\x90\x6c";  // 友人 in CP932

std::vector<std::string> Names(const std::vector<fs::DirEntry>& entries, bool sorted = true) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  if (sorted) std::sort(names.begin(), names.end());
  return names;
}

TEST(MatchPatternTest, FollowsTheWindowsWildcardRules) {
  struct Case { const char* pattern; const char* name; bool want; };
  const Case cases[] = {
      {"*.*", "abc", true},       {"*.bab", "X.BAB", true},    {"*.bab", "x.babx", false},
      {"a?c", "abc", true},       {"a?c", "abbc", false},      {"ab?", "ab", true},
      {"abc.*", "abc", true},     {"*.", "abc", true},
      {"*.", "a.b", false},       {"*.b*", "a.bcd.txt", true},
      {"?.bab", "\x83\x41.bab", true},          // ア is one character
      {"\x83\x61.bab", "\x83\x41.bab", false},  // ヂ vs ア: trail bytes 'a'/'A' are not letters
  };
  for (const Case& c : cases) EXPECT_EQ(fs::MatchPattern(c.pattern, c.name), c.want) << c.pattern << " " << c.name;
}

TEST(NameConversionTest, UsesWindowsMappingAndKeepsWhatDoesNotRoundTrip) {
  struct Case { const char* disk; const char* name; bool roundTrip; };
  const Case cases[] = {
      {"友人", "\x97\x46\x90\x6c", true}, {"～", "\x81\x60", true},  // U+FF5E, as Windows maps 0x8160
      {"表", "\x95\x5c", true},
      {"〜", "〜", false},                // U+301C would come back as U+FF5E
      {"é", "é", false},                  // not in CP932
      {"\x83\x41", "\x83\x41", false},    // not UTF-8: raw CP932 bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fs::FromDiskName(c.disk), c.name) << c.disk;
    if (c.roundTrip) {
      EXPECT_EQ(fs::ToDiskName(c.name), c.disk) << c.disk;
    }
  }
}

class FileSystemTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string root = dir.path();
};

TEST_F(FileSystemTest, ListFiltersByPatternAndKindInReaddirOrder) {
  WriteBytes(root + "X.BAB", "12345");
  WriteBytes(root + "y.bab", "");
  WriteBytes(root + "z.txt", "");
  std::filesystem::create_directory(root + "sub.bab");
  std::filesystem::create_directory_symlink(root + "sub.bab", root + "link.bab");

  const auto files = fs::List(root, "*.bab", fs::Kind::Files);
  EXPECT_EQ(Names(files), (std::vector<std::string>{"X.BAB", "y.bab"}));
  EXPECT_EQ(files[0].size + files[1].size, 5u);
  EXPECT_EQ(Names(fs::List(root, "*.bab", fs::Kind::Dirs)), (std::vector<std::string>{"link.bab", "sub.bab"}));

  std::vector<std::string> osOrder;
  for (const auto& e : std::filesystem::directory_iterator(root)) osOrder.push_back(e.path().filename().string());
  EXPECT_EQ(Names(fs::List(root, "*.*", fs::Kind::All), false), osOrder);
}

TEST_F(FileSystemTest, JapaneseFolderListsAsCp932AndItsPathOpensIt) {
  WriteBytes(root + "友人/a.bab", "abc");
  EXPECT_EQ(Names(fs::List(root, "*.*", fs::Kind::Dirs)), std::vector<std::string>{kFriends});
  EXPECT_EQ(fs::FileSize(root + kFriends + "/a.bab"), 3u);
  EXPECT_EQ(Names(fs::List(root + kFriends + "/", "*.bab", fs::Kind::Files)), std::vector<std::string>{"a.bab"});

  ASSERT_TRUE(fs::MakeDirs(root + kFriends + "/\x83\x41/b/"));  // ア
  EXPECT_TRUE(std::filesystem::is_directory(root + "友人/ア/b"));
  ASSERT_TRUE(fs::RenameDir(root + kFriends + "/\x83\x41", root + kFriends + "/\x83\x61"));  // to ヂ
  EXPECT_TRUE(std::filesystem::is_directory(root + "友人/ヂ/b"));
}

TEST_F(FileSystemTest, NamesKeptAsDiskBytesStayUsable) {
  WriteBytes(root + "\x83\x41.bab", "raw");  // ア written raw in CP932: not UTF-8
  WriteBytes(root + "é.bab", "e");           // UTF-8 that CP932 cannot hold
  const auto names = Names(fs::List(root, "*.bab", fs::Kind::Files));
  ASSERT_EQ(names, (std::vector<std::string>{"\x83\x41.bab", "é.bab"}));
  for (const auto& n : names) EXPECT_TRUE(fs::FileExists(root + n)) << n;

  // With the UTF-8 spelling present as well, the CP932 name means that one.
  WriteBytes(root + "ア.bab", "utf8!");
  EXPECT_EQ(fs::FileSize(root + "\x83\x41.bab"), 5u);
  ASSERT_TRUE(fs::Delete(root + "\x83\x41.bab"));
  EXPECT_EQ(fs::FileSize(root + "\x83\x41.bab"), 3u);
}

TEST_F(FileSystemTest, ModTimeHasNanoseconds) {
  WriteBytes(root + "友人.bab", "x");
  const timespec times[2] = {{1000, 0}, {1234567890, 123456789}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (root + "友人.bab").c_str(), times, 0), 0);
  EXPECT_EQ(fs::ModTimeNs(root + kFriends + ".bab"), 1234567890123456789LL);
  EXPECT_EQ(fs::List(root, "*.bab", fs::Kind::Files).at(0).mtimeNs, 1234567890123456789LL);
}

TEST_F(FileSystemTest, FileAndFolderOperationsKeepWindowsRules) {
  WriteBytes(root + "a.bab", "a");
  WriteBytes(root + "b.bak", "b");
  EXPECT_FALSE(fs::Rename(root + "a.bab", root + "b.bak"));  // never replaces
  EXPECT_TRUE(fs::Delete(root + "b.bak"));
  EXPECT_TRUE(fs::Rename(root + "a.bab", root + "b.bak"));
  EXPECT_EQ(testsupport::ReadBytes(root + "b.bak"), "a");

  EXPECT_TRUE(fs::MakeDirs(root + "p/q/r/"));
  EXPECT_TRUE(fs::MakeDirs(root + "p/q/r"));  // already there
  EXPECT_FALSE(fs::MakeDirs(root + "b.bak/x/"));
  EXPECT_FALSE(fs::FileExists(root + "p/"));
  EXPECT_FALSE(fs::Delete(root + "p/q/r/"));
  EXPECT_FALSE(fs::RemoveDir(root + "p/q/"));  // not empty
  EXPECT_TRUE(fs::RemoveDir(root + "p/q/r/"));
  EXPECT_FALSE(fs::DirExists(root + "p/q/r"));
}

TEST_F(FileSystemTest, CurrentAndProgramFolders) {
  std::filesystem::create_directory(root + "友人");
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(root + "友人");
  const std::string cur = fs::CurrentDir();
  std::filesystem::current_path(old);
  EXPECT_EQ(cur, fs::FromDiskPath(std::filesystem::canonical(root).string()) + "/" + kFriends + "/");
  EXPECT_TRUE(fs::FileExists(fs::ProgramDir() + "core_tests"));
}

}  // namespace
