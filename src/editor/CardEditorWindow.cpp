#include "editor/CardEditorWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Codec.h"
#include "ui/QtDialogs.h"
#include "ui/QtAppearance.h"
#include "ui/QtImages.h"
#include "ui/Translate.h"
#include "editor/EntryGroupModel.h"
#include "editor/SectionsPageWidget.h"

namespace editor {
namespace {

// The "Entry Group" list draws the tree with characters, so it needs a
// fixed pitch that also holds Japanese.
QFont EntryGroupFont(const QFont& base) { return app::JapaneseFixedFont(base); }

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

bool Within(const QWidget* w, const QWidget* area) { return w && (w == area || area->isAncestorOf(w)); }

}  // namespace

CardEditorWindow::CardEditorWindow(mainwin::TQ7AdrMan& main, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_(main) {
  setObjectName(QStringLiteral("View"));
  BuildWidgets();
  ApplyCaptionsAndGeometry();
  connect(qApp, &QApplication::focusChanged, this, &CardEditorWindow::OnFocusChanged);
  started_ = true;
}

CardEditorWindow::~CardEditorWindow() {
  // Hiding in ~QWidget still changes the focus: the slot must not run on a
  // window whose own part is already gone.
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  started_ = false;
  entryGroup_->setModel(nullptr);
}

void CardEditorWindow::BuildWidgets() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("Splitter1"));
  splitter_->setChildrenCollapsible(false);
  outer->addWidget(splitter_);

  groupPnl_ = new QWidget(splitter_);
  groupPnl_->setObjectName(QStringLiteral("GroupPnl"));
  auto* gl = new QVBoxLayout(groupPnl_);
  gl->setContentsMargins(0, 0, 0, 0);
  gl->setSpacing(2);
  label13_ = new QLabel(groupPnl_);
  label13_->setObjectName(QStringLiteral("Label13"));
  label13_->setAlignment(Qt::AlignCenter);
  gl->addWidget(label13_);
  entryGroup_ = new QTreeView(groupPnl_);
  entryGroup_->setObjectName(QStringLiteral("EntryGroup"));
  entryGroup_->setRootIsDecorated(false);
  entryGroup_->setItemsExpandable(false);
  entryGroup_->setHeaderHidden(true);
  entryGroup_->setUniformRowHeights(true);
  entryGroup_->setAllColumnsShowFocus(true);
  entryGroup_->setSelectionBehavior(QAbstractItemView::SelectRows);
  entryGroup_->setSelectionMode(QAbstractItemView::SingleSelection);
  entryGroup_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  entryGroup_->setIconSize(QSize(images::kImageSize, images::kImageSize));
  entryGroup_->setFont(EntryGroupFont(font()));
  entryGroup_->header()->setStretchLastSection(false);
  entryGroup_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  entryGroup_->setMinimumWidth(50);
  entryModel_ = new EntryGroupModel(View().EntryGroup, this);
  entryGroup_->setModel(entryModel_);
  entryGroup_->installEventFilter(this);
  auto* entryFrame = new app::FocusFrame(groupPnl_);
  entryFrame->setObjectName(QStringLiteral("EntryGroupFrame"));
  entryFrame->setContent(entryGroup_);
  gl->addWidget(entryFrame, 1);

