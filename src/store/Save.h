// Writing groups back: backups, the change check against the mail client's
// writes, and the one-file rule for groups with several address files.
#pragma once

#include <string>

#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "store/Book.h"

namespace store {

// A save-file dialog with one output text file. The file is replaced only
// by Commit, atomically, the old content becoming the ".bak" backup (see
// platform/AtomicFile.h): until then nothing on disk has changed.
class TSaveDlg {
 public:
  explicit TSaveDlg(dlg::Dialogs* dialogs) : dialogs_(dialogs) {}

  std::string FileName;    // CP932 path of the chosen file
  std::string Filter;      // "Text files (*.txt)|*.txt"
  std::string DefaultExt;  // "txt"
  bool KeepBackup = true;  // the replaced file becomes FileName's ".bak"
  plat::AtomicFile File;
  plat::TextWriter& Out = File.Out();  // open after CreateFile

  // Sets filter and default extension and asks for a file; false on cancel.
  bool SetNewFile(const std::string& filter);
  // Opens Out on a new temporary file beside FileName; shows "File create
  // error" when that fails.
  bool CreateFile();
  // Flushes Out, keeps the old file as the backup and puts the new content
  // under FileName. On failure the old file and backup stay as they were and
  // the box names the file and the failed step: "Can not delete old file."
  // when the backup could not be made, else "File create error" (with the
  // full path when writing or flushing failed, as for a failed close).
  bool Commit();

 private:
  dlg::Dialogs* dialogs_;
};

// The same path with its extension replaced by ".bak".
std::string BackupPath(const std::string& path);

bool SaveGroupFile(TAllList& book, TGrpList& group, const std::string& path, bool emptyOnly);
bool SaveGroup(TAllList& book, TreeNode* node);
std::string ZenToHan(const std::string& text);

}  // namespace store
