// What the Windows registry held for the program: the mail client's data
// folder and install folder, the mailto handler's command and the
// version-1 client's home folder.
//
// Each value comes from the first of these that has it:
//  1. the environment variable Q7ADDR_DATADIR, Q7ADDR_INSTALLPATH,
//     Q7ADDR_MAILTO or Q7ADDR_V1HOME; a variable that is set counts even
//     when empty (Q7ADDR_MAILTO= makes the program start the mail client
//     from InstallPath);
//  2. the key DataDir, InstallPath, MailtoCmd or V1HomeDir in section
//     [Settings] of $XDG_CONFIG_HOME/q7addr/q7addr.ini (default
//     ~/.config/q7addr/); a key present with an empty value counts too.
//     As in every profile file, a value in one pair of quotes is read
//     without them, so a command that starts and ends with a quote is
//     written with one more pair: MailtoCmd=""/opt/my mail/mail" "%1"";
//  3. the default: DataDir the current directory (ending with '/'),
//     MailtoCmd `xdg-open "%1"` when xdg-open is an executable on PATH,
//     the others empty.
// Values from the environment and the file are bytes as given.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace plat {

struct PlatformConfig {
  std::string DataDir;
  std::string InstallPath;
  std::string MailtoCmd;
  std::string V1HomeDir;
};

// A lookup of one environment variable; nothing when it is not set.
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// Where LoadPlatformConfig takes its values from.
struct ConfigSources {
  EnvLookup env;
  std::string iniPath;        // CP932 path of q7addr.ini
  std::string currentDir;     // default DataDir
  std::string defaultMailto;  // default MailtoCmd
};

// The process environment, the user's q7addr.ini, the current directory
// and PATH.
ConfigSources SystemConfigSources();

PlatformConfig LoadPlatformConfig(const ConfigSources& sources);
PlatformConfig LoadPlatformConfig();  // from SystemConfigSources()

// Remembers dataDir as DataDir in section [Settings] of the q7addr.ini at
// iniPath (CP932), creating the file and its folder when needed; a value
// that starts and ends with a quote gets one more pair so it reads back as
// given. False when the file cannot be written.
bool SaveDataDir(const std::string& iniPath, const std::string& dataDir);

// $XDG_CONFIG_HOME/q7addr/q7addr.ini, where only an absolute
// XDG_CONFIG_HOME counts, else $HOME/.config/q7addr/q7addr.ini; CP932.
std::string ConfigFilePath(const EnvLookup& env);

// True when program is an executable regular file in one of the folders
// of pathVar (':'-separated; an empty entry is the current directory).
bool ExecutableOnPath(const std::string& program, const std::string& pathVar);

// `xdg-open "%1"` when xdg-open is found on pathVar, else empty.
std::string DefaultMailtoCmd(const std::string& pathVar);

}  // namespace plat
