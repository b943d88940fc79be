#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "support/TestSupport.h"

using plat::IniFile;
using testsupport::ReadBytes;

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  std::string Make(const std::string& bytes) {
    testsupport::WriteBytes(path, bytes);
    return path;
  }
  testsupport::TempDir dir;
  std::string path = dir / "Q7Addr.ini";
};

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsNotCreatedWithoutChanges) {
  {
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Q7Addr", "Left", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("Q7Addr", "Left", -1), -1);
    EXPECT_TRUE(ini.UpdateFile());
  }
  EXPECT_FALSE(testsupport::Exists(path));
}

TEST_F(IniFileTest, NamesMatchIgnoringAsciiCaseButNeverTrailBytes) {
  // "\x83\x61" is ヂ and "\x83\x41" is ア: their trail bytes are 'a' and 'A'.
  IniFile ini(Make("[Group]\r\n\x83\x61=1\r\n\x83\x41=2\r\nPersonal\x83\x61\\Work=3\r\n"));
  struct Case { const char* section; const char* key; const char* want; };
  for (const Case& c : {Case{"Group", "\x83\x61", "1"}, Case{"GROUP", "\x83\x41", "2"},
                        Case{"group", " PERSONAL\x83\x61\\work", "3"}, Case{"Group", "personal\x83\x41\\work", "-"}}) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "-"), c.want) << c.section << "/" << c.key;
  }
  ini.WriteString("group", "\x83\x41", "9");
  EXPECT_EQ(ini.ReadString("Group", "\x83\x61", ""), "1");
  EXPECT_EQ(ini.ReadString("Group", "\x83\x41", ""), "9");
}

TEST_F(IniFileTest, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
  IniFile ini(Make("[S]\nA =  v w  \nB=\"a b\"\nC=\"x\n;D=1\n"));
  struct Case { const char* key; const char* want; };
  for (const Case& c : {Case{"A", "v w"}, Case{"B", "a b"}, Case{"C", "\"x"}, Case{";D", "-"}}) {
    EXPECT_EQ(ini.ReadString("S", c.key, "-"), c.want) << c.key;
  }
  EXPECT_EQ(ini.ReadSection("s"), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(IniFileTest, ReadIntegerTakesTheLeadingNumber) {
  struct Case { const char* value; int want; };
  const Case cases[] = {{"12", 12}, {" 7", 7}, {"-3", -3}, {"abc", 99}, {"", 99}, {"12abc", 12},
                        {"2147483648", 99}, {"-2147483648", -2147483647 - 1}};
  std::string text = "[N]\r\n";
  for (std::size_t i = 0; i < std::size(cases); ++i) text += "K" + std::to_string(i) + "=" + cases[i].value + "\r\n";
  IniFile ini(Make(text));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ini.ReadInteger("N", "K" + std::to_string(i), 99), cases[i].want) << cases[i].value;
  }
  EXPECT_TRUE(ini.ReadBool("N", "K2", false));  // -3
  EXPECT_TRUE(ini.ReadBool("N", "K3", true));   // "abc": the default
}

