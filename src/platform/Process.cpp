#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <future>
#include <system_error>
#include <thread>

#include "platform/Sjis.h"

extern char** environ;

namespace plat {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

// Spawns argv and reports the result through started; on success waits for
// that child so that it does not stay a zombie. Runs on its own thread.
void SpawnAndReap(std::vector<std::string> args, std::promise<int> started) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  // The child inherits no other handle of ours (files, sockets, pipes).
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t all, none;
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSID);

  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  started.set_value(rc);
  if (rc != 0) return;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view s) {
  std::vector<std::string> args;
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && IsBlank(s[i])) ++i;
  if (i == n) return args;

  // The program name: no backslash rules, and a quote can only open it.
  std::string prog;
  if (s[i] == '"') {
    const std::size_t close = s.find('"', i + 1);
    const std::size_t end = close == std::string_view::npos ? n : close;
    prog = s.substr(i + 1, end - i - 1);
    i = close == std::string_view::npos ? n : close + 1;
  } else {
    while (i < n && !IsBlank(s[i])) prog += s[i++];
  }
  args.push_back(std::move(prog));

  for (;;) {
    while (i < n && IsBlank(s[i])) ++i;
    if (i == n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(s[i]))) {
      const char c = s[i];
      if (c == '\\') {
        std::size_t count = 0;
        while (i < n && s[i] == '\\') {
          ++count;
          ++i;
        }
        if (i < n && s[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg += '"';
            ++i;
          }
          // With an even count the quote is handled as a quote next round.
        } else {
          arg.append(count, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < n && s[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else if (sjis::IsLead(c) && i + 1 < n) {
        // A trail byte 0x5C is part of the character, not a backslash.
        arg += c;
        arg += s[i + 1];
        i += 2;
      } else {
        arg += c;
        ++i;
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

bool StartProcess(std::string_view commandLine, std::string* error) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (args.empty()) {
    SetError(error, "empty command line");
    return false;
  }
  const std::string program = args[0];
  std::promise<int> started;
  std::future<int> result = started.get_future();
  try {
    std::thread(SpawnAndReap, std::move(args), std::move(started)).detach();
  } catch (const std::system_error& e) {
    SetError(error, program + ": " + e.what());
    return false;
  }
  const int rc = result.get();
  if (rc != 0) {
    SetError(error, program + ": " + std::strerror(rc));
    return false;
  }
  return true;
}

}  // namespace plat
