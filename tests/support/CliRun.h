// Running q7addr-cli (or any command line) from a test: its standard output,
// standard error and exit status.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/TestSupport.h"

namespace testsupport {

struct CliRun {
  std::string out, err;
  int status = -1;  // the exit status, -1 when killed by a signal
};

// Runs a shell command line; standard error is captured apart.
inline CliRun RunShell(const std::string& command) {
  TempDir tmp;
  CliRun r;
  const std::string cmd = command + " 2>'" + (tmp / "err") + "'";
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = ReadBytes(tmp / "err");
  return r;
}

// Single quotes for the shell (a quote inside is closed, escaped, reopened).
inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

#ifdef Q7_CLI_PATH
// q7addr-cli with the arguments (already quoted as needed), after optional
// environment assignments ("LANG=C").
inline CliRun RunCli(const std::string& args, const std::string& env = "") {
  return RunShell(env + (env.empty() ? "" : " ") + std::string(Q7_CLI_PATH) + " " + args);
}
#endif

}  // namespace testsupport
