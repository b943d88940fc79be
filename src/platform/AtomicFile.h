// Replacing a file so that whatever stops the program, at any moment, the
// file's name holds either its complete old or its complete new content,
// and its backup (when one is kept) is complete as well.
//
// The new content goes to a temporary file in the same folder and is
// flushed to disk. Only then is the old file hard-linked (or, where the file
// system refuses links, copied and flushed) to a temporary backup name; the
// new file takes the file's name by one rename, and the temporary backup
// takes the backup's name by a second one. If that last rename fails, the
// old content is renamed back under the file's name. The folder is flushed
// after. No step deletes the only complete copy: the old backup is replaced
// by a rename, never removed first.
//
// Temporary names start with '.' and end with ".q7tmp", so a listing of
// "*.bab" never sees them; RemoveLeftovers clears those a crash left.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextFile.h"

namespace plat {

class AtomicFile {
 public:
  enum class Step { None, Create, Write, Flush, Link, Rename };

  AtomicFile() = default;
  // An unfinished replacement is abandoned: its temporary files go.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Opens the temporary file for the content of targetDiskPath (a symbolic
  // link is followed, so the link stays). The new file gets the old one's
  // permissions.
  bool Create(const std::string& targetDiskPath);
  TextWriter& Out() noexcept { return out_; }
  // Flushes the content, keeps the old file as backupDiskPath (none when
  // empty, or when the target does not exist yet) and puts the new content
  // under the target's name. On failure every temporary file is removed and
  // the target and the backup are as before (FailedStep tells which step:
  // Write, Flush or Rename for the new content, Link for the backup).
  bool Commit(const std::string& backupDiskPath = {});
  // Gives up: removes the temporary file.
  void Abort();

  Step FailedStep() const noexcept { return step_; }
  int Error() const noexcept { return error_; }

  // Whether a name (no folder) is one of these temporary files.
  static bool IsTempName(std::string_view name);
  // Removes the temporary files of this kind in a folder (disk path ending
  // with '/'); used after a successful save, when no write is under way.
  static void RemoveLeftovers(const std::string& folderDiskPath);

 private:
  bool Fail(Step step);

  TextWriter out_;
  std::string target_;  // resolved disk path of the file to replace
  std::string temp_;    // the new content, until renamed
  Step step_ = Step::None;
  int error_ = 0;
};

// Writes bytes as the whole new content of a file, atomically (no backup).
bool ReplaceFileContent(const std::string& targetDiskPath, std::string_view bytes);

}  // namespace plat