  pagePanel_ = new QTabWidget(splitter_);
  pagePanel_->setObjectName(QStringLiteral("PagePanel"));
  stdTab_ = new QWidget;
  stdTab_->setObjectName(QStringLiteral("StdTab"));
  // Enter in a field parks the focus on the page itself.
  stdTab_->setFocusPolicy(Qt::ClickFocus);
  auto* grid = new QGridLayout(stdTab_);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(4);
  static const char* const kLabelNames[10] = {"Label3",  "Label4",  "Label5",  "Label6",  "Label7",
                                              "Label9",  "Label10", "Label11", "Label12", "Label8"};
  for (int i = 0; i < 10; ++i) {
    labels_[static_cast<std::size_t>(i)] = new QLabel(stdTab_);
    labels_[static_cast<std::size_t>(i)]->setObjectName(QString::fromLatin1(kLabelNames[i]));
  }
  static const char* const kEditNames[kEdits] = {"Addr", "Sign", "Key", "URL", "Nic", "Tel", "Fax", "PHS"};
  members_ = {&TView::Addr, &TView::Sign, &TView::Key, &TView::URL,
              &TView::Nic,  &TView::Tel,  &TView::Fax, &TView::PHS};
  for (int i = 0; i < kEdits; ++i) {
    auto* e = new QLineEdit(stdTab_);
    e->setObjectName(QString::fromLatin1(kEditNames[i]));
    e->installEventFilter(this);
    connect(e, &QLineEdit::textEdited, this, [this, i](const QString& text) { CheckEdit(i, text); });
    edits_[static_cast<std::size_t>(i)] = e;
  }
  // Plain ASCII entry: the input method is switched off in these fields.
  for (QLineEdit* e : {edits_[0], edits_[2], edits_[3], edits_[5], edits_[6], edits_[7]}) {
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
  }
  adr_ = new QLabel(stdTab_);
  adr_->setObjectName(QStringLiteral("Adr"));
  adr_->setTextFormat(Qt::PlainText);
  adr_->setWordWrap(true);
  adr_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  adr_->setFrameShape(QFrame::StyledPanel);
  adr_->setFrameShadow(QFrame::Sunken);
  adr_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  adr_->setMinimumHeight(fontMetrics().height() * 2 + 6);
  adr_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  rem_ = new QPlainTextEdit(stdTab_);
  rem_->setObjectName(QStringLiteral("Rem"));
  rem_->setTabChangesFocus(true);
  connect(rem_, &QPlainTextEdit::textChanged, this, &CardEditorWindow::CheckMemo);
  connect(rem_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (!updating_) remLastGoodCursor_ = rem_->textCursor().position();
  });

  // Rows as designed: Mail Addr, Name, Public-Key, URL, NicName, Address,
  // Tel, Fax, PHS, Note.
  QWidget* fields[10] = {edits_[0], edits_[1], edits_[2], edits_[3], edits_[4],
                         adr_,      edits_[5], edits_[6], edits_[7], rem_};
  for (int r = 0; r < 10; ++r) {
    QLabel* l = labels_[static_cast<std::size_t>(r)];
    const bool tall = r == 5 || r == 9;
    grid->addWidget(l, r, 0, tall ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignVCenter | Qt::AlignLeft);
    grid->addWidget(fields[r], r, 1);
    if (fields[r] != adr_) l->setBuddy(fields[r]);
  }
  grid->setRowStretch(9, 1);
  grid->setColumnStretch(1, 1);
  for (int i = 0; i + 1 < kEdits; ++i) setTabOrder(edits_[static_cast<std::size_t>(i)], edits_[static_cast<std::size_t>(i + 1)]);
  setTabOrder(edits_[kEdits - 1], rem_);
  pagePanel_->addTab(stdTab_, QString());
  sections_ = new SectionsPageWidget(View(), this, pagePanel_);
  pagePanel_->addTab(sections_, QString());
  connect(sections_, &SectionsPageWidget::handlerRan, this, &CardEditorWindow::AfterHandler);
  readOnly_ = new QLabel(this);
  readOnly_->setObjectName(QStringLiteral("ReadOnlyLine"));
  readOnly_->setWordWrap(true);
  readOnly_->setFrameShape(QFrame::StyledPanel);
  readOnly_->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; color: #5a4000; padding: 2px; }"));
  readOnly_->hide();
  outer->addWidget(readOnly_);

  viewOK_ = new QPushButton(pagePanel_);
  viewOK_->setObjectName(QStringLiteral("ViewOK"));
  pagePanel_->setCornerWidget(viewOK_, Qt::TopRightCorner);

  splitter_->addWidget(groupPnl_);
  auto* pageFrame = new app::FocusFrame(splitter_);
  pageFrame->setObjectName(QStringLiteral("PagePanelFrame"));
  pageFrame->setContent(pagePanel_);
  splitter_->addWidget(pageFrame);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);

  connect(splitter_, &QSplitter::splitterMoved, this, [this] {
    if (started_) View().GroupPnlWidth = splitter_->sizes().value(0);
  });
  connect(viewOK_, &QPushButton::clicked, this, [this] {
    View().ViewOKClick();
    if (View().FocusRequest != ViewFocus::MainGrid) return AfterHandler();
    View().FocusRequest = ViewFocus::None;
    // The grid takes the focus; what was typed is taken over now even if
    // the window manager keeps this window active.
    PushFields();
    View().FormLostFocus();
    emit logicChanged();
    emit gridFocusRequested();
  });
  connect(entryGroup_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    if (!index.isValid()) return;
    View().EntryGroupIndex = index.row();
    View().EntryGroupDblClick();
    AfterHandler();
  });
  connect(entryGroup_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!updating_ && started_) View().EntryGroupIndex = current.isValid() ? current.row() : -1;
          });
  connect(pagePanel_, &QTabWidget::currentChanged, this, [this](int index) {
    if (updating_ || !started_) return;
    PushFields();
    View().PagePanelChanging();
    View().PagePanelChange(index == 0 ? Page::StdTab : Page::ExtTab);
    AfterHandler();
  });
}

