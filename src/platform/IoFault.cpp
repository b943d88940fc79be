#include "platform/IoFault.h"

#include <cerrno>
#include <utility>

namespace plat::io {

namespace {
FaultHook& Hook() {
  static FaultHook hook;
  return hook;
}
bool g_sync = true;
}  // namespace

void SetFaultHook(FaultHook hook) { Hook() = std::move(hook); }

int Fault(Op op, std::string_view diskPath) {
  const FaultHook& h = Hook();
  if (!h) return 0;
  const int e = h(op, diskPath);
  if (e != 0) errno = e;
  return e;
}

void SetSyncEnabled(bool on) { g_sync = on; }
bool SyncEnabled() { return g_sync; }

}  // namespace plat::io
