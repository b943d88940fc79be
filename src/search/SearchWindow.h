// The search dialog: a modal window over search::TSearchDlg. It shows the
// logic's members, writes the controls back before each handler, and closes
// when the logic's ModalResult says so. It owns nothing of the book.
#pragma once

#include <QDialog>
#include <array>

#include "search/SearchLogic.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace search {

class SearchWindow : public QDialog {
  Q_OBJECT
 public:
  SearchWindow(TSearchDlg& logic, QWidget* parent = nullptr);

  TSearchDlg& logic() { return logic_; }

 public slots:
  void reject() override;  // Esc and the cancel button: CancelBtnClick

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWidgets();
  void RefreshFromLogic();
  // Controls -> members; false when the text cannot be held in CP932 (the
  // user has been told and the handler must not run).
  bool PushControls();
  void OnSearch();
  void OnAreaClicked();

  TSearchDlg& logic_;
  QLabel* label1_ = nullptr;
  QLineEdit* findText_ = nullptr;
  QPushButton* searchBtn_ = nullptr;
  QPushButton* cancelBtn_ = nullptr;
  QGroupBox* tags_ = nullptr;
  QListWidget* filter_ = nullptr;
  QGroupBox* area_ = nullptr;
  QRadioButton* radioAnd_ = nullptr;
  QRadioButton* radioAll_ = nullptr;
  QRadioButton* radioGrp_ = nullptr;
  QGroupBox* func_ = nullptr;
  QRadioButton* radioAdd_ = nullptr;
  QRadioButton* radioNew_ = nullptr;
  QGroupBox* groupBox2_ = nullptr;
  QRadioButton* radioInc_ = nullptr;
  QRadioButton* radioNotInc_ = nullptr;
  QCheckBox* noCase_ = nullptr;
};

}  // namespace search
