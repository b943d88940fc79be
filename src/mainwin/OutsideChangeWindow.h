// The live notice of outside changes: watches the loaded groups' folders
// and address files (QFileSystemWatcher) and, when another program wrote,
// added or replaced a group's address file, shows a non-modal notice naming
// the group that offers to merge the change now or to leave it until the
// save asks. The decision is TQ7AdrMan::OutsideChanged, the merge
// TQ7AdrMan::MergeOutsideChange; nothing is merged or written unasked.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mainwin/MainFormLogic.h"

class QMessageBox;

namespace mainwin {

class MainWindow;

class OutsideChangeWatcher : public QObject {
  Q_OBJECT
 public:
  OutsideChangeWatcher(MainWindow& window, TQ7AdrMan& logic);
  ~OutsideChangeWatcher() override;

  // The open notice (object name "OutsideChangeNotice"), or nullptr.
  QMessageBox* notice() const;
  // Compares now: shows, updates or closes the notice; then watches the
  // current set of group folders and files.
  void Check();

 private:
  void Rewatch();
  void Answer(bool merge);

  MainWindow& window_;
  TQ7AdrMan& logic_;
  QFileSystemWatcher watcher_;
  QTimer settle_;   // one check after a burst of notifications
  QTimer rewatch_;  // groups added, renamed or reloaded change the paths
  QPointer<QMessageBox> notice_;
  std::vector<std::string> shown_;  // Path of each group the notice names
  // Per group Path: the newest time stamp the user chose to leave alone;
  // only a later write raises the notice again.
  std::map<std::string, TQ7AdrMan::OutsideChange> ignored_;
};

}  // namespace mainwin