void CardEditorWindow::ApplyCaptionsAndGeometry() {
  const TView& v = View();
  const ViewCaptions& c = v.Captions;
  setWindowTitle(ui::Tr(ui::ctx::kEditor, v.Caption));
  label13_->setText(ui::Tr(ui::ctx::kEditor, c.Label13));
  pagePanel_->setTabText(0, ui::Tr(ui::ctx::kEditor, c.StdTab));
  pagePanel_->setTabText(1, ui::Tr(ui::ctx::kEditor, c.ExtTab));
  viewOK_->setText(ui::Tr(ui::ctx::kEditor, c.ViewOK));
  const std::string* texts[10] = {&c.Label3, &c.Label4,  &c.Label5,  &c.Label6,  &c.Label7,
                                  &c.Label9, &c.Label10, &c.Label11, &c.Label12, &c.Label8};
  for (std::size_t i = 0; i < 10; ++i) labels_[i]->setText(ui::Tr(ui::ctx::kEditor, *texts[i]));
  resize(v.Width, v.Height);
  move(v.Left, v.Top);
  const int groupWidth = std::max(v.GroupPnlWidth, 50);
  splitter_->setSizes({groupWidth, std::max(v.Width - groupWidth, 100)});
}

void CardEditorWindow::RefreshFromLogic() {
  if (!started_) return;
  TView& v = View();
  updating_ = true;
  setWindowTitle(ui::Tr(ui::ctx::kEditor, v.Caption));

  for (std::size_t i = 0; i < kEdits; ++i) {
    const std::string& m = v.*members_[i];
    if (m == shown_[i]) continue;
    const QString t = codec::ToQt(m);
    edits_[i]->setText(t);
    edits_[i]->setCursorPosition(0);
    lastGood_[i] = t;
    shown_[i] = m;
  }
  if (v.Rem != remShown_) {
    const QString t = codec::MemoToQt(v.Rem);
    rem_->setPlainText(t);
    remLastGood_ = t;
    remLastGoodCursor_ = 0;
    remShown_ = v.Rem;
  }
  if (v.Adr != adrShown_) {
    adr_->setText(codec::ToQt(v.Adr));
    adrShown_ = v.Adr;
  }

  if (v.EntryGroupRevision != entryRevision_) {
    entryModel_->Reset();
    entryRevision_ = v.EntryGroupRevision;
  } else {
    entryModel_->ImagesChanged();
  }
  const int row = v.EntryGroupIndex;
  const QModelIndex cur = entryGroup_->currentIndex();
  if (row >= 0 && row < entryModel_->rowCount()) {
    if (!cur.isValid() || cur.row() != row)
      entryGroup_->selectionModel()->setCurrentIndex(entryModel_->index(row, 0),
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else if (cur.isValid()) {
    entryGroup_->selectionModel()->clear();
  }

  if (isEnabled() != v.Enabled) setEnabled(v.Enabled);
  if (v.Visible && !isVisible()) {
    show();
  } else if (!v.Visible && isVisible()) {
    hide();
  }
  // A read-only card: every field read-only, one line saying why.
  for (QLineEdit* e : edits_) e->setReadOnly(v.ReadOnly);
  rem_->setReadOnly(v.ReadOnly);
  readOnly_->setText(ui::Tr(ui::ctx::kEditor, v.ReadOnlyReason));
  readOnly_->setVisible(v.ReadOnly);
  sections_->RefreshFromLogic();
  updating_ = false;

  const ViewFocus focus = v.FocusRequest;
  v.FocusRequest = ViewFocus::None;
  if (focus == ViewFocus::StdTab) stdTab_->setFocus(Qt::OtherFocusReason);
  if (focus == ViewFocus::MainGrid) emit gridFocusRequested();
}

void CardEditorWindow::PushFields() {
  TView& v = View();
  for (std::size_t i = 0; i < kEdits; ++i) {
    std::string& m = v.*members_[i];
    if (auto bytes = codec::FromQtKeeping(edits_[i]->text(), m)) m = std::move(*bytes);
    shown_[i] = m;
  }
  if (auto bytes = codec::MemoFromQtKeeping(rem_->toPlainText(), v.Rem)) v.Rem = std::move(*bytes);
  remShown_ = v.Rem;
  sections_->PushFields();
}

bool CardEditorWindow::FieldsDirty() const {
  for (std::size_t i = 0; i < kEdits; ++i)
    if (edits_[i]->text() != codec::ToQt(shown_[i])) return true;
  return rem_->toPlainText() != codec::MemoToQt(remShown_) || sections_->PanelDirty();
}

bool CardEditorWindow::TakeOverPending() {
  if (!started_ || !main_.View) return false;
  if (!FieldsDirty() && !lostFocusPending_) return false;
  PushFields();
  View().FormLostFocus();
  lostFocusPending_ = false;
  AfterHandler();
  return true;
}

void CardEditorWindow::AfterHandler() {
  if (isSignalConnected(QMetaMethod::fromSignal(&CardEditorWindow::logicChanged)))
    emit logicChanged();
  else
    RefreshFromLogic();
}

void CardEditorWindow::OnFocusChanged(QWidget* old, QWidget* now) {
  if (!started_ || updating_ || !main_.View) return;
  // Leaving the standard page takes it over. Losing the focus to nothing is
  // the window's deactivation, handled in changeEvent.
  if (Within(old, stdTab_) && now && !Within(now, stdTab_)) {
    PushFields();
    View().StdTabExit();
    if (View().CardChanged) lostFocusPending_ = true;
    AfterHandler();
  }
}

void CardEditorWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && started_ && main_.View && main_.View->Visible &&
      isMinimized() && parentWidget() && !parentWidget()->isMinimized()) {
    // Some window managers ignore that this window has no minimise box; a
    // minimised tool window has no taskbar entry to come back from.
    QTimer::singleShot(0, this, [this] { showNormal(); });
    return;
  }
  if (event->type() != QEvent::ActivationChange || !started_ || !main_.View) return;
  // A tool window shares the activation of its parent (isActiveWindow() is
  // true while the main window is active), so ask which window really is.
  const bool nowActive = QApplication::activeWindow() == this;
  if (nowActive == active_) return;
  active_ = nowActive;
  if (nowActive) {
    View().FormActivate();
  } else {
    PushFields();
    View().FormLostFocus();
  }
  lostFocusPending_ = false;
  AfterHandler();
}

