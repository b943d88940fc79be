// Writing groups back: backups, the change check against the mail client's
// writes, and the one-file rule for groups with several address files.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "store/Book.h"

namespace store {

// A save-file dialog with one output text file.
class TSaveDlg {
 public:
  explicit TSaveDlg(dlg::Dialogs* dialogs) : dialogs_(dialogs) {}

  std::string FileName;    // CP932 path of the chosen file
  std::string Filter;      // "Text files (*.txt)|*.txt"
  std::string DefaultExt;  // "txt"
  plat::TextWriter Out;    // open after CreateFile; the caller closes it

  // True when the chosen file may now be written: it did not exist, or it
  // was moved to its ".bak" path.
  bool PushBakFile();
  // Sets filter and default extension, asks for a file, makes the backup.
  bool SetNewFile(const std::string& filter);
  // Creates (or empties) the chosen file and opens Out on it.
  bool CreateFile();

 private:
  dlg::Dialogs* dialogs_;
};

// The same path with its extension replaced by ".bak".
std::string BackupPath(const std::string& path);

bool SaveGroupFile(TAllList& book, TGrpList& group, const std::string& path, bool emptyOnly);
bool SaveGroup(TAllList& book, TreeNode* node);
std::string ZenToHan(const std::string& text);

}  // namespace store
