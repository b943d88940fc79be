// The options dialog: shows options::TOptionSet's members; a chosen radio
// is written into them at once, and the main window's OtherClick writes
// them into the book when the dialog closes, however it is closed.
#pragma once

#include <QDialog>

#include "options/OptionsLogic.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace options {

class OptionsWindow : public QDialog {
  Q_OBJECT
 public:
  OptionsWindow(TOptionSet& logic, QWidget* parent = nullptr);

 private:
  QRadioButton* Radio(QGroupBox* box, const char* name, const std::string& caption, bool checked);

  TOptionSet& logic_;
};

}  // namespace options
