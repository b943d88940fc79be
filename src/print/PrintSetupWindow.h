// The print and export setup window: shows the members of print::TPrintSetup
// and turns user events into its handlers (see PrintSetupLogic.h). The row
// and column panels are widgets in splitters; their pixel widths go to the
// logic, which derives the layout's widths in cells from them.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "print/PrintSetupLogic.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QStackedWidget;
class QTreeWidget;

namespace app {
class QtPrinterChooser;
}

namespace print {

class PreviewWidget;
class PanelLabel;

class PrintSetupWindow : public QDialog, private PrintHost {
  Q_OBJECT
 public:
  explicit PrintSetupWindow(TPrintSetup& logic, QWidget* parent = nullptr);
  ~PrintSetupWindow() override;

  TPrintSetup& logic() { return logic_; }
  // Replaces the platform's printer dialog (tests print to a PDF file).
  void SetChooser(PrinterChooser* chooser);
  QSplitter* rowSplitter(int row) const { return splitters_[static_cast<std::size_t>(row - 1)]; }
  QWidget* columnPanel(int row, int col) const;
  QListWidget* itemList() const { return prItem_; }
  PreviewWidget* preview() const { return preview_; }

  // Members -> widgets.
  void RefreshFromLogic();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Esc or the close box while printing asks the print loop to stop
  // instead of hiding a window whose loop still runs.
  void reject() override;

 private:
  void ProcessEvents() override;
  void SetPageMessage(const std::string& text) override;

  void BuildWidgets();
  template <typename F>
  void Run(F&& handler);
  void PanelClicked(int tag);
  void TakeSplitter(int row);
  void CloseItemList(bool keep, bool refocus);
  void ApplyPanelWidths();
  void RefreshGroupList();

  TPrintSetup& logic_;
  std::unique_ptr<app::QtPrinterChooser> ownChooser_;
  bool started_ = false;
  bool updating_ = false;

  QStackedWidget* stack_ = nullptr;
  QWidget* panel1_ = nullptr;
  QPushButton* endBtn_ = nullptr;
  QPushButton* execPrint_ = nullptr;
  QPushButton* sendToFile_ = nullptr;
  QPushButton* sendToClip_ = nullptr;
  QPushButton* preViewBtn_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* pageMessage_ = nullptr;
  QRadioButton* radioPrintView_ = nullptr;
  QRadioButton* radioPrintAll_ = nullptr;
  std::array<QRadioButton*, 3> formRadios_{};
  QTreeWidget* printGroup_ = nullptr;
  QSpinBox* prScale_ = nullptr;
  QWidget* layoutArea_ = nullptr;
  std::array<QFrame*, 4> rows_{};
  std::array<QSplitter*, 4> splitters_{};
  std::array<std::array<PanelLabel*, 4>, 4> panels_{};
  QFrame* prForm5_ = nullptr;
  QLabel* prForm5Cap1_ = nullptr;
  QLabel* prForm5Cap2_ = nullptr;
  QListWidget* prItem_ = nullptr;
  PreviewWidget* preview_ = nullptr;
};

}  // namespace print
