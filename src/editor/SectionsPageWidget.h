// The card editor's extended page "(&V)Ext": mirrors the section members of
// editor::TView (see the seam comment in ViewLogic.h). The section radio
// group, the strip with the section key and "Add(&A)", the table of the
// section's lines, and the edit panel EdPanel, which lies over the whole
// editor window while it is open.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "editor/ViewLogic.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace editor {

class SectionsPageWidget : public QWidget {
  Q_OBJECT
 public:
  // overlayHost: the editor window; EdPanel is its child, over every page.
  SectionsPageWidget(TView& view, QWidget* overlayHost, QWidget* parent);

  // Members -> widgets. Consumes FocusRequest EdPanel.
  void RefreshFromLogic();
  // The panel's edits -> Ed01 / Ed (before anything may take them over).
  void PushFields();
  // The open panel holds text not yet written into the members.
  bool PanelDirty() const;
  void SetCaptions();

  QRadioButton* radio(int i) const { return radios_[static_cast<std::size_t>(i)]; }
  QTreeWidget* secView() const { return secView_; }
  QLabel* secName() const { return secName_; }
  QPushButton* addButton() const { return addSec_; }
  QFrame* edPanel() const { return edPanel_; }
  QLineEdit* ed01() const { return ed01_; }
  QLineEdit* ed(int i) const { return eds_[static_cast<std::size_t>(i)]; }
  QLabel* edLabel(int i) const { return lbs_[static_cast<std::size_t>(i)]; }
  QPushButton* okButton() const { return addSecOK_; }
  QPushButton* deleteButton() const { return delSec_; }

 signals:
  // A handler ran: the editor and the main window refresh.
  void handlerRan();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPage();
  void BuildPanel();
  void PlacePanel();
  void RebuildTable();
  void OnFocusChanged(QWidget* old, QWidget* now);
  void CheckEdit(QLineEdit* e, QString& lastGood, const QString& text);
  template <typename F>
  void Run(F&& handler);

  TView& v_;
  QWidget* host_;
  bool updating_ = false;
  bool running_ = false;  // a handler runs (it may show a box)
  std::uint64_t revision_ = ~std::uint64_t{0};

  std::array<QRadioButton*, 18> radios_{};
  QButtonGroup* radioGroup_ = nullptr;
  QLabel* secName_ = nullptr;
  QLabel* panel2Caption_ = nullptr;
  QPushButton* addSec_ = nullptr;
  QTreeWidget* secView_ = nullptr;

  QFrame* edPanel_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* lb00_ = nullptr;
  QLabel* lb01_ = nullptr;
  QLineEdit* ed01_ = nullptr;
  std::array<QLabel*, 7> lbs_{};
  std::array<QLineEdit*, 7> eds_{};
  QPushButton* addSecOK_ = nullptr;
  QPushButton* delSec_ = nullptr;
  // Bytes last shown in Ed01 and Ed0..Ed6, and the last texts CP932 held.
  std::array<std::string, 8> shown_;
  std::array<QString, 8> lastGood_;
};

}  // namespace editor
