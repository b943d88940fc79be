// "Send to" hands the desktop's mail handler a standard mailto: URI (UTF-8,
// percent-encoded); the mail client's own program keeps its argument forms
// byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "mainwin/LogicFixture.h"
#include "store/Launch.h"

namespace {

using logictest::Vcard;
using mainwin::TQ7AdrMan;

// CP932: 山 8E 52, 田 93 63, 表 95 5C and ソ 83 5C (trail byte '\').
const std::string kYamada = "\x8E\x52\x93\x63";
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(MailLink, RecipientsInTheThreeFormatsBecomeOneUri) {
  struct Case {
    int mode;
    std::string addr, name, uri;
  } cases[] = {
      {0, "taro@x.jp", kYamada, "mailto:taro@x.jp"},
      {1, "taro@x.jp", kYamada, "mailto:taro@x.jp%20%28%E5%B1%B1%E7%94%B0%29"},
      {2, "taro@x.jp", kYamada, "mailto:%E5%B1%B1%E7%94%B0%20%3Ctaro@x.jp%3E"},
      // A trail byte 0x5C is no backslash: not escaped, converted whole.
      {1, "a@x", kHyo + kSo, "mailto:a@x%20%28%E8%A1%A8%E3%82%BD%29"},
      {2, "a@x", kHyo + kSo, "mailto:%E8%A1%A8%E3%82%BD%20%3Ca@x%3E"},
      // A comma or quote in a name is quoted, so the recipient stays one.
      {2, "a@x", "Yamada, Taro", "mailto:%22Yamada%2C%20Taro%22%20%3Ca@x%3E"},
      {2, "a@x", "say \"hi\"", "mailto:%22say%20%5C%22hi%5C%22%22%20%3Ca@x%3E"},
      {1, "a@x", "x (y)", "mailto:a@x%20%28x%20%5C%28y%5C%29%29"},
      // URI delimiters never pass through raw.
      {2, "a@x", "50% & ?#", "mailto:50%25%20%26%20%3F%23%20%3Ca@x%3E"},
      {0, "a+b&c?d#e%f@x", "", "mailto:a%2Bb%26c%3Fd%23e%25f@x"},
      // No name: the bare address in every format.
      {1, "a@x", "", "mailto:a@x"},
      {2, "a@x", "", "mailto:a@x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(store::MailtoUri({store::UriRecipient(c.mode, c.addr, c.name)}), c.uri)
        << c.mode << " " << c.name;
  // Several recipients, comma-separated; a byte that is no CP932 character
  // becomes U+FFFD instead of breaking the URI.
  EXPECT_EQ(store::MailtoUri({"a@x", "b@y", "c@z"}), "mailto:a@x,b@y,c@z");
  EXPECT_EQ(store::MailtoUri({"\xA0" "a@x"}), "mailto:%EF%BF%BDa@x");
  EXPECT_EQ(store::MailtoUri({}), "mailto:");
}

TEST(MailLink, WhichCommandIsTheDesktopsHandler) {
  struct Case {
    std::string mailto, install;
    bool desktop;
  } cases[] = {
      {"xdg-open \"%1\"", "", true},
      {"thunder -compose \"%1\"", "/opt/q7/", true},
      {"", "/opt/q7/", false},  // the mail client's program from InstallPath
      {"\"/opt/q7/Q7\" \"%1\"", "/opt/q7/", false},
      {"/opt/q7/Q7 %1", "/opt/q7/", false},
      {"/opt/q7/Q7x %1", "/opt/q7/", true},
  };
  for (const Case& c : cases) {
    store::TAllList b;
    b.MailtoCmd = c.mailto;
    b.InstallPath = c.install;
    EXPECT_EQ(store::DesktopHandler(b), c.desktop) << c.mailto;
  }
}

class MailLinkMain : public logictest::MainLogic {
 protected:
  void StartWith(const std::string& cmd) {
    Bab("Personal/Friends/friends.bab", Vcard("c@x", "bob") + Vcard("a@x", kYamada) + Vcard("b@x", "B, b"));
    Bab("Personal/Work/work.bab", Vcard("w1@x", "Zed"));
    mailto = cmd;
    Start();
    Book().InstallPath = "/opt/q7/";
    main->Selected = NodeNamed("Friends");
    Select("a@x");
    ASSERT_EQ(View().Addr, "a@x");
    ASSERT_EQ(View().Sign, kYamada);
  }
};

TEST_F(MailLinkMain, DesktopHandlerGetsUris) {
  StartWith("xdg-open \"%1\"");
  const std::string name = "%E5%B1%B1%E7%94%B0";
  const std::string want[] = {"mailto:a@x", "mailto:a@x%20%28" + name + "%29", "mailto:" + name + "%20%3Ca@x%3E"};
  for (int mode = 0; mode < 3; ++mode) {
    Book().AdrSendMode = mode;
    EXPECT_EQ(main->SendMailLink(), want[mode]) << mode;
  }
  // The group as its members' preferred addresses, in the group's order.
  EXPECT_EQ(main->SendGroupMailLink(), "mailto:c@x,a@x,b@x");
  EXPECT_EQ(store::BuildLaunchCommand(Book(), main->SendGroupMailLink()), "xdg-open mailto:c@x,a@x,b@x");
}

TEST_F(MailLinkMain, MailClientsOwnProgramKeepsTheDesignsArgument) {
  StartWith("");
  for (const std::string& cmd : {std::string(), std::string("\"/opt/q7/Q7\" \"%1\"")}) {
    Book().MailtoCmd = cmd;
    for (int mode = 0; mode < 3; ++mode) {
      Book().AdrSendMode = mode;
      EXPECT_EQ(main->SendMailLink(), TQ7AdrMan::MailArgument(mode, "a@x", kYamada)) << mode;
    }
    EXPECT_EQ(main->SendMailLink(), "\"mailto:" + kYamada + " <a@x>\"");
    EXPECT_EQ(main->SendGroupMailLink(), TQ7AdrMan::GroupMailArgument(store::GroupDisplayPath(Group("Friends"))));
  }
}

// Started for real: the handler receives the URI as one argument.
TEST_F(MailLinkMain, TheHandlerIsStartedWithTheUri) {
  const std::string out = tmp / "argv.txt";
  const std::string prog = tmp / "handler";
  testsupport::WriteBytes(prog, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out +
                                    ".tmp' && mv '" + out + ".tmp' '" + out + "'\n");
  ::chmod(prog.c_str(), 0755);
  StartWith(prog + " \"%1\"");
  Book().AdrSendMode = 2;
  main->SendMailClick();
  for (int i = 0; i < 300 && !std::filesystem::exists(out); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(std::filesystem::exists(out));
  EXPECT_EQ(testsupport::ReadBytes(out), "mailto:%E5%B1%B1%E7%94%B0%20%3Ca@x%3E\n");
  EXPECT_TRUE(dlg.boxes.empty());
}

}  // namespace