void CardEditorWindow::closeEvent(QCloseEvent* event) {
  // Only the main window closes the editor (FormClose hides it).
  if (main_.View && main_.View->Visible) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void CardEditorWindow::StoreGeometry() {
  if (!started_ || !isVisible() || isMinimized() || isMaximized()) return;
  TView& v = View();
  v.Left = x();
  v.Top = y();
  v.Width = width();
  v.Height = height();
  v.GroupPnlWidth = splitter_->sizes().value(0, v.GroupPnlWidth);
}

void CardEditorWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  StoreGeometry();
}

void CardEditorWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  StoreGeometry();
  if (started_ && isVisible()) View().PagePanelResize();
}

void CardEditorWindow::FocusAddr() {
  show();
  raise();
  activateWindow();
  edits_[0]->setFocus(Qt::OtherFocusReason);
}

void CardEditorWindow::CheckEdit(int i, const QString& text) {
  QString bad;
  QString& good = lastGood_[static_cast<std::size_t>(i)];
  if (codec::FromQt(text, &bad)) {
    good = text;
    return;
  }
  QLineEdit* e = edits_[static_cast<std::size_t>(i)];
  const int pos = static_cast<int>(e->cursorPosition() - (text.size() - good.size()));
  e->setText(good);
  e->setCursorPosition(std::clamp(pos, 0, static_cast<int>(good.size())));
  QTimer::singleShot(0, this, [this, bad] { app::ShowRefusal(this, bad); });
}

void CardEditorWindow::CheckMemo() {
  if (updating_) return;
  const QString text = rem_->toPlainText();
  QString bad;
  if (codec::FromQt(text, &bad)) {
    remLastGood_ = text;
    return;
  }
  updating_ = true;
  rem_->setPlainText(remLastGood_);
  QTextCursor c = rem_->textCursor();
  c.setPosition(std::clamp(remLastGoodCursor_, 0, static_cast<int>(remLastGood_.size())));
  rem_->setTextCursor(c);
  updating_ = false;
  QTimer::singleShot(0, this, [this, bad] { app::ShowRefusal(this, bad); });
}

bool CardEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !started_) return QWidget::eventFilter(watched, event);
  const auto* ke = static_cast<QKeyEvent*>(event);
  if (watched == entryGroup_) {
    // Every typed key is swallowed; Enter changes the membership. Keys that
    // type nothing (arrows, Home, ...) still move through the list.
    const bool typed = IsEnter(ke) || (!ke->text().isEmpty() && ke->text().at(0).isPrint() &&
                                       !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (!typed) return QWidget::eventFilter(watched, event);
    const QModelIndex cur = entryGroup_->currentIndex();
    View().EntryGroupIndex = cur.isValid() ? cur.row() : -1;
    const QString t = ke->text();
    const char ch = IsEnter(ke) ? '\r' : (t.at(0).unicode() < 0x80 ? static_cast<char>(t.at(0).unicode()) : '\0');
    View().EntryGroupKeyPress(ch);
    AfterHandler();
    return true;
  }
  for (QLineEdit* e : edits_) {
    if (watched != e) continue;
    if (IsEnter(ke) && View().DataEntKey('\r')) {
      AfterHandler();
      return true;
    }
    break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace editor