TEST_F(IniFileTest, WritingKeepsEveryOtherLineByteForByte) {
  {
    IniFile ini(Make("; settings\n"
                     "[Q7Addr]\r\n"
                     "  left = 5  \r\n"
                     "Top=6\n"
                     "[Option]\n"
                     "SortKey=1\r\n"
                     "\r\n"
                     "[Last]\n"
                     "X=1"));  // no line end
    ini.WriteInteger("Q7ADDR", "Left", 10);  // keeps the key's spelling
    ini.WriteBool("Option", "AdrCompFlg", true);
    ini.WriteString("last", "Y", "2");
    ini.WriteBool("New", "\x95\x5C\\x", false);  // 表 and a backslash
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_EQ(ReadBytes(path),
            "; settings\n"
            "[Q7Addr]\r\n"
            "left=10\r\n"
            "Top=6\n"
            "[Option]\n"
            "SortKey=1\r\n"
            "AdrCompFlg=1\r\n"
            "\r\n"
            "[Last]\n"
            "X=1\r\n"
            "Y=2\r\n"
            "[New]\r\n"
            "\x95\x5C\\x=0\r\n");
  EXPECT_FALSE(IniFile(path).ReadBool("new", "\x95\x5C\\X", true));
}

TEST_F(IniFileTest, EraseSectionRemovesAllItsLinesAndOnlyThose) {
  {
    IniFile ini(Make("[A]\r\nk=1\r\n[Group]\r\nx=1\r\n; note\r\n\r\n[B]\r\nk=2\r\n[group]\r\ny=0\r\n"));
    ini.EraseSection("GROUP");
    EXPECT_FALSE(ini.SectionExists("Group"));
    ini.WriteInteger("Group", "z", 1);
  }  // the destructor writes pending changes
  EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n[Group]\r\nz=1\r\n");
}

TEST_F(IniFileTest, ObjectsOnOneFileSeeEachOthersSavedChanges) {
  IniFile main(Make("[Q7Addr]\r\nLeft=1\r\n"));
  EXPECT_EQ(main.ReadInteger("Q7Addr", "Left", 0), 1);
  IniFile dialog(path);
  dialog.WriteString("Search", "Text", "abc");
  ASSERT_TRUE(dialog.UpdateFile());
  EXPECT_EQ(main.ReadString("Search", "Text", ""), "abc");
  main.WriteInteger("Q7Addr", "Left", 2);
  ASSERT_TRUE(main.UpdateFile());
  EXPECT_EQ(ReadBytes(path), "[Q7Addr]\r\nLeft=2\r\n[Search]\r\nText=abc\r\n");
}

TEST_F(IniFileTest, Cp932PathAndWriteFailure) {
  testsupport::WriteBytes(dir / "友人/Group.ini", "[Settings]\r\nNickName=\x83\x41\r\n");
  EXPECT_EQ(IniFile(dir / "\x97\x46\x90\x6c/Group.ini").ReadString("Settings", "NickName", ""), "\x83\x41");  // 友人

  IniFile nowhere(dir / "no/such/folder/x.ini");
  nowhere.WriteInteger("S", "k", 1);
  EXPECT_FALSE(nowhere.UpdateFile());
}

// A key the file cannot hold is not written, and never costs the keys after
// it their values: "[x]" would read as a section header, ";x" as a comment,
// "a=b" as the key "a", a line break as two lines.
TEST_F(IniFileTest, KeysTheFileCannotHoldAreLeftOutAndHarmNoOther) {
  const std::vector<std::string> odd = {"[x]", " [x]", "[x", ";x", "a=b", "=", "x\ny", "x\r\n[y]", "", "  "};
  {
    IniFile ini(Make(""));
    ini.WriteInteger("Group", "first", 0);
    for (const auto& k : odd) EXPECT_EQ(ini.WriteInteger("Group", k, 0), k == "[x") << k;  // "[x" has no ']'
    ini.WriteInteger("Group", "later", 0);
    EXPECT_FALSE(ini.WriteString("Search", "Text", "a\n[Group]"));  // a value with a line break
    EXPECT_FALSE(ini.WriteString("Search\x81", "Text", "a"));  // its header would not read back
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_EQ(ReadBytes(path), "[Group]\r\nfirst=0\r\n[x=0\r\nlater=0\r\n");
  IniFile back(path);
  EXPECT_EQ(back.ReadInteger("Group", "first", 1), 0);
  EXPECT_EQ(back.ReadInteger("Group", "later", 1), 0);
  EXPECT_EQ(back.ReadInteger("Group", "[x", 1), 0);
  for (const auto& k : odd)
    if (k != "[x") EXPECT_EQ(back.ReadInteger("Group", k, 1), 1) << k;  // its own default
  EXPECT_FALSE(back.SectionExists("x"));
  EXPECT_FALSE(back.SectionExists("Search"));
}

// Garbage is read as far as it makes sense and never crashes; what could be
// read keeps working, and a file read only in part is never written over.
TEST_F(IniFileTest, GarbageFilesReadWhatCanBeRead) {
  std::string binary;
  for (int i = 0; i < 1 << 16; ++i) binary.push_back(static_cast<char>((i * 7919) >> 3));
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"binary", binary + "\r\n[Q7Addr]\r\nLeft=7\r\n" + binary},
      {"huge line", std::string(3u << 20, '[') + "\r\n[Q7Addr]\r\nLeft=7"},
      {"no line end", "\r\r\n[Q7Addr]\r\nLeft=7"},
      {"lead byte at the end of a header", "[Q7Addr\x81]\n[Q7Addr]\nLeft=7\n[\x81"},
  };
  for (const auto& c : cases) {
    {
      IniFile ini(Make(c.bytes));
      EXPECT_EQ(ini.ReadInteger("Q7Addr", "Left", -1), 7) << c.name;
      ini.WriteInteger("Option", "SortKey", 3);
      ASSERT_TRUE(ini.UpdateFile()) << c.name;
    }
    const std::string after = ReadBytes(path);
    EXPECT_EQ(after.substr(0, c.bytes.size()), c.bytes) << c.name;  // every byte kept
    EXPECT_EQ(IniFile(path).ReadInteger("Option", "SortKey", 0), 3) << c.name;
  }

  // Past the size bound: the start still reads, the file stays as it was.
  const std::string big = "[Q7Addr]\r\nLeft=7\r\n" + std::string(17u << 20, '\n');
  {
    IniFile ini(Make(big));
    EXPECT_EQ(ini.ReadInteger("Q7Addr", "Left", -1), 7);
    ini.WriteInteger("Q7Addr", "Left", 1);
    EXPECT_FALSE(ini.UpdateFile());
  }
  EXPECT_EQ(ReadBytes(path).size(), big.size());

  // A pipe or a folder under the name reads as empty at once.
  std::remove(path.c_str());
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  EXPECT_EQ(IniFile(path).ReadInteger("Q7Addr", "Left", -1), -1);
  std::remove(path.c_str());
  std::filesystem::create_directory(path);
  IniFile folder(path);
  EXPECT_EQ(folder.ReadInteger("Q7Addr", "Left", -1), -1);
  folder.WriteInteger("Q7Addr", "Left", 1);
  EXPECT_FALSE(folder.UpdateFile());
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
