// The card editor window: mirrors editor::TView (the main window logic's
// `View`), a tool window that stays on top beside the main window. The
// "Entry Group" list on the left, the notebook with the standard page on
// the right, the OK button in the notebook's top right corner.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "editor/ViewLogic.h"
#include "mainwin/MainFormLogic.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTreeView;

namespace editor {

class EntryGroupModel;
class SectionsPageWidget;

class CardEditorWindow : public QWidget {
  Q_OBJECT
 public:
  // main must have run FormCreate (its View exists).
  CardEditorWindow(mainwin::TQ7AdrMan& main, QWidget* parent);
  ~CardEditorWindow() override;

  // Members -> widgets. Fields the logic did not change since they were
  // last shown keep what the user is typing.
  void RefreshFromLogic();
  // When a field holds text not yet taken over: write the fields into the
  // logic and run FormLostFocus, as a deactivation would. True when it ran.
  bool TakeOverPending();
  void FocusAddr();
  void StoreGeometry();

  // The eight edits in tab order: Addr, Sign, Key, URL, Nic, Tel, Fax, PHS.
  QLineEdit* edit(int i) const { return edits_[static_cast<std::size_t>(i)]; }
  QPlainTextEdit* memo() const { return rem_; }
  QLabel* addressLabel() const { return adr_; }
  QTreeView* entryGroup() const { return entryGroup_; }
  EntryGroupModel* entryGroupModel() const { return entryModel_; }
  QWidget* standardPage() const { return stdTab_; }
  QPushButton* okButton() const { return viewOK_; }
  SectionsPageWidget* sectionsPage() const { return sections_; }
  QLabel* readOnlyLine() const { return readOnly_; }

 signals:
  // A handler ran; the main window refreshes (which refreshes this window).
  void logicChanged();
  // The OK button: the main window's address grid takes the focus.
  void gridFocusRequested();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int kEdits = 8;

  TView& View() const { return *main_.View; }
  void BuildWidgets();
  void ApplyCaptionsAndGeometry();
  // Widgets -> members, keeping each field's bytes when its text is what
  // they show.
  void PushFields();
  bool FieldsDirty() const;
  void AfterHandler();
  void OnFocusChanged(QWidget* old, QWidget* now);
  void CheckEdit(int i, const QString& text);
  void CheckMemo();

  mainwin::TQ7AdrMan& main_;
  bool started_ = false;
  bool updating_ = false;
  // The page was taken over since the last FormLostFocus: the groups of
  // the changed card still have to be marked.
  bool lostFocusPending_ = false;
  bool active_ = false;  // this window is the active one
  std::uint64_t entryRevision_ = ~std::uint64_t{0};

  std::array<QLineEdit*, kEdits> edits_{};
  std::array<std::string TView::*, kEdits> members_{};
  std::array<std::string, kEdits> shown_;  // bytes last shown in each edit
  std::array<QString, kEdits> lastGood_;   // last text CP932 could hold
  std::string remShown_;
  QString remLastGood_;
  int remLastGoodCursor_ = 0;
  std::string adrShown_;

  QSplitter* splitter_ = nullptr;
  QWidget* groupPnl_ = nullptr;
  QLabel* label13_ = nullptr;
  QTreeView* entryGroup_ = nullptr;
  EntryGroupModel* entryModel_ = nullptr;
  QTabWidget* pagePanel_ = nullptr;
  QWidget* stdTab_ = nullptr;
  QPushButton* viewOK_ = nullptr;
  std::array<QLabel*, 10> labels_{};
  QLabel* adr_ = nullptr;
  QPlainTextEdit* rem_ = nullptr;
  SectionsPageWidget* sections_ = nullptr;  // the extended page
  QLabel* readOnly_ = nullptr;              // why the card is read-only
};

}  // namespace editor
