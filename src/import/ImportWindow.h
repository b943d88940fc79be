// The import dialog: shows imp::TImportForm's members and turns clicks into
// its handlers. Modal, over the main window's grid; it owns nothing of the
// book. A run shows a progress dialog with a cancel button and keeps the
// window painted meanwhile.
#pragma once

#include <QDialog>
#include <array>

#include "import/ImportFormLogic.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace imp {

class ImportWindow : public QDialog {
  Q_OBJECT
 public:
  ImportWindow(TImportForm& form, QWidget* parent = nullptr);

  // Members -> widgets.
  void RefreshFromLogic();
  QTreeWidget* mappingList() const { return importItem_; }
  // How long a run goes before its progress dialog shows (a short import
  // should not flash one).
  void setProgressDelay(int ms) { progressDelayMs_ = ms; }
  QListWidget* targetList() const { return prItem_; }

 signals:
  // A run changed the book: the main window redraws its tree and grid.
  void imported();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;  // Esc and the close box: not while a run goes on
  void closeEvent(QCloseEvent* event) override;

 private:
  template <typename F>
  void Run(F&& handler);
  void Execute();
  void PrItemDone();

  TImportForm& form_;
  bool updating_ = false;
  bool running_ = false;  // a run processes events: no handler may start meanwhile
  int progressDelayMs_ = 300;
  QPushButton* endBtn_ = nullptr;
  QPushButton* selectFile_ = nullptr;
  QPushButton* exect_ = nullptr;
  QPushButton* chooseFolder_ = nullptr;
  QWidget* optionPnl_ = nullptr;
  QPushButton* upBtn_ = nullptr;
  QPushButton* downBtn_ = nullptr;
  QSpinBox* recNo_ = nullptr;
  QComboBox* encoding_ = nullptr;
  QLabel* encodingChosen_ = nullptr;
  QListWidget* prItem_ = nullptr;
  std::array<QRadioButton*, kTemplateCount> templates_{};
  QLabel* inFileName_ = nullptr;
  QTreeWidget* importItem_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
};

}  // namespace imp
