#include "store/Launch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/TestSupport.h"

using namespace store;

TEST(Launch, CommandLinePlaceholders) {
  struct Case {
    std::string mailto, install, arg, line;
  } cases[] = {
      {"mailer \"%1\"", "", "\"mailto:a <b@x>\"", "mailer \"mailto:a <b@x>\""},  // quotes go with the placeholder
      {"mailer %1 -x", "", "mailto:b@x", "mailer mailto:b@x -x"},
      {"mailer", "", "mailto:b@x", "mailer mailto:b@x"},
      {"m %1 %1", "", "A", "m A %1"},  // only the first placeholder
      {"", "/opt/q7/", "mailto:b@x", "/opt/q7/Q7 mailto:b@x"},
      {"\x95\x5c%1", "", "X", "\x95\x5cX"},  // 表 before the placeholder
  };
  for (const auto& c : cases) {
    TAllList b;
    b.MailtoCmd = c.mailto;
    b.InstallPath = c.install;
    EXPECT_EQ(BuildLaunchCommand(b, c.arg), c.line) << c.mailto;
  }
  TAllList b;
  b.MailtoCmd = "m %1" + std::string(300, 't');
  EXPECT_EQ(BuildLaunchCommand(b, "A"), "m A" + std::string(255, 't'));
}

TEST(Launch, ArgumentsArriveLiterallyWithoutShell) {
  testsupport::TempDir dir;
  const std::string out = dir / "argv.txt";
  const std::string prog = dir / "fakemail";
  testsupport::WriteBytes(prog, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out + "'\n");
  ::chmod(prog.c_str(), 0755);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (dir.path() + ":" + oldPath).c_str(), 1);
  TAllList b;
  b.MailtoCmd = "fakemail -compose \"%1\"";
  LaunchClient(b, "\"mailto:x;$(touch " + dir.path() + "pwned)`id`@y\"");
  for (int i = 0; i < 200 && !testsupport::Exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ::setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(testsupport::ReadBytes(out), "-compose\nmailto:x;$(touch " + dir.path() + "pwned)`id`@y\n");
  EXPECT_FALSE(testsupport::Exists(dir / "pwned"));

  b.MailtoCmd = "no-such-mailer-q7 %1";
  try {
    LaunchClient(b, "mailto:a@b");
    ADD_FAILURE() << "no error raised";
  } catch (const LaunchError& e) {
    EXPECT_STREQ(e.what(), "no-such-mailer-q7 %1 is not execute.");
  }
}
