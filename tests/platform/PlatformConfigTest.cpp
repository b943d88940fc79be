#include "platform/PlatformConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/TestSupport.h"

using plat::PlatformConfig;
using testsupport::TempDir;
using Vars = std::map<std::string, std::string>;

namespace {

plat::EnvLookup FakeEnv(Vars vars) {
  return [vars = std::move(vars)](const std::string& name) -> std::optional<std::string> {
    const auto it = vars.find(name);
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}

TEST(PlatformConfigTest, EnvironmentThenIniThenDefaults) {
  TempDir dir;
  testsupport::WriteBytes(dir / "q7addr.ini",
                          "[Settings]\r\nDataDir=/ini/data/\r\nInstallPath=/ini/q7/\r\n"
                          "MailtoCmd=\"\"/opt/my mail/m\" \"%1\"\"\r\nV1HomeDir=\r\n");
  struct Case { Vars env; bool withIni; PlatformConfig want; };
  const Case cases[] = {
      {{}, false, {"/cur/", "", "xdg-open \"%1\"", ""}},
      {{}, true, {"/ini/data/", "/ini/q7/", "\"/opt/my mail/m\" \"%1\"", ""}},
      {{{"Q7ADDR_DATADIR", "/env/\x97\x46"}, {"Q7ADDR_MAILTO", ""}, {"Q7ADDR_V1HOME", "/v1"}},
       true, {"/env/\x97\x46", "/ini/q7/", "", "/v1"}},
      {{{"Q7ADDR_INSTALLPATH", "/env/q7/"}}, false, {"/cur/", "/env/q7/", "xdg-open \"%1\"", ""}},
  };
  for (const Case& c : cases) {
    const PlatformConfig got = plat::LoadPlatformConfig(
        {FakeEnv(c.env), dir / (c.withIni ? "q7addr.ini" : "none.ini"), "/cur/", "xdg-open \"%1\""});
    EXPECT_EQ(got.DataDir, c.want.DataDir);
    EXPECT_EQ(got.InstallPath, c.want.InstallPath);
    EXPECT_EQ(got.MailtoCmd, c.want.MailtoCmd);
    EXPECT_EQ(got.V1HomeDir, c.want.V1HomeDir);
  }
}

TEST(PlatformConfigTest, ConfigFileFollowsXdgRules) {
  struct Case { Vars env; const char* want; };
  const Case cases[] = {
      {{{"XDG_CONFIG_HOME", "/xdg"}, {"HOME", "/h"}}, "/xdg/q7addr/q7addr.ini"},
      {{{"XDG_CONFIG_HOME", "rel"}, {"HOME", "/h/"}}, "/h/.config/q7addr/q7addr.ini"},
      {{{"HOME", "/home/友人"}}, "/home/\x97\x46\x90\x6c/.config/q7addr/q7addr.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::ConfigFilePath(FakeEnv(c.env)), c.want);
}

TEST(PlatformConfigTest, MailtoDefaultNeedsAnExecutableXdgOpen) {
  TempDir withExe, withPlain;
  testsupport::WriteBytes(withExe / "xdg-open", "#!/bin/sh\n");
  std::filesystem::permissions(withExe / "xdg-open", std::filesystem::perms::owner_all);
  testsupport::WriteBytes(withPlain / "xdg-open", "#!/bin/sh\n");
  std::filesystem::permissions(withPlain / "xdg-open", std::filesystem::perms::owner_read);
  EXPECT_EQ(plat::DefaultMailtoCmd(withPlain.path() + ":" + withExe.path()), "xdg-open \"%1\"");
  EXPECT_EQ(plat::DefaultMailtoCmd(withPlain.path()), "");
}

}  // namespace
