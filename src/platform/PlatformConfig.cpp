#include "platform/PlatformConfig.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace plat {

namespace {

constexpr const char* kSection = "Settings";

std::optional<std::string> ProcessEnv(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  if (!v) return std::nullopt;
  return std::string(v);
}

std::string HomeDir(const EnvLookup& env) {
  if (auto home = env("HOME"); home && !home->empty()) return *home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

}  // namespace

std::string ConfigFilePath(const EnvLookup& env) {
  std::string base;
  if (auto xdg = env("XDG_CONFIG_HOME"); xdg && !xdg->empty() && xdg->front() == '/') {
    base = *xdg;
  } else {
    base = HomeDir(env);
    if (base.empty()) return {};
    if (base.back() != '/') base += '/';
    base += ".config";
  }
  if (base.back() != '/') base += '/';
  return fs::FromDiskPath(base + "q7addr/q7addr.ini");
}

bool ExecutableOnPath(const std::string& program, const std::string& pathVar) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = pathVar.find(':', start);
    const std::string_view dir =
        std::string_view(pathVar).substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    const std::string candidate = (dir.empty() ? std::string(".") : std::string(dir)) + "/" + program;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
      return true;
    }
    if (colon == std::string::npos) return false;
    start = colon + 1;
  }
}

std::string DefaultMailtoCmd(const std::string& pathVar) {
  return ExecutableOnPath("xdg-open", pathVar) ? "xdg-open \"%1\"" : std::string();
}

ConfigSources SystemConfigSources() {
  ConfigSources s;
  s.env = ProcessEnv;
  s.iniPath = ConfigFilePath(s.env);
  s.currentDir = fs::CurrentDir();
  // Without PATH the search uses the system's default folders.
  s.defaultMailto = DefaultMailtoCmd(ProcessEnv("PATH").value_or("/bin:/usr/bin"));
  return s;
}

PlatformConfig LoadPlatformConfig(const ConfigSources& sources) {
  IniFile ini(sources.iniPath);
  const auto value = [&](const char* envName, const char* key, const std::string& def) {
    if (auto v = sources.env(envName)) return *v;
    if (ini.ValueExists(kSection, key)) return ini.ReadString(kSection, key, def);
    return def;
  };
  PlatformConfig c;
  c.DataDir = value("Q7ADDR_DATADIR", "DataDir", sources.currentDir);
  c.InstallPath = value("Q7ADDR_INSTALLPATH", "InstallPath", {});
  c.MailtoCmd = value("Q7ADDR_MAILTO", "MailtoCmd", sources.defaultMailto);
  c.V1HomeDir = value("Q7ADDR_V1HOME", "V1HomeDir", {});
  return c;
}

bool SaveDataDir(const std::string& iniPath, const std::string& dataDir) {
  if (iniPath.empty()) return false;
  const std::size_t slash = iniPath.rfind('/');
  if (slash != std::string::npos && slash > 0 && !fs::MakeDirs(iniPath.substr(0, slash))) return false;
  std::string value = dataDir;
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (quoted) value = '"' + value + '"';
  IniFile ini(iniPath);
  ini.WriteString(kSection, "DataDir", value);
  return ini.UpdateFile();
}

PlatformConfig LoadPlatformConfig() { return LoadPlatformConfig(SystemConfigSources()); }

}  // namespace plat
