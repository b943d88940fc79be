// Starting another program from a Windows-style command line, without a
// shell: no character of the command line is ever interpreted by one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Splits a command line into arguments by the rules Windows programs apply
// to theirs.
// The first item is the program name: from an opening quote to the next
// quote, else up to the first space or tab; backslashes are plain there.
// The other arguments are separated by spaces and tabs; double quotes group
// and are removed; 2n backslashes before a quote give n backslashes and the
// quote opens or closes a group; 2n+1 backslashes before a quote give n
// backslashes and a literal quote; other backslashes are literal. Inside a
// group, "" gives a literal quote and the group goes on (the rule of the C
// runtime since 2008; the older rule ended the group there).
// The bytes are CP932: a trail byte 0x5C is not a backslash.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Splits the command line and starts its first item, searched on PATH, with
// the rest as arguments, byte for byte. The child gets this program's
// environment and current directory, standard input from /dev/null, no
// other open descriptor beyond standard output and error, and a session of
// its own. Returns at once; false (with a one-line reason in *error) when
// the command line is empty or the program cannot be started.
//
// The child is reaped by a detached thread waiting for that one process id,
// so it never stays a zombie and waits for other children (QProcess,
// system()) are not disturbed; no signal disposition is changed.
bool StartProcess(std::string_view commandLine, std::string* error = nullptr);

}  // namespace plat
