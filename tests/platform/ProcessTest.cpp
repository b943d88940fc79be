#include "platform/Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "support/TestSupport.h"

using plat::SplitCommandLine;
using plat::StartProcess;
using Args = std::vector<std::string>;

namespace {

TEST(SplitCommandLineTest, FollowsTheWindowsRules) {
  struct Case { const char* line; Args want; };
  const Case cases[] = {
      {R"(p a\\\b d"e f"g h)", {"p", R"(a\\\b)", "de fg", "h"}},
      {R"(p a\\\"b c d)", {"p", R"(a\"b)", "c", "d"}},
      {R"(p a\\\\"b c" d e)", {"p", R"(a\\b c)", "d", "e"}},
      {R"(p a"b"" c d)", {"p", R"(ab" c d)"}},  // "" inside quotes: a quote, still quoted
      {R"(p "a\\" "" x)", {"p", "a\\", "", "x"}},
      {"p\ta \"b c", {"p", "a", "b c"}},
      {R"(  "C:\Program Files\Q7\Q7.exe" "mailto:a@b")", {R"(C:\Program Files\Q7\Q7.exe)", "mailto:a@b"}},
      {R"(C:\a\"b c)", {R"(C:\a\"b)", "c"}},  // the program name knows no backslash rule
      {R"("a b"c d)", {"a b", "c", "d"}},
      {"p \"\x95\x5c\" x", {"p", "\x95\x5c", "x"}},  // 表: its trail byte is no backslash
      {" \t ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.want) << c.line;
}

class StartProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    testsupport::WriteBytes(dir / "q7fake",
                            "#!/bin/sh\n"
                            "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; readlink /proc/$$/fd/0; echo $$; }"
                            " > \"$Q7_FAKE_OUT.tmp\"\n"
                            "mv \"$Q7_FAKE_OUT.tmp\" \"$Q7_FAKE_OUT\"\n");
    std::filesystem::permissions(dir / "q7fake", std::filesystem::perms::owner_all);
    setenv("PATH", (dir.path() + ":" + oldPath_).c_str(), 1);
    setenv("Q7_FAKE_OUT", out.c_str(), 1);
  }
  void TearDown() override { setenv("PATH", oldPath_.c_str(), 1); }

  testsupport::TempDir dir;
  std::string out = dir / "argv.txt";
  std::string oldPath_;
};

// Waits until cond holds; the bound only keeps a broken start from hanging.
template <typename F>
void WaitFor(F cond) {
  for (int i = 0; i < 6000 && !cond(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TEST_F(StartProcessTest, PassesArgumentsLiterallyWithoutShellAndReapsTheChild) {
  std::string error;
  ASSERT_TRUE(StartProcess("q7fake \"a b\" ; \"$(echo x)\" `id` 'q' \"\x95\x5c\" >x", &error)) << error;
  WaitFor([&] { return testsupport::Exists(out); });
  std::istringstream in(testsupport::Exists(out) ? testsupport::ReadBytes(out) : "");
  Args lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 9u) << testing::PrintToString(lines);
  EXPECT_EQ(Args(lines.begin(), lines.begin() + 8),
            (Args{"a b", ";", "$(echo x)", "`id`", "'q'", "\x95\x5c", ">x", "/dev/null"}));

  const std::string proc = "/proc/" + lines[8];  // gone once reaped; a zombie stays
  WaitFor([&] { return !std::filesystem::exists(proc); });
  EXPECT_FALSE(std::filesystem::exists(proc));
}

TEST_F(StartProcessTest, ReportsWhatCannotBeStarted) {
  std::string error;
  EXPECT_FALSE(StartProcess("q7-no-such-program x", &error));
  EXPECT_NE(error.find("q7-no-such-program"), std::string::npos) << error;
  EXPECT_FALSE(StartProcess("   "));
}

}  // namespace
