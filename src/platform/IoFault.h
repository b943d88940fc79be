// A seam for tests: every step of replacing a file (create, write, flush,
// link, rename) asks this hook first, so a test can make any one step fail
// with a chosen errno and check that nothing on disk was lost.
#pragma once

#include <functional>
#include <string_view>

namespace plat::io {

// List: opening a folder to list it (an unreadable folder).
enum class Op { Create, Write, Flush, Link, Rename, List };

// Returns the errno to fail the step with, or 0 to let it run. diskPath is
// the file the step acts on (for Link and Rename: the new name).
using FaultHook = std::function<int(Op op, std::string_view diskPath)>;

// Installs (or, with an empty hook, removes) the hook; not thread-safe.
void SetFaultHook(FaultHook hook);

// 0 or the injected errno (then errno is set to it as well).
int Fault(Op op, std::string_view diskPath);

// Whether flushes to disk (fsync) are made. Always on in the program; the
// benchmark turns them off to state their cost separately.
void SetSyncEnabled(bool on);
bool SyncEnabled();

}  // namespace plat::io
